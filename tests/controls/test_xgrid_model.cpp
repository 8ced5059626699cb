// The worksheet grid's item model over a cell table, without a widget: which cells it shows,
// how, and what it tells its views when the table changes.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "controls/core/cell_table.h"
#include "controls/xgrid_model.h"

namespace {

// A table of two columns and two data rows, and its model brought in line with it.
class XGridModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.SetColCount(2);
        table.SetRowCount(3);
        table.SetCell(0, 0, "Cost\r\nelement\rcode");
        table.SetCell(1, 0, "Amount");
        table.SetCell(0, 1, "Caf\xE9");
        table.SetCell(1, 1, "100.00");
        table.SetCell(1, 2, "-5.00");
        model.sync();
    }

    cgt::CellTable table;
    TXGridModel model{table, nullptr};
    // Fails the run at once when the model breaks Qt's rules for its views.
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(XGridModelTest, DataRowsAreTheModelsRowsAndTheTitlesItsHeader) {
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QString::fromUtf8("Café"));
    EXPECT_EQ(model.data(model.index(1, 1), Qt::EditRole).toString(), "-5.00");
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Cost\nelement\ncode");
    EXPECT_FALSE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).isValid());
}

TEST_F(XGridModelTest, TheShownTextRuleChangesOnlyTheDisplay) {
    model.shown = [](int col, const QString& cell) {
        return col == 1 ? cell + QStringLiteral(" $") : cell;
    };
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "100.00 $");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::EditRole).toString(), "100.00");
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QString::fromUtf8("Café"));
}

TEST_F(XGridModelTest, SyncInsertsAndRemovesRowsAndColumnsAsTheTableChanged) {
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::columnsRemoved);

    table.AppendRow();
    table.AppendRow();
    EXPECT_EQ(model.rowCount(), 2); // the views learn of the rows at the next sync
    model.sync();
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 2);
    EXPECT_EQ(inserted[0][2].toInt(), 3);
    EXPECT_EQ(model.rowCount(), 4);

    table.SetColCount(1);
    model.sync();
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 1);
    EXPECT_EQ(removed[0][2].toInt(), 1);
    EXPECT_EQ(model.columnCount(), 1);
}

TEST_F(XGridModelTest, AChangedCellRepaintsItsCellOrItsTitle) {
    QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy titles(&model, &QAbstractItemModel::headerDataChanged);

    model.cellChanged(1, 2);
    ASSERT_EQ(cells.count(), 1);
    EXPECT_EQ(cells[0][0].toModelIndex(), model.index(1, 1));
    EXPECT_EQ(cells[0][1].toModelIndex(), model.index(1, 1));

    model.cellChanged(0, 0);
    ASSERT_EQ(titles.count(), 1);
    EXPECT_EQ(titles[0][1].toInt(), 0);
    EXPECT_EQ(titles[0][2].toInt(), 0);

    model.cellChanged(1, 3); // beyond the rows the views know
    model.cellChanged(2, 1); // beyond the columns
    EXPECT_EQ(cells.count(), 1);
}

// A screen reader names a cell by its column's title and its row's description: the row's first
// text cell with a text other than the cell itself, not in a hidden column; it reads the cell's
// shown text as its description.
TEST(XGridModelNames, ACellIsNamedByItsColumnAndItsRowsDescription) {
    cgt::CellTable table;
    table.SetDisplay({"Code|0|0|4", "Cost\relement|0|0|45", "Description|0|0|40",
                      "Amount|1|1|12|0|F|F|2|T|0|0"});
    table.SetRowCount(4);
    table.SetCell(0, 1, "X1");
    table.SetCell(1, 1, "1 Purchase price");
    table.SetCell(2, 1, "Shares in BHP");
    table.SetCell(3, 1, "100.00");
    table.SetCell(2, 2, "Brokerage");
    TXGridModel model{table, nullptr};
    model.hidden = [](int col) { return col == 0; };
    model.shown = [](int col, const QString& cell) {
        return col == 3 && !cell.isEmpty() ? QStringLiteral("$") + cell : cell;
    };
    model.sync();

    const struct {
        int col;
        int row; // of the table: data rows from 1
        const char* name;
        const char* description;
    } cases[] = {
        {3, 1, "Amount, 1 Purchase price", "$100.00"},
        {1, 1, "Cost element, Shares in BHP", "1 Purchase price"},
        {3, 2, "Amount, Brokerage", ""},
        {2, 2, "Description, row 2", "Brokerage"},
        {3, 3, "Amount, row 3", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(model.CellName(c.col, c.row), QString::fromLatin1(c.name));
        const QModelIndex index = model.index(c.row - 1, c.col);
        EXPECT_EQ(model.data(index, Qt::AccessibleTextRole).toString(), c.name);
        EXPECT_EQ(model.data(index, Qt::AccessibleDescriptionRole).toString(), c.description);
    }
}

} // namespace
