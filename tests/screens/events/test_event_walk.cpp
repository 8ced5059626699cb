// One real estate event walked through its screens as a user does: registered, its cost
// elements, its date and proceeds and its roll-over answer all end up in the event's one row,
// going back keeps that row, and the next event starts a row of its own.

#include "cgt/screens/events/registration_screen.h"
#include "controls/type_ahead_combo.h"
#include "controls/xgrid.h"
#include "event_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

class EventWalkTest : public EventScreenTest {
protected:
    void next(int expected) {
        press(frame->NextButton());
        settle();
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
        ASSERT_EQ(shown(), expected);
    }
};

TEST_F(EventWalkTest, AnEventsScreensFillItsOneRow) {
    frame->WorksheetKind = wkRealEstate;
    start(2035);
    auto* registration = dynamic_cast<TQCGT_08*>(screen());
    ASSERT_NE(registration, nullptr);
    enter("DescEdit", "beach house");
    registration->TypeTextComboBox()->SelectCode("RN");
    enter("DateofAcqEdit", "01/07/1995");
    next(2036);

    next(2037);
    TXGrid* grid = child<TXGrid>("XGrid1");
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    settle();
    grid->setCells(0, 1, "1 - Purchase/Acquisition cost");
    grid->setCells(1, 1, "01/07/1995");
    grid->setCells(4, 1, "250000.00");
    next(2038);

    // Back to the cost elements and on again: the same row.
    press(frame->PrevButton());
    ASSERT_EQ(shown(), 2037);
    EXPECT_EQ(child<TXGrid>("XGrid1")->Cells(4, 1), "250000.00");
    next(2038);

    enter("DateofCGTEventEdit", "01/03/2004");
    enter("CapitalProceedsEdit", "400000");
    next(2039);
    click("Q2NoCheckBox");
    next(2040);
    next(2041);

    ASSERT_EQ(WorksheetOf(wkRealEstate)->rowKeys().size(), 1u);
    EXPECT_EQ(RowText(wkRealEstate, 1, kName), "Beach House");
    EXPECT_EQ(RowText(wkRealEstate, 1, kAssetType), "RN");
    EXPECT_EQ(RowText(wkRealEstate, 1, kAcquisitionDate), "01/07/1995");
    EXPECT_EQ(RowText(wkRealEstate, 1, kCostElements), "1 - Purchase/Acquisition cost");
    EXPECT_EQ(RowText(wkRealEstate, 1, kEventDate), "01/03/2004");
    EXPECT_EQ(RowText(wkRealEstate, 1, kCapitalProceeds), "400000");
    EXPECT_EQ(RowText(wkRealEstate, 1, kRollOverNo), "X");
    EXPECT_EQ(RowText(wkRealEstate, 1, kDeceasedEstate), "2");

    // Another event: a row of its own, the first one untouched.
    press(frame->YesButton());
    ASSERT_EQ(shown(), 2035);
    enter("DescEdit", "Shop");
    dynamic_cast<TQCGT_08*>(screen())->TypeTextComboBox()->SelectCode("RA");
    enter("DateofAcqEdit", "01/07/1998");
    next(2036);
    next(2037);
    next(2038);
    ASSERT_EQ(WorksheetOf(wkRealEstate)->rowKeys().size(), 2u);
    EXPECT_EQ(RowText(wkRealEstate, 2, kName), "Shop");
    EXPECT_EQ(RowText(wkRealEstate, 1, kEventDate), "01/03/2004");
    EXPECT_EQ(RowText(wkRealEstate, 2, kEventDate), "");
}

// An interview resumed on a screen of a section (no events question ran in this run) edits the
// first row of the section's worksheet.
TEST_F(EventWalkTest, AScreenResumedInItsSectionOpensTheSectionsRow) {
    registered(wkShares, Registered{});
    frame->WorksheetKind = 0;
    frame->ReopenRow = false;
    for (int screen : {2010, 2011, 2013, 2014, 2016}) {
        SCOPED_TRACE(screen);
        start(screen);
        ASSERT_EQ(shown(), screen);
        EXPECT_EQ(cgt::Run().CurrentWorksheet, wkShares);
        EXPECT_EQ(GetFieldStr(kName), "BHP shares");
    }
}

} // namespace
} // namespace cgt::test
