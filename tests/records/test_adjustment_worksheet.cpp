// The cost base adjustment worksheet without a window: an event row with non-assessable payments
// set up in the scratch tags, the worksheet run over it, and the published adjusted cost base and
// gains checked against hand-worked figures.
//
// Index numbers used below: Jan-Mar 1995 114.7; Jan-Mar 1998 120.3; Apr-Jun 1998 121.0; from
// Jul-Sep 1999 on 123.4. Factors are rounded to three decimals.

#include <gtest/gtest.h>

#include "cgt/records/event_records.h"
#include "cgt/records/event_worksheets.h"

#include "cgt/records/event_records.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "base/number_format.h"
#include "cgt/rules/adjustment_worksheet.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/gain_worksheet.h"
#include "cgt/rules/payment_checks.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

// A share payment: date of CGT event, amount, amount excluded.
struct SharePayment {
    const char* date;
    const char* amount;
    const char* excluded = "";
};
// A trust payment: date of payment, concession, tax free, tax exempted, tax deferred.
struct TrustPayment {
    const char* date;
    const char* concession = "";
    const char* taxFree = "";
    const char* exempted = "";
    const char* deferred = "";
};

struct Event {
    const char* acquired = "01/03/1995";
    const char* costBaseDate = "01/03/1995";
    Extended costBase = 1000; // section 2: all three bases
    const char* eventDate = "15/02/2004";
    Extended proceeds = 5000;
    std::vector<std::array<const char*, 8>> elements = {};
};

void Enter(const Event& e) {
    ZeroFillScratchTags();
    SetFieldStr(kName, "BHP shares");
    SetFieldStr(kAssetType, "SN");
    SetFieldStr(kAcquisitionDate, e.acquired);
    SetFieldStr(kCostBaseDate, e.costBaseDate);
    if (e.costBase != 0)
        for (int tag : {kSectionTwoIndexed, kSectionTwoNonIndexed, kSectionTwoReduced})
            SetFieldVal(tag, e.costBase);
    auto elements = std::make_shared<StringList>();
    for (const auto& element : e.elements)
        elements->insert(elements->end(), element.begin(), element.end());
    SetFieldLst(kCostElements, elements);
    SetFieldStr(kEventDate, e.eventDate);
    if (e.proceeds != 0) SetFieldVal(kCapitalProceeds, e.proceeds);
}

void EnterShares(const Event& e, const std::vector<SharePayment>& payments) {
    Enter(e);
    auto list = std::make_shared<StringList>();
    for (const SharePayment& p : payments)
        list->insert(list->end(), {p.date, "", "Return of capital", p.amount, p.excluded, ""});
    SetFieldLst(kPayments, list);
    SetFieldStr(kPaymentEventCode, "G1");
}

void EnterTrust(const Event& e, const std::vector<TrustPayment>& payments) {
    Enter(e);
    auto list = std::make_shared<StringList>();
    for (const TrustPayment& p : payments)
        list->insert(list->end(), {p.date, "", "Distribution", "", p.concession, p.taxFree,
                                   p.exempted, p.deferred});
    SetFieldLst(kPayments, list);
    SetFieldStr(kPaymentEventCode, "E4");
}

// A stored amount: "-" nothing, "0" a calculated nil.
std::string Stored(int tag) {
    const Extended v = GetFieldVal(tag);
    if (v == 0) return "-";
    if (IsExplicitZero(v)) return "0";
    return FormatGeneral(v);
}

// Adjusted non-indexed, indexed, reduced; then the gains: discount, indexed, other, each this
// year and prior years.
using Published = std::array<std::string, 9>;
Published StoredResults() {
    return {Stored(kAdjustedNonIndexed),
            Stored(kAdjustedIndexed),
            Stored(kAdjustedReduced),
            Stored(kPaymentDiscountGainThisYear),
            Stored(kPaymentDiscountGainPriorYears),
            Stored(kPaymentIndexedGainThisYear),
            Stored(kPaymentIndexedGainPriorYears),
            Stored(kPaymentOtherGainThisYear),
            Stored(kPaymentOtherGainPriorYears)};
}

class AdjustmentWorksheetTest : public StoreTest {};

// Section 2 cost bases of 1000 dated 01/03/1995. A payment from 01/07/1999 on indexes the
// indexed base by 123.4 / 114.7 = 1.076: 1076.
struct ShareCase {
    const char* name;
    Event event;
    std::vector<SharePayment> payments;
    const char* date; // 1151
    Published results;
    bool gainThisYear; // 1198
};

const ShareCase kShareCases[] = {
    // 1000 - 300 = 700; 1076 - 300 = 776.
    {"BelowCostBase",
     {},
     {{"01/08/2003", "300"}},
     "01/08/2003",
     {"700", "776", "700", "-", "-", "-", "-", "-", "-"},
     false},
    // 1200 - 1000 = 200 discount gain, 1200 - 1076 = 124 indexed gain, this income year.
    {"AboveCostBaseThisYear",
     {},
     {{"01/08/2003", "1200"}},
     "01/08/2003",
     {"0", "0", "0", "200", "-", "124", "-", "-", "-"},
     true},
    // The same received before 01/07/2003: gains of prior income years.
    {"AboveCostBasePriorYear",
     {},
     {{"01/08/2002", "1200"}},
     "01/08/2002",
     {"0", "0", "0", "-", "200", "-", "124", "-", "-"},
     false},
    // 100 of the 1200 is excluded: the receipt is 1100, a gain of 100 (and 24 indexed).
    {"ExcludedAmount",
     {},
     {{"01/08/2003", "1200", "100"}},
     "01/08/2003",
     {"0", "0", "0", "100", "-", "24", "-", "-", "-"},
     true},
    // Acquired after 21/09/1999: no indexation, 1000 - 1200 gives a discount gain of 200.
    {"NoIndexation",
     {.acquired = "01/03/2000", .costBaseDate = "01/03/2000"},
     {{"01/08/2003", "1200"}},
     "01/08/2003",
     {"0", "0", "0", "200", "-", "-", "-", "-", "-"},
     true},
    // Acquired 01/03/2004, event 15/05/2004: not held twelve months, the gain is an other gain.
    {"NotHeldTwelveMonths",
     {.acquired = "01/03/2004", .costBaseDate = "01/03/2004", .eventDate = "15/05/2004"},
     {{"01/04/2004", "1200"}},
     "01/04/2004",
     {"0", "0", "0", "-", "-", "-", "-", "200", "-"},
     true},
    // Event 20/09/1999: no discount; the discount gain is an other gain, the indexed one stays.
    // Index Jul-Sep 1999 123.4: 1076 - 1200 = 124.
    {"NoDiscount",
     {.eventDate = "20/09/1999"},
     {{"01/08/1999", "1200"}},
     "01/08/1999",
     {"0", "0", "0", "-", "-", "-", "124", "-", "200"},
     false},
    // Mend: two payments on one day form one receipt of 500: 1000 - 500, 1076 - 500, no gain.
    {"TwoPaymentsOneDay",
     {},
     {{"01/08/2003", "300"}, {"01/08/2003", "200"}},
     "01/08/2003",
     {"500", "576", "500", "-", "-", "-", "-", "-", "-"},
     false},
    // Two payments: 31/03/1998 (120.3 / 114.7 = 1.049: 1049 - 100 = 949) and 30/06/1998. The
    // carried base is indexed from 01/04/1998 (121.0 / 121.0 = 1): 949 - 100 = 849.
    {"TwoPaymentsIndexedFromTheDayAfter",
     {},
     {{"31/03/1998", "100"}, {"30/06/1998", "100"}},
     "30/06/1998",
     {"800", "849", "800", "-", "-", "-", "-", "-", "-"},
     false},
    // A cost element of 200 (50 excluded) on 01/06/2003 adds 150 to each base; one incurred
    // after the last payment is left out. 1150 - 300, 1226 - 300.
    {"ElementUpToLastPayment",
     {.elements = {{"4 - Capital expenditure", "01/06/2003", "", "Extension", "200", "50", "", ""},
                   {"4 - Capital expenditure", "01/09/2003", "", "Later", "999", "", "", ""}}},
     {{"01/08/2003", "300"}},
     "01/08/2003",
     {"850", "926", "850", "-", "-", "-", "-", "-", "-"},
     false},
};

class ShareCaseTest : public AdjustmentWorksheetTest,
                      public ::testing::WithParamInterface<ShareCase> {};

TEST_P(ShareCaseTest, PublishesHandWorkedFigures) {
    const ShareCase& c = GetParam();
    EnterShares(c.event, c.payments);
    const AdjustmentWorksheet ws = RunAdjustmentWorksheet(PaymentKind::Shares);
    EXPECT_TRUE(ws.results.published);
    EXPECT_EQ(GetFieldStr(kAdjustedCostBaseDate), c.date);
    EXPECT_EQ(StoredResults(), c.results);
    EXPECT_EQ(FieldChecked(kPaymentGainThisYear), c.gainThisYear);
}

INSTANTIATE_TEST_SUITE_P(Shares, ShareCaseTest, ::testing::ValuesIn(kShareCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The same two dates for a trust interest: both on or before 30/06/1998 are their own CGT event
// dates; the carried base is indexed from the payment day (120.3), 121.0 / 120.3 = 1.006:
// 949 x 1.006 = 954.694 -> 955, less 100 = 855. Tax deferred amounts reduce all three bases.
TEST_F(AdjustmentWorksheetTest, TrustPaymentsCarryTheBaseFromThePaymentDay) {
    EnterTrust({}, {{"31/03/1998", "", "", "", "100"}, {"30/06/1998", "", "", "", "100"}});
    const AdjustmentWorksheet ws = RunAdjustmentWorksheet(PaymentKind::TrustInterests);
    EXPECT_EQ(GetFieldStr(kAdjustedCostBaseDate), "30/06/1998");
    EXPECT_EQ(StoredResults(), (Published{"800", "855", "800", "-", "-", "-", "-", "-", "-"}));
    // Each carried row of the first payment: sort date the day after, effective the day itself.
    int carried = 0;
    for (const AdjustmentRow& row : ws.rows)
        if (row.cells[acDescription] == "Cost base - Indexed at 31/03/1998") {
            EXPECT_EQ(row.cells[acSortDate], "01/04/1998");
            EXPECT_EQ(row.cells[acEffectiveDate], "31/03/1998");
            ++carried;
        }
    EXPECT_EQ(carried, 1);
}

// Tax free amounts reduce only the reduced cost base; tax exempted amounts nothing. Payments of
// 15/08/2003 and 15/03/2004 share the CGT event date 30/06/2004 and form one receipt:
// deferred 100 + 200 = 300, free 50 + 30 = 80. Bases 1000 - 300 = 700, 1076 - 300 = 776,
// 1000 - 380 = 620.
TEST_F(AdjustmentWorksheetTest, TrustPaymentsSharingAnEventDateFormOneReceipt) {
    EnterTrust({}, {{"15/08/2003", "", "50", "999", "100"}, {"15/03/2004", "", "30", "", "200"}});
    const AdjustmentWorksheet ws = RunAdjustmentWorksheet(PaymentKind::TrustInterests);
    int receipts = 0;
    for (const AdjustmentRow& row : ws.rows)
        if (row.cells[acCode] == "B") {
            ++receipts;
            EXPECT_EQ(row.cells[acEventDate], "30/06/2004");
            EXPECT_EQ(row.cells[acDatePaid], "15/03/2004");
            EXPECT_EQ(row.cells[acEvent], "E4");
            EXPECT_EQ(row.cells[acReceiptCostBase], "-300");
            EXPECT_EQ(row.cells[acReceiptReduced], "-380");
        }
    EXPECT_EQ(receipts, 1);
    EXPECT_EQ(GetFieldStr(kAdjustedCostBaseDate), "30/06/2004");
    EXPECT_EQ(StoredResults(), (Published{"700", "776", "620", "-", "-", "-", "-", "-", "-"}));
}

TEST_F(AdjustmentWorksheetTest, TrustEventDateEitherSideOf30June1998) {
    const std::pair<const char*, const char*> cases[] = {
        {"15/03/1998", "15/03/1998"}, {"30/06/1998", "30/06/1998"}, {"01/07/1998", "30/06/1999"},
        {"31/12/1998", "30/06/1999"}, {"30/06/1999", "30/06/1999"}, {"15/03/2004", "30/06/2004"},
        {"15/08/2003", "30/06/2004"},
    };
    for (const auto& [paid, event] : cases)
        EXPECT_EQ(FormatDate(TrustPaymentEventDate(*ParseDate(paid))), event) << paid;
}

// The concession column of a trust payment row: locked before 21/09/1999, editable to
// 30/06/2001, emptied with a message after it.
TEST_F(AdjustmentWorksheetTest, TrustRowRulesAroundTheirDates) {
    struct Case {
        const char* paid;
        bool locked, emptied, message, taxFreeLocked, exemptedLocked;
    };
    const Case cases[] = {
        {"01/01/1999", true, true, false, false, false},
        {"20/09/1999", true, true, false, false, false},
        {"21/09/1999", false, false, false, false, false},
        {"30/06/2001", false, false, false, false, false},
        {"01/07/2001", false, true, true, false, false},
        {"02/07/2001", false, true, true, false, false},
        {"17/12/1986", true, true, false, true, true},
        {"18/12/1986", true, true, false, false, true},
        {"30/06/1990", true, true, false, false, true},
        {"01/07/1990", true, true, false, false, false},
    };
    for (const Case& c : cases) {
        const TrustRowRules r = TrustRowRulesFor(*ParseDate(c.paid));
        EXPECT_EQ(r.concessionLocked, c.locked) << c.paid;
        EXPECT_EQ(r.concessionEmptied, c.emptied) << c.paid;
        EXPECT_EQ(r.concessionMessage, c.message) << c.paid;
        EXPECT_EQ(r.taxFreeLocked, c.taxFreeLocked) << c.paid;
        EXPECT_EQ(r.exemptedLocked, c.exemptedLocked) << c.paid;
    }
}

// The trust grid's row assistance: the derived CGT event date written, the amounts a payment of
// that date cannot hold emptied, and a row without a date of payment left without a derived date.
TEST_F(AdjustmentWorksheetTest, TrustRowAssistanceWritesTheEventDateAndEmptiesAmounts) {
    using S = std::array<const char*, kTrustPaymentColumns>;
    const struct Case {
        S row;
        S expected;
    } cases[] = {
        {S{"15/03/2004", "", "Fund", "", "10", "20", "30", "40"},
         S{"15/03/2004", "30/06/2004", "Fund", "", "", "20", "30", "40"}},
        {S{"01/07/2001", "", "Fund", "", "10", "20", "30", "40"},
         S{"01/07/2001", "30/06/2002", "Fund", "", "", "20", "30", "40"}},
        {S{"30/06/2001", "", "Fund", "", "10", "20", "30", "40"},
         S{"30/06/2001", "30/06/2001", "Fund", "", "10", "20", "30", "40"}},
        {S{"15/03/1998", "", "Fund", "", "10", "20", "30", "40"},
         S{"15/03/1998", "15/03/1998", "Fund", "", "", "20", "30", "40"}},
        {S{"01/01/1986", "", "Fund", "", "10", "20", "30", "40"},
         S{"01/01/1986", "01/01/1986", "Fund", "", "", "", "", "40"}},
        {S{"", "30/06/2004", "Fund", "", "10", "", "", ""},
         S{"", "", "Fund", "", "10", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row[0]);
        CellTable rows;
        rows.SetColCount(kTrustPaymentColumns);
        rows.LoadRows(StringList(c.row.begin(), c.row.end()));
        AssistTrustRows(rows);
        for (int col = 0; col < kTrustPaymentColumns; ++col)
            EXPECT_EQ(rows.Cell(col, 1), c.expected[col]) << "column " << col;
    }
}

// No payments: only the section 2 rows, nothing published, earlier results cleared.
TEST_F(AdjustmentWorksheetTest, NoPaymentsPublishNothingAndClearEarlierResults) {
    EnterShares({}, {});
    SetFieldStr(kAdjustedCostBaseDate, "01/08/2003");
    SetFieldVal(kAdjustedNonIndexed, 700);
    const AdjustmentWorksheet ws = RunAdjustmentWorksheet(PaymentKind::Shares);
    EXPECT_FALSE(ws.results.published);
    ASSERT_EQ(ws.rows.size(), 3u);
    EXPECT_EQ(ws.rows[0].cells[acCode], "1A");
    EXPECT_EQ(GetFieldStr(kAdjustedCostBaseDate), "");
    EXPECT_EQ(Stored(kAdjustedNonIndexed), "-");
    EXPECT_FALSE(HasDatedPayments(ReadOpenEvent(), PaymentKind::Shares));
}

// Mend: a payment above the section 2 cost base leaves nil adjusted bases; the gain of the later
// sale (proceeds 5000) starts from them, not from the section 2 amounts: discount gain 5000.
TEST_F(AdjustmentWorksheetTest, GainStartsFromNilAdjustedCostBase) {
    EnterShares({}, {{"01/08/2003", "1200"}});
    RunAdjustmentWorksheet(PaymentKind::Shares);
    const GainWorksheet gain = RunGainWorksheet(GainVariant::Standard);
    EXPECT_EQ(gain.error, "");
    EXPECT_TRUE(gain.basis.adjustedApplies);
    EXPECT_EQ(Stored(kDiscountGain), "5000");
    EXPECT_EQ(Stored(kIndexedGain), "5000");
}

// Mend: adjusted bases stored as nothing beside a published date (a row saved that way) still
// count as the adjusted cost base: nil, not the section 2 amounts of 1000.
TEST_F(AdjustmentWorksheetTest, PublishedDateWithBasesStoredAsNothing) {
    EnterShares({}, {});
    SetFieldStr(kAdjustedCostBaseDate, "01/08/2003");
    const GainWorksheet gain = RunGainWorksheet(GainVariant::Standard);
    EXPECT_EQ(gain.error, "");
    EXPECT_TRUE(gain.basis.adjustedApplies);
    EXPECT_EQ(Stored(kDiscountGain), "5000");
    EXPECT_EQ(Stored(kIndexedGain), "5000");
}

// The grid keeps its 23 columns and every pass's rows, processed.
TEST_F(AdjustmentWorksheetTest, GridShowsEachPass) {
    EnterShares({}, {{"01/08/2003", "300"}});
    const AdjustmentWorksheet ws = RunAdjustmentWorksheet(PaymentKind::Shares);
    std::vector<std::string> codes;
    for (const AdjustmentRow& row : ws.rows)
        codes.push_back(row.cells[acCode] + row.cells[acProcessed]);
    // 01/03/1995 1A 1B 1C, 01/08/2003 9 B X Y, 02/08/2003 carried 1A 1B 1C (unprocessed).
    EXPECT_EQ(codes, (std::vector<std::string>{"1A*", "1B*", "1C*", "9*", "B*", "X*", "Y*", "1A",
                                               "1B", "1C"}));
    EXPECT_EQ(ws.rows[0].cells[acFactor], "     1.076");
    EXPECT_EQ(ws.rows[0].cells[acIndexed], "   1076.00");
    const StringListRef stored = GetFieldLst(kAdjustmentGrid);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), ws.rows.size() * kAdjustmentColumns);
}

} // namespace
} // namespace cgt::test

namespace cgt::test {
namespace {

// The payment grid's checks, first broken rule of the first row that breaks one. Acquired
// 01/03/1995, cost base dated 01/03/1996.
TEST_F(AdjustmentWorksheetTest, PaymentChecks) {
    struct Case {
        PaymentKind kind;
        std::vector<std::string> row;
        const char* message; // nullptr: accepted
    };
    using S = std::vector<std::string>;
    const Case cases[] = {
        {PaymentKind::Shares, S{"01/08/2003", "", "Capital", "300", "", ""}, nullptr},
        {PaymentKind::Shares, S{"01/02/1995", "", "Capital", "300", "", ""},
         msg::kReceiptBeforeAcquisition},
        {PaymentKind::Shares, S{"01/03/1996", "", "Capital", "300", "", ""},
         msg::kReceiptBeforeCostBaseDate},
        {PaymentKind::Shares, S{"02/03/1996", "", "Capital", "300", "", ""}, nullptr},
        {PaymentKind::Shares, S{"01/08/2003", "", "Capital", "", "", ""}, msg::kIncompleteElement},
        {PaymentKind::Shares, S{"", "", "Capital", "300", "", ""}, msg::kIncompleteElement},
        {PaymentKind::Shares, S{"", "", "A note", "", "", ""}, nullptr},
        {PaymentKind::Shares, S{"01/08/2003", "19/09/1985", "Capital", "300", "", ""},
         msg::kEventBeforeCgt},
        {PaymentKind::TrustInterests, S{"01/08/2003", "", "Distribution", "", "", "", "", "50"},
         nullptr},
        {PaymentKind::TrustInterests, S{"01/08/2003", "", "", "", "", "", "", "50"},
         msg::kIncompleteElement},
    };
    for (const Case& c : cases) {
        Enter({.costBaseDate = "01/03/1996"});
        CellTable rows;
        rows.SetColCount(PaymentStrings(c.kind));
        rows.LoadRows(StringList(c.row.begin(), c.row.end()));
        const auto refusal = CheckPayments(rows, ReadOpenEvent(), c.kind);
        if (!c.message) {
            EXPECT_FALSE(refusal) << c.row[0] << " " << refusal->message;
            continue;
        }
        ASSERT_TRUE(refusal) << c.row[0];
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(refusal->row, 1);
        EXPECT_EQ(TagOf(refusal->field), kPayments);
    }
}

// The payment summary refuses a worksheet row dated before 20/09/1985.
TEST_F(AdjustmentWorksheetTest, WorksheetDatesBefore1985) {
    EnterShares({.acquired = "01/03/1984", .costBaseDate = "01/03/1984"}, {{"01/08/2003", "300"}});
    const AdjustmentWorksheet ws = RunAdjustmentWorksheet(PaymentKind::Shares);
    const auto refusal = CheckAdjustmentDates(ws.Grid());
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, msg::kEventBeforeCgt);
    EXPECT_EQ(refusal->row, 1);
    EnterShares({}, {{"01/08/2003", "300"}});
    EXPECT_FALSE(CheckAdjustmentDates(RunAdjustmentWorksheet(PaymentKind::Shares).Grid()));
}

} // namespace
} // namespace cgt::test
