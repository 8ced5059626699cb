// The trust distribution table (2019) and the manual calculation table (2101) driven through a
// real interview frame: typing into the grid, the net cell, the cell-leaving rules, the checks
// when the screen is left and the rows stored in their tags.

#include <QApplication>
#include <QTest>

#include "cgt/rules/manual_table.h"
#include "cgt/rules/trust_table.h"
#include "cgt/screens/tables/table_screens.h"
#include "controls/xgrid.h"
#include "store/tags.h"
#include "support/screen_fixture.h"

namespace cgt::test {
namespace {

class TableScreenTest : public ScreenTest {
protected:
    TXGrid* grid() const { return dynamic_cast<TTableScreen*>(screen())->Grid(); }
    // Types into the cell as a user does: the cursor to it, the text, Tab.
    void typeIn(int col, int row, const char* text) {
        if (!grid()->isAncestorOf(QApplication::focusWidget())) {
            grid()->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
        }
        if (grid()->Col() != col || grid()->Row() != row) {
            ASSERT_TRUE(grid()->MoveTo(col, row));
        }
        QTest::keyClicks(grid()->inplaceEditor(), text);
        QTest::keyClick(grid()->inplaceEditor(), Qt::Key_Tab);
        QApplication::processEvents();
    }
    // Chooses a picklist entry as a user does: the list opened, its entry found by typing, Enter.
    void pick(int col, int row, const char* search) {
        if (grid()->Col() != col || grid()->Row() != row) {
            ASSERT_TRUE(grid()->MoveTo(col, row));
        }
        QTest::keyClick(grid()->inplaceEditor(), Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(grid()->picklist()->isVisible());
        QTest::keyClicks(grid()->picklist(), search);
        QTest::keyClick(grid()->picklist(), Qt::Key_Return);
        QApplication::processEvents();
    }
    std::string stored(int tag, std::size_t index) const {
        const StringListRef list = GetFieldLst(tag);
        return list && index < list->size() ? (*list)[index] : std::string("<none>");
    }
};

TEST_F(TableScreenTest, TrustRowsShowTheirNetGainAndAreStored) {
    start(2019);
    ASSERT_EQ(shown(), 2019);
    typeIn(kTrustNameCell, 1, "Alpha fund");
    typeIn(1, 1, "120");
    typeIn(2, 1, "300");
    EXPECT_EQ(grid()->Cells(kTrustNetCell, 1), "420");
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2020);
    EXPECT_EQ(stored(tag::kTrustDistributionTable, 0), "Alpha fund");
    EXPECT_EQ(stored(tag::kTrustDistributionTable, 2), "300");
    EXPECT_EQ(stored(tag::kTrustDistributionTable, kTrustNetCell), "420");
}

TEST_F(TableScreenTest, AnUnnamedTrustRowKeepsTheUserOnTheScreen) {
    start(2019);
    typeIn(3, 2, "55");
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2019);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().text,
              "Each row of data must have an asset description present.");
    EXPECT_EQ(grid()->Col(), kTrustNameCell);
    EXPECT_EQ(grid()->Row(), 2);
}

TEST_F(TableScreenTest, ManualRowsFollowTheirRulesAsTheUserTypes) {
    start(2101);
    ASSERT_EQ(shown(), 2101);
    typeIn(mcDescription, 1, "Shares in X");
    pick(mcType, 1, "SN");
    EXPECT_EQ(grid()->Cells(mcSection, 1), "Shares");
    typeIn(mcIndexed, 1, "500");
    typeIn(mcDiscount, 1, "400"); // leaving column 4: the indexed gain is above the discount
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().text,
              "Discount Amount must be greater than or equal to Indexed Amount.");
    EXPECT_EQ(dialogs.messages.back().kind, mkError);
    EXPECT_EQ(grid()->Cells(mcIndexed, 1), "");
    EXPECT_EQ(grid()->Cells(mcDiscount, 1), "");
    EXPECT_EQ(grid()->Col(), mcIndexed);

    typeIn(mcIndexed, 1, "400");
    typeIn(mcDiscount, 1, "500");
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2102);
    EXPECT_EQ(stored(tag::kManualCalculationTable, mcDescription), "Shares in X");
    EXPECT_EQ(stored(tag::kManualCalculationTable, mcSection), "Shares");
    EXPECT_EQ(stored(tag::kManualCalculationTable, mcDiscount), "500");
}

TEST_F(TableScreenTest, TheManualTableIsCheckedWhenLeftEvenByPrev) {
    start(2098);
    press(frame->NoButton());
    ASSERT_EQ(shown(), 2101);
    typeIn(mcDescription, 1, "Boat");
    pick(mcType, 1, "P");
    typeIn(mcLoss, 1, "20"); // a loss on a personal use asset: emptied on leaving the cell
    EXPECT_EQ(dialogs.messages.back().text, "You cannot have a loss if asset type is \"P\".");
    EXPECT_EQ(grid()->Cells(mcLoss, 1), "");
    dialogs.messages.clear();
    grid()->setCells(mcType, 1, ""); // no type left
    press(frame->PrevButton());
    EXPECT_EQ(shown(), 2101);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "You must select the asset type for each CGT Asset/Event.");
    EXPECT_EQ(grid()->Col(), mcType);
}

} // namespace
} // namespace cgt::test
