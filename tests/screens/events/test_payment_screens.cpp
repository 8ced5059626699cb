// The non-assessable payment screens driven through a real interview frame: the share and trust
// payment grids typed by keyboard, their row assistance, checks and order, and the two summary
// screens showing the adjusted cost base and the gains the payments made.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>
#include <memory>

#include "base/number_format.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/payment_checks.h"
#include "cgt/screens/events/payment_screens.h"
#include "cgt/screens/events/payment_summary_screens.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "event_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

// Section 2 of the row: a cost base of $1,000 calculated on 01/03/1996 (all three amounts).
void SectionTwoOf1000() {
    SetFieldStr(kCostBaseDate, "01/03/1996");
    for (int t : {kSectionTwoIndexed, kSectionTwoNonIndexed, kSectionTwoReduced})
        SetFieldVal(t, 1000);
}

// What an amount field shows, in whole dollars (a calculated nil is 0).
long Dollars(TTaxEdit* edit) {
    return std::lround(static_cast<double>(edit->NumValue()));
}

class PaymentScreenTest : public EventScreenTest {
protected:
    template <class Screen, class Extra = void (*)()>
    Screen* show(
        int screenNumber, int worksheet, const Registered& event, Extra more = [] {}) {
        registered(worksheet, event, 1, more);
        start(screenNumber);
        EXPECT_EQ(shown(), screenNumber);
        settle();
        auto* s = dynamic_cast<Screen*>(screen());
        EXPECT_NE(s, nullptr);
        return s;
    }
    // Types the cells of a row from column 0 as the user does, leaving each with Tab.
    void typeRow(int row, std::initializer_list<const char*> cells) {
        ASSERT_TRUE(grid->MoveTo(0, row));
        settle();
        for (const char* text : cells) {
            QTest::keyClicks(editor(), QString::fromLatin1(text));
            key(Qt::Key_Tab);
        }
    }
    static StringList Payments(int worksheet) {
        FetchRow(worksheet, 1);
        const StringListRef list = GetFieldLst(kPayments);
        return list ? *list : StringList{};
    }
};

TEST_F(PaymentScreenTest, SharePaymentsAreTypedByKeyboardAndKeptInDateOrder) {
    auto* s = show<TQCGT_18>(2012, wkShares, {"BHP shares", "SN", "01/07/1995"});
    ASSERT_NE(s, nullptr);
    grid = s->XGrid1();
    EXPECT_EQ(field<QLineEdit>("EventEdit")->text(), "G1 - Capital payment for shares");
    EXPECT_FALSE(field<QComboBox>("TypeComboBox")->isEnabled());
    EXPECT_EQ(field<QComboBox>("TypeComboBox")->currentText(),
              "ON - Non-active asset - Other asset CGT event");
    EXPECT_EQ(grid->colWidths(spReceiptDate), -1) << "no date of receipt on this screen";
    EXPECT_EQ(s->YBLbl()->CurrentSection(), 1);

    // Tab passes over the hidden date of receipt; the help follows the column.
    ASSERT_TRUE(grid->MoveTo(spEventDate, 1));
    QTest::keyClicks(editor(), QStringLiteral("01/08/2003"));
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->Col(), spDescription);
    EXPECT_EQ(s->YBLbl()->CurrentSection(), spDescription + 1);
    QTest::keyClicks(editor(), QStringLiteral("Return of capital"));
    key(Qt::Key_Tab);
    QTest::keyClicks(editor(), QStringLiteral("300"));
    key(Qt::Key_Tab);
    EXPECT_EQ(s->YBLbl()->CurrentSection(), spExcluded + 1);
    typeRow(2, {"01/08/2002", "Earlier return", "100"});

    press(frame->NextButton());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
    ASSERT_EQ(shown(), 2013);
    const StringList payments = Payments(wkShares);
    ASSERT_EQ(payments.size(), 12u);
    EXPECT_EQ(payments[spEventDate], "01/08/2002") << "sorted by date";
    EXPECT_EQ(payments[spAmount], "100.00");
    EXPECT_EQ(payments[6 + spEventDate], "01/08/2003");
    EXPECT_EQ(payments[6 + spDescription], "Return of capital");
    EXPECT_EQ(payments[6 + spAmount], "300.00");
    EXPECT_EQ(GetFieldStr(kPaymentEventCode), "G1");
    EXPECT_EQ(GetFieldStr(kPaymentAssetType), "ON");
}

TEST_F(PaymentScreenTest, ARefusedPaymentKeepsTheUserOnItsRow) {
    const struct Case {
        const char* note;
        const char* date;
        const char* amount;
        const char* message;
        const char* acquired = "01/07/1995";
        bool sectionTwo = true;
    } cases[] = {
        {"before acquisition", "01/02/1995", "300", msg::kReceiptBeforeAcquisition},
        {"on the cost base date", "01/03/1996", "300", msg::kReceiptBeforeCostBaseDate},
        {"without an amount", "01/08/2003", "", msg::kIncompleteElement},
        {"before CGT", "19/09/1985", "300", msg::kEventBeforeCgt, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        freshRun();
        static const Case* current;
        current = &c;
        auto* s = show<TQCGT_18>(2012, wkShares, {"BHP shares", "SN", c.acquired}, [] {
            if (current->sectionTwo) SectionTwoOf1000();
        });
        ASSERT_NE(s, nullptr);
        grid = s->XGrid1();
        typeRow(1, {"01/08/2003", "Return of capital", "50"});
        typeRow(2, {c.date, "Refused", c.amount});
        press(frame->NextButton());
        EXPECT_EQ(takeMessage(), c.message);
        EXPECT_EQ(shown(), 2012);
        // Sorted by date, the refused row is the first when it is dated before the other.
        const int refusedRow = grid->Cells(spEventDate, 1) == "01/08/2003" ? 2 : 1;
        EXPECT_EQ(grid->Row(), refusedRow);
        EXPECT_EQ(grid->Col(), 0);
        EXPECT_EQ(QApplication::focusWidget(), editor());
    }
}

TEST_F(PaymentScreenTest, TrustRowsFollowTheirDateOfPayment) {
    auto* s = show<TQCGT_18b>(2025, wkTrustInterests, {"Property fund", "UN", "01/07/1995"});
    ASSERT_NE(s, nullptr);
    grid = s->XGrid1();
    EXPECT_EQ(field<QLineEdit>("EventEdit")->text(), "E4 - Capital payment for trust interest");
    EXPECT_EQ(grid->colWidths(tpEventDate), -1);
    EXPECT_EQ(grid->colWidths(tpTotal), -1);

    // Before 21/09/1999 the concession amount is locked: Tab goes from the description to the
    // tax free amount.
    typeRow(1, {"01/01/1999", "Distribution"});
    EXPECT_EQ(grid->Cells(tpEventDate, 1), "30/06/1999");
    EXPECT_EQ(grid->Col(), tpTaxFree);
    EXPECT_EQ(s->YBLbl()->CurrentSection(), tpTaxFree + 1);
    EXPECT_TRUE(grid->table().Column(tpConcession).readOnly);

    // After 30/06/2001 the concession amount need not be entered: told when it is entered.
    typeRow(2, {"02/07/2001", "Distribution"});
    EXPECT_EQ(grid->Cells(tpEventDate, 2), "30/06/2002");
    EXPECT_EQ(grid->Col(), tpConcession);
    EXPECT_EQ(takeMessage(), msg::kConcessionAfterJune2001);
    EXPECT_FALSE(grid->table().Column(tpConcession).readOnly);
    QTest::keyClicks(editor(), QStringLiteral("25"));
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->Cells(tpConcession, 2), "") << "emptied when the row is left";

    typeRow(3, {"15/03/2004", "Distribution", "", "10", "5", "1500"});
    EXPECT_EQ(takeMessage(), msg::kConcessionAfterJune2001) << "passing the concession amount";
    EXPECT_EQ(grid->Cells(tpEventDate, 3), "30/06/2004");
    EXPECT_EQ(field<TXGridTotals>("XGridTotals1")->displayedText(tpDeferred).trimmed(), "1500.00");

    press(frame->NextButton());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
    ASSERT_EQ(shown(), 2026);
    const StringList payments = Payments(wkTrustInterests);
    ASSERT_EQ(payments.size(), 24u);
    EXPECT_EQ(payments[16 + tpPaymentDate], "15/03/2004");
    EXPECT_EQ(payments[16 + tpEventDate], "30/06/2004");
    EXPECT_EQ(payments[16 + tpDeferred], "1500.00");
    EXPECT_EQ(GetFieldStr(kPaymentEventCode), "E4");
    EXPECT_EQ(GetFieldStr(kPaymentAssetType), "ON");
}

// The share summary: a payment of $300 or of $1,200 received on 01/08/2003 against the cost
// base of $1,000 of 01/03/1996. By hand: the March 1996 index number is 119.0 and indexation
// stops at 123.4, so the factor is 1.037 and the indexed cost base 1,037. A payment of $1,200
// exceeds the cost base without indexation by $200 and the indexed one by $163, gains of this
// income year.
TEST_F(PaymentScreenTest, TheShareSummaryShowsTheAdjustedCostBaseAndTheGains) {
    const struct Case {
        const char* amount;
        long nonIndexed, indexed, reduced, discountGain, indexedGain;
    } cases[] = {
        {"300", 700, 737, 700, 0, 0},
        {"1200", 0, 0, 0, 200, 163},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        freshRun();
        static const Case* current;
        current = &c;
        auto* s = show<TQCGT_59a>(2015, wkShares, {"BHP shares", "SN", "01/07/1995"}, [] {
            SectionTwoOf1000();
            SetFieldLst(kPayments,
                        std::make_shared<StringList>(StringList{
                            "01/08/2003", "", "Return of capital", current->amount, "", ""}));
        });
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->ShownView(), TPaymentSummaryScreen::TaxpayerView);
        EXPECT_TRUE(field<QWidget>("TaxpayerPanel")->isVisible());
        EXPECT_EQ(field<QLabel>("AssetNameLabel")->text(), "BHP shares");
        EXPECT_EQ(field<TTaxEdit>("DateCostBaseEdt")->Text8(), "01/08/2003");
        EXPECT_EQ(Dollars(field<TTaxEdit>("DisCostBaseEdt")), c.nonIndexed);
        EXPECT_EQ(Dollars(field<TTaxEdit>("IndCostBaseEdt")), c.indexed);
        EXPECT_EQ(Dollars(field<TTaxEdit>("RedCostBaseEdt")), c.reduced);
        EXPECT_EQ(Dollars(field<TTaxEdit>("DisCapGainEdt")), c.discountGain);
        EXPECT_EQ(Dollars(field<TTaxEdit>("IndCapGainEdt")), c.indexedGain);
        EXPECT_EQ(Dollars(field<TTaxEdit>("PYDisCapGainEdt")), 0);
        // Results, not entries: every field looks like the window behind it.
        for (const char* name : {"DisCostBaseEdt", "DisCapGainEdt", "PYOthCapGainEdt"}) {
            TTaxEdit* edit = field<TTaxEdit>(name);
            EXPECT_EQ(edit->grab().toImage().pixelColor(3, 3),
                      edit->palette().color(QPalette::Window))
                << name;
        }
        EXPECT_TRUE(field<QRadioButton>("SharesRadio")->isChecked());
        EXPECT_TRUE(field<QRadioButton>("NonActiveRadio")->isChecked());

        // The worksheet view by keyboard: the receipt row of the payment is in the grid.
        field<QRadioButton>("TaxpayerViewRadio")->setFocus();
        QTest::keyClick(field<QRadioButton>("TaxpayerViewRadio"), Qt::Key_Right);
        settle();
        EXPECT_EQ(s->ShownView(), TPaymentSummaryScreen::WorksheetView);
        EXPECT_TRUE(field<QWidget>("WorksheetPanel")->isVisible());
        bool receipt = false;
        for (int row = 1; row < field<TXGrid>("XGrid1")->RowCount(); ++row)
            receipt =
                receipt || field<TXGrid>("XGrid1")->Cells(acDescription, row) == "Capital receipt";
        EXPECT_TRUE(receipt);
        EXPECT_EQ(field<TTaxEdit>("BaseDateEdit")->Text8(), "01/07/1995");

        press(frame->NextButton());
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
        ASSERT_EQ(shown(), 2016);
        FetchRow(wkShares, 1);
        EXPECT_EQ(GetFieldStr(kAdjustedCostBaseDate), "01/08/2003");
        EXPECT_EQ(std::lround(GetFieldVal(kAdjustedNonIndexed)), c.nonIndexed);
        EXPECT_EQ(GetFieldVal(kPaymentDiscountGainThisYear), c.discountGain);
        EXPECT_EQ(FieldChecked(kPaymentGainThisYear), c.discountGain > 0);
    }
}

TEST_F(PaymentScreenTest, AShareWorksheetDatedBefore1985IsRefused) {
    auto* s = show<TQCGT_59a>(2015, wkShares, {"BHP shares", "SN", "01/03/1984"}, [] {
        SetFieldStr(kCostBaseDate, "01/03/1984");
        for (int t : {kSectionTwoIndexed, kSectionTwoNonIndexed, kSectionTwoReduced})
            SetFieldVal(t, 1000);
        SetFieldLst(kPayments, std::make_shared<StringList>(StringList{
                                   "01/08/2003", "", "Return of capital", "300", "", ""}));
    });
    ASSERT_NE(s, nullptr);
    press(frame->NextButton());
    settle();
    EXPECT_EQ(takeMessage(), msg::kEventBeforeCgt);
    EXPECT_EQ(shown(), 2015);
    EXPECT_EQ(s->ShownView(), TPaymentSummaryScreen::WorksheetView);
    EXPECT_EQ(field<TXGrid>("XGrid1")->Row(), 1);
    EXPECT_EQ(QApplication::focusWidget(), field<TXGrid>("XGrid1")->inplaceEditor());
}

// A unit-holder's tax-deferred amount of $1,500 received on 15/03/2004 against a cost base of
// $1,000: the CGT event is at 30/06/2004, the cost bases become nil and the $500 beyond them is a
// discount gain of this income year. Acquired after 21/09/1999, the units have no indexation.
TEST_F(PaymentScreenTest, TheTrustSummaryTurnsTheExcessIntoAGainOfThisYear) {
    auto* s = show<TQCGT_59b>(2028, wkTrustInterests, {"Property fund", "UN", "01/07/2000"}, [] {
        SetFieldStr(kCostBaseDate, "01/07/2000");
        for (int t : {kSectionTwoIndexed, kSectionTwoNonIndexed, kSectionTwoReduced})
            SetFieldVal(t, 1000);
        SetFieldLst(kPayments, std::make_shared<StringList>(StringList{
                                   "15/03/2004", "", "Distribution", "", "", "", "", "1500"}));
    });
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(field<TTaxEdit>("DateCostBaseEdt")->Text8(), "30/06/2004");
    EXPECT_EQ(Dollars(field<TTaxEdit>("DisCostBaseEdt")), 0);
    EXPECT_EQ(Dollars(field<TTaxEdit>("RedCostBaseEdt")), 0);
    EXPECT_EQ(Dollars(field<TTaxEdit>("DisCapGainEdt")), 500);
    EXPECT_FALSE(field<TTaxEdit>("IndCapGainEdt")->isEnabled()) << "no indexation";
    EXPECT_EQ(Dollars(field<TTaxEdit>("IndCapGainEdt")), 0);
    press(frame->NextButton());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
    ASSERT_EQ(shown(), 2029);
    FetchRow(wkTrustInterests, 1);
    EXPECT_EQ(GetFieldVal(kPaymentDiscountGainThisYear), 500);
    EXPECT_TRUE(FieldChecked(kPaymentGainThisYear));
    EXPECT_TRUE(IsExplicitZero(GetFieldVal(kAdjustedNonIndexed)));
}

} // namespace
} // namespace cgt::test
