// The worksheet grid driven as a user drives it: keys into the cell editor, focus moving in and
// out, the picklist, the ellipsis button, row keys with their questions, the totals row.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "base/amounts.h"
#include "controls/core/column_hints.h"
#include "controls/xgrid.h"
#include "support/scripted_dialogs.h"
#include "ui_xgrid_form.h"

namespace {

using cgt::test::ScriptedDialogs;

const QStringList kCostElements = {
    "1 - Purchase/Acquisition cost", "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event", "5 - Capital expenditure - maintain ownership"};

// Columns: 0 picklist (enforced), 1 date, 2 amount, 3 percentage 0..100, 4 cents, 5 comment
// with an ellipsis button and hint 7.
const QStringList kDisplay = {
    "Cost Element|0|0|40|0|F|T|0||0|0|3|1|2|1 - Purchase|2A - Incidentals",
    "Date incurred|0|2|10",
    "Amount|1|1|8|0|F|F|0|F",
    "Percent|1|1|3|0|F|F|0|F|0|100",
    "Cents|1|1|9|0|F|F|2|T",
    "Comment|0|0|5|7|F|T|0||0|0|0|2",
};

// The dark (text) pixels of `image` in `area`.
int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) ++dark;
    return dark;
}

// A grid "XGrid1" of `display` (one column a line) and three rows in a window of its own.
TXGrid* GridInWindow(std::unique_ptr<QWidget>& window, QSize size, QRect geometry,
                     const QStringList& display) {
    window = std::make_unique<QWidget>();
    window->resize(size);
    auto* grid = new TXGrid(window.get());
    grid->setObjectName("XGrid1");
    grid->setGeometry(geometry);
    grid->setColCount(static_cast<int>(display.size()));
    grid->setRowCount(3);
    grid->setDisplay(display);
    return grid;
}

class XGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid = GridInWindow(window, {900, 420}, {10, 10, 700, 200}, kDisplay);
        other = new QLineEdit(window.get());
        other->setGeometry(10, 360, 100, 22);
        window->show();
        window->activateWindow();
        QApplication::processEvents();
    }

    // Focus arrives from another control, as by Tab.
    void enterGrid() {
        other->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        grid->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QApplication::processEvents();
    }
    TXGridInplaceEdit* editor() const { return grid->inplaceEditor(); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(editor(), k, modifiers);
        QApplication::processEvents();
    }
    void type(const char* text) { QTest::keyClicks(editor(), text); }
    std::pair<int, int> cell() const { return {grid->Col(), grid->Row()}; }

    ScriptedDialogs dialogs;
    std::unique_ptr<QWidget> window;
    TXGrid* grid = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(XGridTest, EnteringGoesToTheFirstTabStopOfTheFirstRow) {
    grid->LockColumn(0);
    std::vector<std::pair<int, int>> entered;
    QObject::connect(grid, &TXGrid::OnEnterCell,
                     [&](int col, int row) { entered.emplace_back(col, row); });
    enterGrid();
    EXPECT_EQ(cell(), std::make_pair(1, 1));
    EXPECT_EQ(QApplication::focusWidget(), editor());
    ASSERT_FALSE(entered.empty());
    EXPECT_EQ(entered.back(), std::make_pair(1, 1));

    ASSERT_TRUE(grid->MoveTo(3, 2));
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    enterGrid();
    EXPECT_EQ(cell(), std::make_pair(1, 1));
}

TEST_F(XGridTest, TypingChecksAndFormatsWhenLeavingACell) {
    enterGrid();
    ASSERT_TRUE(grid->MoveTo(1, 1));
    type("010203");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->Cells(1, 1), "01/02/2003");
    EXPECT_EQ(cell(), std::make_pair(2, 1));
    EXPECT_TRUE(grid->Modified());

    type("12a5");
    EXPECT_EQ(dialogs.beeps, 1); // the letter
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->Cells(2, 1), "125");

    ASSERT_TRUE(grid->MoveTo(4, 1));
    type("0");
    key(Qt::Key_Down);
    EXPECT_EQ(grid->Cells(4, 1), "0.00");
    EXPECT_EQ(grid->ColumnTotal(4), cgt::ExplicitZero);
    EXPECT_TRUE(dialogs.texts().empty());
}

TEST_F(XGridTest, AFailedCheckKeepsTheUserInTheCell) {
    struct Case {
        int col;
        const char* typed;
        const char* message;
    };
    const std::vector<Case> cases = {
        // The same messages as the entry field's.
        {1, "310204", "The date 31/02/2004 does not exist."},
        {1, "1/2", "Enter date in dd/mm/yyyy format"},
        {3, "150", "Value must be between 0 and 100"},
        {0, "zzz", "Entry must match one of the picklist entries"},
    };
    enterGrid();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.messages.clear();
        dialogs.beeps = 0;
        ASSERT_TRUE(grid->MoveTo(c.col, 2));
        type(c.typed);
        key(Qt::Key_Tab);
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(dialogs.messages.at(0).kind, cgt::mkError);
        EXPECT_EQ(dialogs.messages.at(0).buttons, cgt::mbOK);
        EXPECT_EQ(dialogs.beeps, 1);
        EXPECT_EQ(cell(), std::make_pair(c.col, 2));
        EXPECT_EQ(QApplication::focusWidget(), editor());
        editor()->clear();
    }
}

TEST_F(XGridTest, LeavingTheGridEmptiesAFailedCellAndLetsTheFocusGo) {
    enterGrid();
    ASSERT_TRUE(grid->MoveTo(3, 1));
    type("150");
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Value must be between 0 and 100"});
    EXPECT_EQ(grid->Cells(3, 1), "");
    EXPECT_EQ(QApplication::focusWidget(), other);
}

TEST_F(XGridTest, ExitHandlerCanRefuseTheMove) {
    QObject::connect(grid, &TXGrid::OnExitCell,
                     [](int col, int, int*, int*, bool* enter) { *enter = col != 2; });
    enterGrid();
    ASSERT_TRUE(grid->MoveTo(2, 1));
    type("5");
    key(Qt::Key_Tab);
    EXPECT_EQ(cell(), std::make_pair(2, 1));
    EXPECT_EQ(grid->Cells(2, 1), "5"); // checked and formatted all the same
}

TEST_F(XGridTest, TabAndDownOnTheLastRowAddRows) {
    enterGrid();
    ASSERT_TRUE(grid->MoveTo(5, 2));
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(cell(), std::make_pair(0, 3));
    key(Qt::Key_Down);
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(cell(), std::make_pair(0, 4));
    key(Qt::Key_Up);
    EXPECT_EQ(cell(), std::make_pair(0, 3));

    grid->setRowAutoInc(false);
    ASSERT_TRUE(grid->MoveTo(5, 4));
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(cell(), std::make_pair(0, 1)); // wraps to the top
    ASSERT_TRUE(grid->MoveTo(2, 4));
    key(Qt::Key_Down);
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(cell(), std::make_pair(2, 4));
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(cell(), std::make_pair(1, 4));
}

TEST_F(XGridTest, TypingPastTheWidthBeepsUnlessTextIsSelected) {
    enterGrid();
    ASSERT_TRUE(grid->MoveTo(5, 1));
    type("abcdefg");
    EXPECT_EQ(grid->Cells(5, 1), "abcde");
    EXPECT_EQ(dialogs.beeps, 2);
    editor()->selectAll();
    type("x");
    EXPECT_EQ(grid->Cells(5, 1), "x");
    EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(XGridTest, RowKeysAndTheDeletionQuestion) {
    enterGrid();
    grid->setCells(2, 1, "10");
    grid->setCells(2, 2, "20");
    ASSERT_TRUE(grid->MoveTo(2, 2));

    key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Cells(2, 2), "");
    EXPECT_EQ(grid->Cells(2, 3), "20");

    grid->setModified(false);
    dialogs.queueAnswer(cgt::mrCancel);
    key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(dialogs.texts(),
              std::vector<std::string>{"Are you sure you want to delete this row?"});
    EXPECT_EQ(dialogs.messages[0].kind, 3);
    EXPECT_EQ(dialogs.messages[0].buttons, cgt::mbOK | cgt::mbCancel);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_FALSE(grid->Modified());

    dialogs.queueAnswer(cgt::mrOK);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Cells(2, 2), "20");
    EXPECT_TRUE(grid->Modified());

    // The last data row goes, an empty one stays.
    grid->setRowCount(2);
    dialogs.queueAnswer(cgt::mrOK);
    ASSERT_TRUE(grid->MoveTo(2, 1));
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(2, 1), "");

    dialogs.messages.clear();
    grid->setDoNotDelete(true);
    grid->setCells(2, 1, "7");
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Row deletion not allowed on this grid"});
    EXPECT_EQ(dialogs.messages[0].kind, cgt::mkError);
    EXPECT_EQ(grid->Cells(2, 1), "7");
}

// A key a cell refuses shows, at the cell, what its column accepts, every time; a key taken
// or leaving the cell takes the hint away.
TEST_F(XGridTest, ARefusedKeyShowsWhatTheColumnAccepts) {
    const struct Case {
        int col;
        const char* typed;
        const char* kept;
        const char* hint;
    } cases[] = {
        {2, "12a", "12", "digits only"},
        {2, "12-", "12", "digits only"},
        {2, "12.", "12", "whole numbers — no decimals"},
        {2, "123456789", "12345678", "at most 8 digits"},
        {4, "5c", "5", "dollars and cents — digits, a minus sign and a decimal point only"},
        {4, "-1-", "-1", "one minus sign only"},
        {4, "1.2.", "1.2", "one decimal point only"},
        {4, "1234567", "123456", "at most 6 digits before the point — type . for the cents"},
        {1, "01-", "01", "a date as dd/mm/yyyy — digits and / only"},
    };
    enterGrid();
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(grid->MoveTo(c.col, row));
        dialogs.beeps = 0;
        type(c.typed);
        EXPECT_EQ(editor()->text(), c.kept);
        EXPECT_EQ(dialogs.beeps, 1);
        EXPECT_EQ(editor()->HintText(), QString::fromUtf8(c.hint));
        auto* hint = window->findChild<QLabel*>(QStringLiteral("entryHint"));
        ASSERT_NE(hint, nullptr);
        EXPECT_TRUE(hint->isVisible());
        EXPECT_LT(std::abs(hint->mapTo(window.get(), QPoint(0, 0)).y() -
                           editor()->mapTo(window.get(), QPoint(0, editor()->height())).y()),
                  4);
        key(Qt::Key_Down);
        EXPECT_TRUE(editor()->HintText().isEmpty());
        row = row % 2 + 1;
    }

    // The same refused key again shows the hint again; a key taken takes it away.
    editor()->clear(); // the date left unfinished
    ASSERT_TRUE(grid->MoveTo(2, 1));
    editor()->selectAll();
    for (int i = 0; i < 2; ++i) {
        type("x");
        EXPECT_EQ(editor()->HintText(), "digits only") << i;
        type("7");
        EXPECT_TRUE(editor()->HintText().isEmpty()) << i;
    }
    // A read-only cell tells why nothing can be typed.
    grid->SetColumnReadOnly(2, true);
    dialogs.beeps = 0;
    type("5");
    EXPECT_EQ(editor()->HintText(), QString::fromUtf8("worked out for you — cannot be typed in"));
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(XGridTest, PicklistDropDownWithTypeAheadSearch) {
    qint64 now = 100000;
    grid->picklist()->setClock([&] { return now; });
    int dropdowns = 0;
    QObject::connect(grid, &TXGrid::OnPicklistDropdown, [&](int col, int row, QStringList* list) {
        ++dropdowns;
        EXPECT_EQ(col, 0);
        EXPECT_EQ(row, 1);
        *list = kCostElements;
    });
    enterGrid();
    ASSERT_EQ(cell(), std::make_pair(0, 1));
    TPopupListbox* list = grid->picklist();
    EXPECT_FALSE(list->isVisible());

    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->count(), 4);
    EXPECT_GT(dropdowns, 0);
    EXPECT_GE(list->geometry().top(), editor()->mapToGlobal(QPoint(0, 0)).y());

    type("2");
    EXPECT_EQ(list->currentItem()->text(), kCostElements[1]);
    now += 1500;
    type("b");
    EXPECT_EQ(list->searchText(), "2b");
    EXPECT_EQ(list->currentItem()->text(), kCostElements[2]);
    now += 2001; // a pause starts a new search
    type("5");
    EXPECT_EQ(list->searchText(), "5");
    EXPECT_EQ(list->currentItem()->text(), kCostElements[3]);
    key(Qt::Key_Backspace);
    EXPECT_EQ(list->searchText(), "");
    type("1");
    EXPECT_EQ(list->currentItem()->text(), kCostElements[0]);
    EXPECT_EQ(grid->Cells(0, 1), ""); // nothing typed into the cell

    grid->setModified(false);
    key(Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(grid->Cells(0, 1), kCostElements[0]);
    EXPECT_EQ(cell(), std::make_pair(0, 1)); // Enter accepts and stays in the cell
    EXPECT_TRUE(grid->Modified());
    EXPECT_TRUE(dialogs.texts().empty());

    // Escape closes without change; the entry is preselected from the cell.
    ASSERT_TRUE(grid->MoveTo(0, 1));
    key(Qt::Key_Up, Qt::AltModifier);
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->currentItem()->text(), kCostElements[0]);
    key(Qt::Key_Down);
    key(Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(grid->Cells(0, 1), kCostElements[0]);

    // The button opens the list; a click outside closes it.
    QTest::mouseClick(editor()->cellButton(), Qt::LeftButton);
    ASSERT_TRUE(list->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(grid->Cells(0, 1), kCostElements[2]);
    ASSERT_TRUE(grid->MoveTo(0, 1));
    QTest::mouseClick(editor()->cellButton(), Qt::LeftButton);
    ASSERT_TRUE(list->isVisible());
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(list->isVisible());
}

TEST_F(XGridTest, ABadColumnDescriptionIsShownInAnErrorBox) {
    dialogs.messages.clear();
    grid->setDisplay({"Good|0|0|5", "Bad|0|0|5|0|F|F|0|ab"});
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Bad character set !"});
    EXPECT_EQ(dialogs.messages.at(0).kind, cgt::mkError);
}

TEST_F(XGridTest, PicklistItemIsCutToTheWidthAndTabFromTheLastColumnMovesToTheNextRow) {
    grid->setDisplay({"P|0|0|3|0|F|T|0||0|0|3|1|2|abcdef|xyz"});
    grid->setColCount(1);
    grid->setRowCount(2);
    enterGrid();
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(grid->picklist()->isVisible());
    key(Qt::Key_Return);
    EXPECT_EQ(grid->Cells(0, 1), "abc");
    EXPECT_EQ(cell(), std::make_pair(0, 1));
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(cell(), std::make_pair(0, 2));
}

// Enter accepts the pick and leaves the cursor in the cell, so that the next Tab goes to the
// next column and what is typed lands there, however the list was opened and searched.
TEST_F(XGridTest, EnterInThePicklistStaysInTheCell) {
    QObject::connect(grid, &TXGrid::OnPicklistDropdown,
                     [&](int, int, QStringList* list) { *list = kCostElements; });
    enterGrid();
    ASSERT_EQ(cell(), std::make_pair(0, 1));
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(grid->picklist()->isVisible());
    type("1");
    key(Qt::Key_Return);
    EXPECT_FALSE(grid->picklist()->isVisible());
    EXPECT_EQ(cell(), std::make_pair(0, 1));
    EXPECT_EQ(QApplication::focusWidget(), editor());
    EXPECT_EQ(editor()->text(), kCostElements[0]);
    key(Qt::Key_Tab);
    EXPECT_EQ(cell(), std::make_pair(1, 1));
    type("01072000");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->Cells(1, 1), "01/07/2000");
    EXPECT_EQ(grid->Cells(2, 1), "");
    EXPECT_EQ(cell(), std::make_pair(2, 1));
    EXPECT_TRUE(dialogs.texts().empty());
}

TEST_F(XGridTest, EllipsisButtonAndCtrlEnter) {
    std::vector<std::pair<int, int>> clicks;
    QObject::connect(grid, &TXGrid::OnElippsisclicked,
                     [&](int col, int row) { clicks.emplace_back(col, row); });
    enterGrid();
    EXPECT_EQ(editor()->buttonKind(), cgt::bkPicklist);
    ASSERT_TRUE(grid->MoveTo(2, 1));
    EXPECT_FALSE(editor()->cellButton()->isVisible());
    key(Qt::Key_Return, Qt::ControlModifier); // no ellipsis in an amount column
    EXPECT_TRUE(clicks.empty());
    ASSERT_TRUE(grid->MoveTo(5, 2));
    EXPECT_TRUE(editor()->cellButton()->isVisible());
    key(Qt::Key_Return, Qt::ControlModifier);
    QTest::mouseClick(editor()->cellButton(), Qt::LeftButton);
    EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{5, 2}, {5, 2}}));
    // The second press of a double click does nothing.
    QToolButton* button = editor()->cellButton();
    const QPoint centre = button->rect().center();
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, centre, button->mapToGlobal(centre), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(button, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicks.size(), 3u);
}

TEST_F(XGridTest, EnteringACellStripsIdentifierSpaces) {
    grid->setColCount(1);
    grid->setDisplay({"ABN|0|3|11"});
    const cgt::StringList rows = {"53 004 085 616", "51 824 753 556"};
    grid->LoadRows(&rows);
    enterGrid();
    EXPECT_EQ(editor()->text(), "53004085616");
    key(Qt::Key_Down);
    EXPECT_EQ(grid->Cells(0, 1), "53 004 085 616");
    EXPECT_EQ(editor()->text(), "51824753556");
}

TEST_F(XGridTest, ReadOnlyAndLockedColumns) {
    grid->SetColumnReadOnly(2, true);
    grid->LockColumn(3);
    enterGrid();
    ASSERT_TRUE(grid->MoveTo(2, 1));
    type("12");
    EXPECT_EQ(grid->Cells(2, 1), "");
    key(Qt::Key_Tab);
    EXPECT_EQ(cell(), std::make_pair(4, 1)); // the locked column is no tab stop
    grid->UnlockColumn(3);
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(cell(), std::make_pair(3, 1));
}

TEST_F(XGridTest, TotalsRowStandsUnderTheGridAndShowsTheTotals) {
    auto* totals = new TXGridTotals(window.get());
    totals->setXGrid("XGrid1");
    totals->show();
    QApplication::processEvents();
    ASSERT_EQ(totals->grid(), grid);
    EXPECT_EQ(totals->geometry(), QRect(10, 10 + 200 - 1, 700 - 2, 20 + 2));

    enterGrid();
    ASSERT_TRUE(grid->MoveTo(4, 1));
    type("100");
    key(Qt::Key_Down);
    type("250.5");
    key(Qt::Key_Down);
    EXPECT_EQ(totals->displayedText(4), "350.50");
    EXPECT_EQ(totals->displayedText(1), ""); // dates have no total
    EXPECT_EQ(totals->displayedText(2), "0");

    // The total is drawn right-aligned inside its column.
    const QImage image = totals->grab().toImage();
    const QRect r = totals->textRect(4);
    ASSERT_TRUE(r.isValid());
    int dark = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) ++dark;
    EXPECT_GT(dark, 10);

    grid->move(30, 40);
    grid->setDefaultRowHeight(24);
    QApplication::processEvents();
    EXPECT_EQ(totals->geometry(), QRect(30, 40 + 200 - 1, 698, 26));
    grid->hide();
    EXPECT_TRUE(totals->isHidden());
    grid->show();
    EXPECT_FALSE(totals->isHidden());
}

// A number cell the user has left shows as every other cell does: in its shown form and
// right-aligned, not as the cell editor left it over the cell when the grid lost the focus.
TEST_F(XGridTest, ALeftNumberCellShowsLikeTheOthers) {
    grid->setShownText([](int col, const QString& cell) {
        return col == 4 && !cell.isEmpty() ? QString::number(qRound(cell.toDouble())) : cell;
    });
    enterGrid();
    ASSERT_TRUE(grid->MoveTo(4, 1));
    type("5518.5");
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_EQ(grid->Cells(4, 1), "5518.50");
    ASSERT_EQ(grid->ShownCell(4, 1), "5519");
    ASSERT_TRUE(editor()->geometry().intersects(grid->visualRect(grid->model()->index(0, 4))));

    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(0, 4)).adjusted(1, 2, -1, -2);
    const QFontMetrics metrics(grid->font());
    const int shownWidth = metrics.horizontalAdvance(QStringLiteral("5519"));
    ASSERT_LT(shownWidth + 6, cell.width());
    // Nothing left of where the right-aligned shown text begins; the text itself at the right.
    const QRect left(cell.left(), cell.top(), cell.width() - shownWidth - 6, cell.height());
    const QRect right(cell.right() - shownWidth - 4, cell.top(), shownWidth + 4, cell.height());
    EXPECT_EQ(DarkPixels(image, left), 0);
    EXPECT_GT(DarkPixels(image, right), 10);
}

TEST_F(XGridTest, ColumnHintsOverTheTitleRow) {
    cgt::SetColumnHint(7, "Any note of up to five characters");
    QHeaderView* header = grid->horizontalHeader();
    auto moveTo = [&](int col) {
        const QPoint pos(header->sectionViewportPosition(col) + 5, 5);
        QMouseEvent move(QEvent::MouseMove, pos, header->viewport()->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &move);
    };
    moveTo(5);
    EXPECT_EQ(grid->currentHint(), 7);
    EXPECT_EQ(header->toolTip(), "Any note of up to five characters");
    moveTo(1);
    EXPECT_EQ(grid->currentHint(), 0);
    EXPECT_EQ(header->toolTip(), "");
    grid->setShowColHints(false);
    moveTo(5);
    EXPECT_EQ(grid->currentHint(), 0);
    cgt::ClearColumnHints();
}

TEST_F(XGridTest, StoreListRoundTripAndSort) {
    const cgt::StringList stored = {"2A - Incidentals", "01/07/2003", "", "", "", "",
                                    "1 - Purchase",     "15/08/1999", "", "", "", ""};
    grid->LoadRows(&stored);
    EXPECT_EQ(grid->Cells(0, 2), "1 - Purchase");
    grid->SortRows("1,0");
    EXPECT_EQ(grid->Cells(1, 1), "15/08/1999");
    cgt::StringListRef saved;
    grid->SaveRows(saved);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->size(), 12u);
    EXPECT_EQ((*saved)[0], "1 - Purchase");
    grid->ClearRows();
    EXPECT_EQ(grid->Cells(0, 1), "");
    EXPECT_EQ(grid->model()->rowCount(), grid->RowCount() - 1);
}

TEST_F(XGridTest, TitleRowAndScaling) {
    grid->setTitleLines(3);
    const int textHeight = grid->fontMetrics().height();
    EXPECT_EQ(grid->titleRowHeight(), textHeight * 3 + 4);
    grid->setColWidths(0, 100);
    grid->setColWidths(1, -1);
    EXPECT_TRUE(grid->isColumnHidden(1));
    grid->ScaleBy(3, 2);
    EXPECT_EQ(grid->colWidths(0), 150);
    EXPECT_EQ(grid->colWidths(1), -1);
    EXPECT_EQ(grid->DefaultRowHeight(), 30);
    EXPECT_EQ(grid->geometry(), QRect(10, 15, 1050, 300));
    EXPECT_EQ(grid->titleRowHeight(), (3 * textHeight / 2 + 4) * 3);
}

// A grid wider than its window with two fixed columns: they stay at the left edge however the
// other columns scroll, by the scroll bar or by moving the cell with the keyboard.
class FixedColumnsTest : public ::testing::Test {
protected:
    static constexpr int kCols = 10;
    static constexpr int kWidth = 80;
    const QColor kFixed{255, 0, 255};

    void SetUp() override {
        QStringList display{"Section|0|0|20|0|T", "Name|0|0|20|0|T"};
        for (int c = 2; c < kCols; ++c)
            display << QStringLiteral("Amount %1|1|1|8|0|F|F|0|F").arg(c);
        grid = GridInWindow(window, {600, 300}, {10, 10, 420, 150}, display);
        for (int c = 0; c < kCols; ++c)
            grid->setColWidths(c, kWidth);
        grid->setFixedCols(2);
        grid->setFixedColor(kFixed);
        grid->setCells(0, 1, "Shares");
        totals = new TXGridTotals(window.get());
        totals->setGrid(grid);
        other = new QLineEdit(window.get());
        other->setGeometry(10, 250, 100, 22);
        window->show();
        window->activateWindow();
        other->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        QApplication::processEvents();
    }

    // The colour drawn at x (viewport coordinates) in the middle of the first data row.
    QColor shownAt(int x) const {
        const QImage image = grid->grab().toImage();
        const QRect area = grid->viewport()->geometry();
        return image.pixelColor(area.left() + x, area.top() + grid->rowViewportPosition(0) + 4);
    }
    // Both fixed columns drawn at the left edge, the scrolling columns right of them.
    void expectFixedColumnsAtTheLeft() const {
        EXPECT_EQ(grid->fixedWidth(), 2 * kWidth);
        EXPECT_TRUE(grid->fixedView()->isVisible());
        EXPECT_EQ(grid->fixedView()->geometry().left(), grid->viewport()->geometry().left());
        for (int x : {4, kWidth + 4, 2 * kWidth - 6})
            EXPECT_EQ(shownAt(x), kFixed) << "x " << x;
        EXPECT_NE(shownAt(2 * kWidth + 4), kFixed);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(grid->inplaceEditor(), k, modifiers);
        QApplication::processEvents();
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<QWidget> window;
    TXGrid* grid = nullptr;
    TXGridTotals* totals = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(FixedColumnsTest, TheScrollBarMovesOnlyTheOtherColumns) {
    expectFixedColumnsAtTheLeft();
    grid->setCells(3, 1, "7");
    QScrollBar* bar = grid->horizontalScrollBar();
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    ASSERT_GT(bar->value(), 0);
    // The last column is in view, and the fixed columns still stand at the left edge.
    EXPECT_LE(grid->columnViewportPosition(kCols - 1) + kWidth, grid->viewport()->width());
    expectFixedColumnsAtTheLeft();
    // Column 3 has scrolled under the fixed columns: its total is not drawn over them.
    EXPECT_LT(grid->columnViewportPosition(3) + kWidth, grid->fixedWidth());
    EXPECT_TRUE(totals->textRect(3).isEmpty());
    EXPECT_FALSE(totals->textRect(kCols - 1).isEmpty());
    EXPECT_GE(totals->textRect(kCols - 1).left(),
              grid->viewport()->geometry().left() + grid->fixedWidth());
}

// A column cut by the right edge of the grid shows only the part of its total that is in
// view: the total stays right-aligned in the column, not squeezed into the edge beside the total
// of the column before it.
TEST_F(FixedColumnsTest, AColumnCutByTheEdgeKeepsItsTotalInItsColumn) {
    const QRect viewport = grid->viewport()->geometry();
    int cut = -1;
    for (int col = 2; col < kCols && cut < 0; ++col) {
        const int left = viewport.left() + grid->columnViewportPosition(col);
        if (left < viewport.right() && left + kWidth > viewport.right() + 1) cut = col;
    }
    ASSERT_GT(cut, 2) << "a column must be cut by the edge";
    const int inView = viewport.right() + 1 - (viewport.left() + grid->columnViewportPosition(cut));
    ASSERT_LT(inView, kWidth / 2);
    grid->setCells(cut, 1, "7");
    grid->setCells(cut - 1, 1, "8");
    QApplication::processEvents();
    ASSERT_EQ(totals->displayedText(cut), "7");

    const QImage image = totals->grab().toImage();
    const int cutLeft = viewport.left() + grid->columnViewportPosition(cut);
    // The part of the cut column in view, inside the row's frame and clear of the line before it.
    const QRect sliver(cutLeft + 1, 4, std::min(inView, totals->width() - 5 - cutLeft) - 1,
                       totals->height() - 8);
    ASSERT_GT(sliver.width(), 0);
    EXPECT_EQ(DarkPixels(image, sliver), 0);
    // The column before it shows its total.
    const QRect before(cutLeft - kWidth + 1, 4, kWidth - 2, totals->height() - 8);
    EXPECT_GT(DarkPixels(image, before), 5);
}

TEST_F(FixedColumnsTest, MovingRightAndBackByKeyKeepsTheCellBesideTheFixedColumns) {
    grid->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_EQ(grid->Col(), 2);
    auto editorLeft = [&] { return grid->inplaceEditor()->geometry().left(); };
    for (int col = 3; col < kCols; ++col) {
        key(Qt::Key_Right);
        ASSERT_EQ(grid->Col(), col);
        EXPECT_GE(editorLeft(), grid->fixedWidth()) << "column " << col;
        EXPECT_LE(grid->inplaceEditor()->geometry().right(), grid->viewport()->width());
    }
    EXPECT_GT(grid->horizontalScrollBar()->value(), 0);
    expectFixedColumnsAtTheLeft();
    for (int col = kCols - 2; col >= 2; --col) {
        key(Qt::Key_Left);
        ASSERT_EQ(grid->Col(), col);
        EXPECT_GE(editorLeft(), grid->fixedWidth()) << "column " << col;
    }
    key(Qt::Key_Left); // the fixed columns are never entered
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(editorLeft(), grid->fixedWidth());
    expectFixedColumnsAtTheLeft();

    // Typing still goes into the current cell, and a click on a fixed cell changes nothing.
    QTest::keyClicks(grid->inplaceEditor(), "42");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->Cells(2, 1), "42");
    EXPECT_EQ(grid->Col(), 3);
    QTest::mouseClick(grid->fixedView()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    QApplication::processEvents();
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(QApplication::focusWidget(), grid->inplaceEditor());
}

TEST(XGridForm, PropertiesFromAFormFile) {
    ScriptedDialogs dialogs;
    QWidget form;
    Ui::XGridForm ui;
    ui.setupUi(&form);
    TXGrid* grid = ui.XGrid1;
    EXPECT_EQ(grid->ColCount(), 8);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Cells(1, 0), "Date expense incurred");
    EXPECT_EQ(grid->Cells(7, 0), "Title"); // no line: the default description
    EXPECT_EQ(grid->ColumnType(4), cgt::ctNumber);
    EXPECT_EQ(grid->table().Column(0).picklist.size(), 2u);
    EXPECT_EQ(grid->titleRowHeight(), grid->fontMetrics().height() * 2 + 4);
    EXPECT_TRUE(grid->DoNotDelete());
    EXPECT_FALSE(grid->RowAutoInc());
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(ui.XGridTotals1->grid(), grid);
    EXPECT_EQ(ui.XGridTotals1->geometry(), QRect(8, 8 + 180 - 1, 678, 22));
    EXPECT_TRUE(dialogs.texts().empty());
}

} // namespace
