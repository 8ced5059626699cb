// Every screen of the interview as a screen reader meets it: each control the user can tab to
// has a name and the role of its kind, a field reads back its value, each cell of a grid is
// named by its column's title and its row's description, and each link of a label is named and
// can be pressed.

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "interview/screen_catalog.h"
#include "store/run_state.h"
#include "support/screen_fixture.h"

namespace cgt::test {
namespace {

// The role a screen reader must be told for each kind of control, most particular kind first.
struct KindRole {
    const char* className;
    QAccessible::Role role;
};
constexpr KindRole kRoles[] = {
    {"TTextLbl", QAccessible::StaticText},      {"QLineEdit", QAccessible::EditableText},
    {"QComboBox", QAccessible::ComboBox},       {"QCheckBox", QAccessible::CheckBox},
    {"QRadioButton", QAccessible::RadioButton}, {"QAbstractButton", QAccessible::Button},
    {"QTableView", QAccessible::Table},         {"QTreeView", QAccessible::Tree},
    {"QListView", QAccessible::List},           {"QAbstractScrollArea", QAccessible::Client},
};

std::optional<QAccessible::Role> ExpectedRole(const QWidget* w) {
    for (const KindRole& kind : kRoles)
        if (w->inherits(kind.className)) return kind.role;
    return std::nullopt;
}

std::vector<int> ScreenNumbers() {
    InstallInterviewScreens();
    std::vector<int> numbers;
    for (const ScreenSpec& spec : InstalledScreenTable())
        numbers.push_back(spec.number);
    return numbers;
}

std::string Describe(const QWidget* w) {
    return std::string(w->metaObject()->className()) + " " + w->objectName().toStdString();
}

class ScreenAccessibilityTest : public ScreenTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        // The keyboard and screen-reader aids: the mark-up labels are tab stops too.
        cgt::Run().AccessibilityMode = true;
        start(GetParam());
    }

    // The controls of the frame the user can tab to as it stands.
    std::vector<QWidget*> TabStops() const {
        std::vector<QWidget*> stops;
        for (QWidget* w : frame->findChildren<QWidget*>())
            if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) stops.push_back(w);
        return stops;
    }
};

TEST_P(ScreenAccessibilityTest, EveryTabStopHasANameAndTheRoleOfItsKind) {
    ASSERT_EQ(shown(), GetParam());
    const std::vector<QWidget*> stops = TabStops();
    ASSERT_FALSE(stops.empty());
    for (QWidget* w : stops) {
        SCOPED_TRACE(Describe(w));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty());
        EXPECT_FALSE(accessible->text(QAccessible::Name).contains(QLatin1Char('&')))
            << accessible->text(QAccessible::Name).toStdString();
        const std::optional<QAccessible::Role> role = ExpectedRole(w);
        ASSERT_TRUE(role.has_value()) << "a tab stop of no known kind";
        EXPECT_EQ(accessible->role(), *role);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            EXPECT_EQ(accessible->text(QAccessible::Value), edit->text());
        if (auto* combo = qobject_cast<QComboBox*>(w))
            EXPECT_EQ(accessible->text(QAccessible::Value), combo->currentText());
    }
}

TEST_P(ScreenAccessibilityTest, EveryGridCellIsNamedByItsColumnAndRow) {
    for (TXGrid* grid : screen()->findChildren<TXGrid*>()) {
        if (!grid->isVisible()) continue;
        SCOPED_TRACE(Describe(grid));
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(grid)->tableInterface();
        ASSERT_NE(table, nullptr);
        ASSERT_GT(table->rowCount(), 0);
        for (int row = 0; row < table->rowCount(); ++row)
            for (int col = 0; col < table->columnCount(); ++col) {
                if (grid->isColumnHidden(col)) continue;
                QAccessibleInterface* cell = table->cellAt(row, col);
                ASSERT_NE(cell, nullptr);
                EXPECT_EQ(cell->role(), QAccessible::Cell);
                const QString title = table->columnDescription(col).simplified();
                const QString name = cell->text(QAccessible::Name);
                EXPECT_TRUE(name.startsWith(title + QStringLiteral(", ")))
                    << name.toStdString() << " / " << title.toStdString();
                EXPECT_GT(name.size(), title.size() + 2) << name.toStdString();
                EXPECT_EQ(cell->text(QAccessible::Description), grid->ShownCell(col, row + 1));
            }
        // The cell editor where the user types is named as its cell.
        EXPECT_EQ(
            QAccessible::queryAccessibleInterface(grid->inplaceEditor())->text(QAccessible::Name),
            table->cellAt(grid->Row() - 1, grid->Col())->text(QAccessible::Name));
    }
}

TEST_P(ScreenAccessibilityTest, EveryLinkOfALabelIsNamedAndPressable) {
    for (TTextLbl* label : screen()->findChildren<TTextLbl*>()) {
        if (!label->isVisible()) continue;
        SCOPED_TRACE(Describe(label));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
        for (int i = 0; i < accessible->childCount(); ++i) {
            QAccessibleInterface* link = accessible->child(i);
            ASSERT_NE(link, nullptr);
            EXPECT_EQ(link->role(), QAccessible::Link);
            EXPECT_FALSE(link->text(QAccessible::Name).isEmpty());
            ASSERT_NE(link->actionInterface(), nullptr);
            EXPECT_TRUE(link->actionInterface()->actionNames().contains(
                QAccessibleActionInterface::pressAction()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Interview, ScreenAccessibilityTest, ::testing::ValuesIn(ScreenNumbers()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Screen" + std::to_string(info.param);
                         });

} // namespace
} // namespace cgt::test
