// The gain calculation screens (TQCGT_58 at 2016, 2029, 2040, 2060, 2070 and TQCGT_58A at
// 2050) driven through a real interview frame: an event row stored as the earlier screens leave
// it, the screen shown as Next from the section reaches it, its three views, the results and
// messages it shows, what Next stores in the row and where it leads.

#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "cgt/screens/events/gain_screens.h"
#include "controls/tax_edit.h"
#include "controls/xgrid.h"
#include "dialogs/modal_helper.h"
#include "interview/frame.h"
#include "report/preview/preview_form.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/screen_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

using Element = std::vector<const char*>; // the eight strings of a cost element

// An event row as the screens before the calculation leave it.
struct Event {
    int worksheet = wkShares;
    const char* name = "BHP shares";
    const char* type = "SN";
    const char* acquired = "01/03/1995";
    const char* eventDate = "15/02/2004";
    Extended proceeds = 10000;
    std::vector<Element> elements = {
        {"1 - Purchase/Acquisition cost", "01/03/1995", "01/03/1995", "500 shares", "5000.00", "",
         "", ""},
        {"2A - Incidentals re holding & acquisition", "01/03/1995", "", "Brokerage", "50.00", "",
         "", ""},
        {"2B - Incidentals re specific CGT event", "15/02/2004", "", "Brokerage", "40.00", "", "",
         ""},
    };
};

void StoreEvent(const Event& e, int row = 1) {
    ZeroFillScratchTags();
    SetFieldStr(kName, e.name);
    SetFieldStr(kAssetType, e.type);
    SetFieldStr(kAcquisitionDate, e.acquired);
    SetFieldStr(kEventDate, e.eventDate);
    SetFieldVal(kCapitalProceeds, e.proceeds);
    auto list = std::make_shared<StringList>();
    for (const Element& element : e.elements)
        list->insert(list->end(), element.begin(), element.end());
    SetFieldLst(kCostElements, list);
    SetFieldChecked(kRollOverNo);
    PutRow(e.worksheet, row);
}

// The value of `tag` in a worksheet row; 0 when the row has none.
Extended RowValue(int worksheet, int row, int tag) {
    const Worksheet* sheet = WorksheetOf(worksheet);
    if (!sheet) return 0;
    for (std::uint32_t pos : sheet->rowPositions(static_cast<std::uint16_t>(row)))
        if (sheet->items()[pos].tag == tag) return sheet->items()[pos].entry.number();
    return 0;
}

class GainScreenTest : public ScreenTest {
protected:
    // Reaches `screen` as Next from the section does: the events question's worksheet and the
    // registered row reopened.
    void reach(int screen, int worksheet, int row = 1) {
        frame->WorksheetKind = worksheet;
        frame->ReopenRow = true;
        frame->ReopenRowKey = row;
        start(screen);
    }
    TGainScreen* gain() const { return dynamic_cast<TGainScreen*>(screen()); }
    TTaxEdit* edit(const char* name) const { return child<TTaxEdit>(name); }
    QString text(const char* name) const {
        TTaxEdit* e = edit(name);
        return e ? e->text() : QStringLiteral("<none>");
    }
    bool shownOnScreen(const char* name) const {
        QWidget* w = child<QWidget>(name);
        return w && w->isVisibleTo(screen());
    }
    void click(const char* radio) {
        QRadioButton* r = child<QRadioButton>(radio);
        ASSERT_NE(r, nullptr) << radio;
        QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(6, r->height() / 2));
        QCoreApplication::processEvents();
    }
};

TEST_F(GainScreenTest, TaxpayerViewShowsTheGainsOfAShareParcel) {
    StoreEvent(Event{});
    reach(2016, wkShares);
    ASSERT_EQ(shown(), 2016);
    ASSERT_NE(dynamic_cast<TQCGT_58*>(screen()), nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(child<QLabel>("AssetNameLabel")->text(), "BHP shares");

    // Indexed 5000 x 1.076 + 50 x 1.076 + 40 = 5474 against 10000; discount 5090.
    const struct {
        const char *proceeds, *costBase, *result;
        bool enabled;
    } columns[] = {
        {"ProceedsIndGainEdit", "CostbaseIndGainEdit", "IndGainEdit", true},
        {"ProceedsDisGainEdit", "CostbaseDisGainEdit", "DisGainEdit", true},
        {"ProceedsOthGainEdit", "CostbaseOthGainEdit", "OthGainEdit", false},
        {"ProceedsLossEdit", "CostbaseLossEdit", "LossEdit", false},
    };
    const char* const expected[][3] = {
        {"10000", "5474", "4526"}, {"10000", "5090", "4910"}, {"", "", ""}, {"", "", ""}};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(columns[c].result);
        EXPECT_EQ(text(columns[c].proceeds), expected[c][0]);
        EXPECT_EQ(text(columns[c].costBase), expected[c][1]);
        EXPECT_EQ(text(columns[c].result), expected[c][2]);
        EXPECT_EQ(edit(columns[c].result)->isEnabled(), columns[c].enabled);
        EXPECT_EQ(edit(columns[c].proceeds)->isEnabled(), columns[c].enabled);
        EXPECT_TRUE(edit(columns[c].result)->isReadOnly());
    }
    EXPECT_FALSE(shownOnScreen("FirstMessageLabel"));
    ASSERT_TRUE(shownOnScreen("SecondMessageLabel"));
    EXPECT_EQ(child<QLabel>("SecondMessageLabel")->text().toStdString(), msg::kChooseMethod);
    // Shares: the gains from non-assessable payments; no partial disposal.
    EXPECT_TRUE(shownOnScreen("NonAssessableBox"));
    EXPECT_FALSE(shownOnScreen("PartialBox"));
    EXPECT_TRUE(shownOnScreen("TaxpayerPanel"));
    EXPECT_FALSE(shownOnScreen("EventDataPanel"));
    EXPECT_TRUE(child<QRadioButton>("TaxpayerViewRadio")->isChecked());
    // The type in its two disabled groups.
    EXPECT_TRUE(child<QRadioButton>("NonActiveRadio")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("ActiveRadio")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("SharesRadio")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("SharesRadio")->isEnabled());
    // The print buttons: shares print their non-assessable payments worksheet too.
    for (const char* name : {"PrintNonAssBtn", "PrintCGTWshtBtn", "PrintAssRegtBtn"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(shownOnScreen(name));
        EXPECT_TRUE(child<QPushButton>(name)->isEnabled());
    }
    // The worksheet's pick list is not offered here.
    EXPECT_FALSE(frame->PickListBox()->isVisibleTo(frame.get()));
}

TEST_F(GainScreenTest, TheThreeViews) {
    StoreEvent(Event{});
    reach(2016, wkShares);
    ASSERT_EQ(shown(), 2016);

    click("AssetRegisterRadio");
    EXPECT_EQ(gain()->ShownView(), TGainScreen::AssetRegisterView);
    EXPECT_TRUE(shownOnScreen("RegisterPage"));
    EXPECT_TRUE(shownOnScreen("EventDataPanel"));
    EXPECT_FALSE(shownOnScreen("TaxpayerPanel"));
    EXPECT_EQ(text("BaseDateEdit"), "01/03/1995");
    TXGrid* reg = child<TXGrid>("XGrid2");
    EXPECT_EQ(reg->Cells(3, 4), "Capital proceeds");
    EXPECT_EQ(reg->Cells(9, 4), "N"); // not eligible for roll-over
    EXPECT_EQ(reg->Cells(4, 2), "2A");
    EXPECT_EQ(reg->colWidths(0), -1);
    EXPECT_EQ(reg->Cells(3, 0), "Description");

    click("WorksheetViewRadio");
    EXPECT_TRUE(shownOnScreen("WorksheetPanel"));
    EXPECT_FALSE(shownOnScreen("RegisterPage"));
    EXPECT_TRUE(shownOnScreen("EventDataPanel"));
    TXGrid* sheet = child<TXGrid>("XGrid1");
    EXPECT_EQ(sheet->Cells(8, 1), "     1.076");
    EXPECT_EQ(sheet->Cells(9, 1), "   5380.00");
    EXPECT_EQ(text("CostbaseEdit1"), "5090");
    EXPECT_EQ(text("CostbaseEdit2"), "5474");
    EXPECT_EQ(text("AdjCostBaseEdit3"), "5090");
    EXPECT_EQ(text("NonAssAdjEdit1"), "0");
    EXPECT_EQ(text("DateCgtEventEdit1"), "15/02/2004");
    EXPECT_EQ(text("CPIEventQtrEdit"), "123.40");
    EXPECT_EQ(text("CapProceedsEdit"), "10000");

    // A click on a column scrolls the worksheet to it.
    QScrollBar* bar = child<QScrollArea>("WorksheetPanel")->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 300);
    const QRect cell = sheet->visualRect(sheet->model()->index(1, 5));
    QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(bar->value(), std::min(bar->maximum(), 250 * frame->ScaleNum() / frame->ScaleDen()));
    const QRect first = sheet->visualRect(sheet->model()->index(1, 0));
    QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(bar->value(), 0);

    click("TaxpayerViewRadio");
    EXPECT_TRUE(shownOnScreen("TaxpayerPanel"));
    EXPECT_FALSE(shownOnScreen("WorksheetPanel"));
}

TEST_F(GainScreenTest, NextStoresTheResultsInTheRowAndGoesToTheAnotherEventQuestion) {
    Event e;
    StoreEvent(e);
    // Results of an earlier visit, and a second event that is not this one.
    FetchRow(wkShares, 1);
    SetFieldVal(kIndexedGain, 999);
    SetFieldStr(kFirstMessage, msg::kMayDefer);
    PutRow(wkShares, 1);
    e.name = "Telstra shares";
    e.proceeds = 4000;
    StoreEvent(e, 2);

    reach(2016, wkShares);
    EXPECT_EQ(text("IndGainEdit"), "4526");
    press(frame->NextButton());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(shown(), 2017);
    EXPECT_EQ(RowValue(wkShares, 1, kIndexedGain), 4526);
    EXPECT_EQ(RowValue(wkShares, 1, kDiscountGain), 4910);
    EXPECT_EQ(RowValue(wkShares, 1, kOtherGain), 0);
    EXPECT_EQ(RowValue(wkShares, 1, kCostBaseIndexed), 5474);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(kName), "BHP shares");
    EXPECT_EQ(GetFieldStr(kFirstMessage), "");
    EXPECT_EQ(GetFieldStr(kSecondMessage), msg::kChooseMethod);
    EXPECT_TRUE(FieldChecked(kDisposalResult));
    EXPECT_EQ(GetFieldLst(kWorksheetGrid)->size(), 3u * 12u);
    ZeroFillScratchTags();
    EXPECT_EQ(WorksheetOf(wkShares)->rowKeys().size(), 2u);

    // The second event, reopened: its own loss.
    reach(2016, wkShares, 2);
    EXPECT_EQ(child<QLabel>("AssetNameLabel")->text(), "Telstra shares");
    EXPECT_EQ(text("LossEdit"), "1090");
    EXPECT_TRUE(edit("LossEdit")->isEnabled());
}

// Shown again with the computed flag (as after a print) the screen keeps its view and results;
// leaving it by any route makes the next show recalculate.
TEST_F(GainScreenTest, ComputedFlagKeepsTheViewUntilTheScreenIsLeft) {
    StoreEvent(Event{});
    reach(2016, wkShares);
    click("WorksheetViewRadio");
    ASSERT_TRUE(gain()->Computed());
    SetFieldVal(kCapitalProceeds, 20000);
    gain()->FormShow();
    EXPECT_EQ(gain()->ShownView(), TGainScreen::WorksheetView);
    EXPECT_EQ(text("IndGainEdit"), "4526");

    ASSERT_TRUE(frame->CheckShownScreen());
    EXPECT_FALSE(gain()->Computed());
    gain()->FormShow();
    EXPECT_EQ(gain()->ShownView(), TGainScreen::TaxpayerView);
    EXPECT_EQ(text("IndGainEdit"), "14526");
}

TEST_F(GainScreenTest, PartialDisposalOfRealEstate) {
    Event e;
    e.worksheet = wkRealEstate;
    e.type = "RA";
    e.proceeds = 2000;
    e.elements = {
        {"1 - Purchase/Acquisition cost", "01/03/1995", "", "Land", "900", "", "", ""},
        {"2B - Incidentals re specific CGT event", "15/02/2004", "", "Agent", "100", "", "", ""}};
    StoreEvent(e);
    FetchRow(wkRealEstate, 1);
    SetFieldVal(kPercentDisposed, 40);
    PutRow(wkRealEstate, 1);

    reach(2040, wkRealEstate);
    ASSERT_EQ(shown(), 2040);
    EXPECT_EQ(text("CostbaseDisGainEdit"), "460");
    EXPECT_EQ(text("DisGainEdit"), "1540");
    ASSERT_TRUE(shownOnScreen("PartialBox"));
    EXPECT_EQ(text("RemainingNonIndexedEdit"), "540");
    EXPECT_EQ(text("RemainingIndexedEdit"), "581");
    EXPECT_EQ(text("RemainingReducedEdit"), "540");
    EXPECT_FALSE(shownOnScreen("NonAssessableBox"));
    EXPECT_FALSE(shownOnScreen("PrintNonAssBtn"));
    // An active asset may qualify for a concession.
    EXPECT_EQ(child<QLabel>("FirstMessageLabel")->text().toStdString(), msg::kSmallBusiness);
}

TEST_F(GainScreenTest, DepreciatingAssetVariantAt2050) {
    Event e;
    e.worksheet = wkDepreciating;
    e.type = "ON";
    e.name = "Delivery van";
    e.acquired = "01/07/2001";
    e.eventDate = "01/03/2004";
    e.proceeds = 6000;
    e.elements = {{"1 - Purchase/Acquisition cost", "01/07/2001", "", "Van", "5000", "", "", ""}};
    StoreEvent(e);
    FetchRow(wkDepreciating, 1);
    SetFieldVal(kDepreciatingCost, 10000);
    SetFieldVal(kTaxableUsePercent, 40);
    PutRow(wkDepreciating, 1);

    reach(2050, wkDepreciating);
    ASSERT_EQ(shown(), 2050);
    ASSERT_NE(dynamic_cast<TQCGT_58A*>(screen()), nullptr);
    // A loss of 4000 of which 60% is not taxable use.
    EXPECT_EQ(text("CostLossEdit"), "10000");
    EXPECT_EQ(text("RawLossEdit"), "4000");
    EXPECT_EQ(text("UseLossEdit"), "40.00");
    EXPECT_EQ(text("AdjLossEdit"), "2400");
    EXPECT_EQ(text("LossEdit"), "2400");
    EXPECT_FALSE(edit("IndGainEdit")->isEnabled());
    EXPECT_FALSE(edit("IndexationComponentEdit")->isEnabled());
    EXPECT_FALSE(edit("OthGainEdit")->isEnabled());
    EXPECT_FALSE(shownOnScreen("PrintNonAssBtn"));
    EXPECT_FALSE(shownOnScreen("NonAssessableBox"));
    EXPECT_TRUE(shownOnScreen("PrintCGTWshtBtn"));

    press(frame->NextButton());
    EXPECT_EQ(shown(), 2051);
    EXPECT_EQ(RowValue(wkDepreciating, 1, kCapitalLoss), 2400);
    EXPECT_EQ(RowValue(wkDepreciating, 1, kLossCostBase), 10000);
}

// An element date that does not convert ends the calculation with the date message; the
// results are left cleared and the screen can be left.
TEST_F(GainScreenTest, ADateThatDoesNotConvertIsToldAndTheResultsCleared) {
    Event e;
    e.elements = {{"4 - Capital expenditure", "31/02/2001", "", "Bad date", "900", "", "", ""}};
    StoreEvent(e);
    FetchRow(wkShares, 1);
    SetFieldVal(kDiscountGain, 700);
    PutRow(wkShares, 1);
    reach(2016, wkShares);
    ASSERT_EQ(dialogs.texts(), std::vector<std::string>{"'31/02/2001' is not a valid date"});
    EXPECT_EQ(dialogs.messages[0].kind, mkError);
    EXPECT_EQ(text("DisGainEdit"), "");
    EXPECT_FALSE(edit("DisGainEdit")->isEnabled());
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2017);
    EXPECT_EQ(RowValue(wkShares, 1, kDiscountGain), 0);
}

// Reached without a registered event (a jump), the screen computes nothing and leaves no row.
TEST_F(GainScreenTest, WithoutARegisteredEventNothingIsCalculatedOrStored) {
    start(2029);
    ASSERT_EQ(shown(), 2029);
    EXPECT_EQ(gain()->Worksheet(), wkTrustInterests);
    EXPECT_EQ(child<QLabel>("AssetNameLabel")->text(), "No Asset Selected");
    EXPECT_EQ(text("CPIEventQtrEdit"), "");
    EXPECT_EQ(text("IndGainEdit"), "");
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2030);
    const Worksheet* sheet = WorksheetOf(wkTrustInterests);
    EXPECT_TRUE(!sheet || sheet->empty());
}

TEST_F(GainScreenTest, VisionImpairedNoteOnlyWithTheAccessibilityAids) {
    StoreEvent(Event{});
    reach(2016, wkShares);
    EXPECT_FALSE(shownOnScreen("VisionImpairedLabel"));
    press(frame->NextButton());
    cgt::Run().AccessibilityMode = true;
    reach(2016, wkShares);
    ASSERT_TRUE(shownOnScreen("VisionImpairedLabel"));
    EXPECT_EQ(child<QLabel>("VisionImpairedLabel")->text(),
              "Vision Impaired users may require assistance in completing this screen");
}

// Each print button previews its printout of the open event, filled from the screen's results;
// closed, the screen shows the same event and view, its row intact.
TEST_F(GainScreenTest, ThePrintButtonsPreviewTheEventsPrintouts) {
    StoreEvent(Event{});
    reach(2016, wkShares);
    ASSERT_EQ(shown(), 2016);
    click("WorksheetViewRadio");
    const struct {
        const char* button;
        const char* title; // a text the printout carries
    } printouts[] = {{"PrintCGTWshtBtn", "BHP shares"},
                     {"PrintAssRegtBtn", "BHP shares"},
                     {"PrintNonAssBtn", "BHP shares"}};
    for (const auto& p : printouts) {
        SCOPED_TRACE(p.button);
        std::vector<std::string> texts;
        int pages = 0;
        auto ran = WhenModal([&](QDialog& dialog) {
            auto* preview = dynamic_cast<report::TPreviewForm*>(&dialog);
            if (preview && preview->Report()) {
                pages = preview->Report()->PageCount();
                QImage device(200, 200, QImage::Format_RGB32);
                for (const report::DrawOp& op : preview->Report()->LayOutPage(0, device, 1, false))
                    if (!op.text.empty()) texts.push_back(op.text);
            }
            dialog.reject();
        });
        QTest::mouseClick(child<QPushButton>(p.button), Qt::LeftButton);
        QCoreApplication::processEvents();
        ASSERT_TRUE(*ran) << "no preview";
        EXPECT_GE(pages, 1);
        EXPECT_NE(std::find(texts.begin(), texts.end(), p.title), texts.end());
        EXPECT_EQ(shown(), 2016);
        EXPECT_EQ(gain()->ShownView(), TGainScreen::WorksheetView);
        EXPECT_EQ(frame->CurrentRow(), 1);
        EXPECT_EQ(GetFieldStr(kName), "BHP shares") << "the row is open again";
    }
    EXPECT_EQ(WorksheetOf(wkShares)->rowKeys().size(), 1u);
    EXPECT_EQ(RowValue(wkShares, 1, kIndexedGain), 4526);
}

} // namespace
} // namespace cgt::test
