// The gain calculation worksheet without a window: an event row set up in the scratch tags as
// its screens leave it, the worksheet run over it, and the stored results, grids and messages
// checked against hand-worked figures.

#include <gtest/gtest.h>

#include "cgt/records/event_records.h"
#include "cgt/records/event_worksheets.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "base/number_format.h"
#include "cgt/rules/gain_worksheet.h"
#include "cgt/rules/shown_values.h"
#include "controls/core/tax_text.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

using Element = std::array<const char*, 8>;
constexpr Extended kNil = ExplicitZero;

// An event as the screens before the worksheet leave it. Amounts of 0 are not entered.
struct Event {
    const char* type = "SN";
    const char* acquired = "01/03/1995";
    const char* rolledOver = "";
    const char* costBaseDate = "";
    Extended indexed = 0, nonIndexed = 0, reduced = 0; // section 2: 734, 735, 736
    std::vector<Element> elements;
    const char* eventDate = "15/02/2004";
    Extended proceeds = 10000;
    Extended percent = 0;
    bool withhold = false;      // 727
    bool afterCutOff = false;   // 732
    bool beforeCutOff = false;  // 741
    bool notEligible = false;   // 721
    bool marriage = false;      // 722
    bool otherRollOver = false; // 723
    bool fifteenYear = false;   // 746
};

Element Purchase(const char* date, const char* amount) {
    return {"1 - Purchase/Acquisition cost", date, date, "Purchase", amount, "", "", ""};
}
Element Cost(const char* text, const char* date, const char* amount, const char* excluded = "") {
    return {text, date, "", "Cost", amount, excluded, "", ""};
}

void PutIfEntered(int tag, Extended amount) {
    if (amount != 0) SetFieldVal(tag, amount);
}
void PutIfChecked(int tag, bool on) {
    if (on) SetFieldChecked(tag);
}

void Enter(const Event& e) {
    ZeroFillScratchTags();
    SetFieldStr(kName, "BHP shares");
    SetFieldStr(kAssetType, e.type);
    SetFieldStr(kAcquisitionDate, e.acquired);
    SetFieldStr(kRolledOverAcquisitionDate, e.rolledOver);
    SetFieldStr(kCostBaseDate, e.costBaseDate);
    PutIfEntered(kSectionTwoIndexed, e.indexed);
    PutIfEntered(kSectionTwoNonIndexed, e.nonIndexed);
    PutIfEntered(kSectionTwoReduced, e.reduced);
    auto list = std::make_shared<StringList>();
    for (const Element& element : e.elements)
        list->insert(list->end(), element.begin(), element.end());
    SetFieldLst(kCostElements, list);
    SetFieldStr(kEventDate, e.eventDate);
    PutIfEntered(kCapitalProceeds, e.proceeds);
    PutIfEntered(kPercentDisposed, e.percent);
    PutIfChecked(kWithholdIndexation, e.withhold);
    PutIfChecked(kAcquiredAfterCutOff, e.afterCutOff);
    PutIfChecked(kEventBeforeCutOff, e.beforeCutOff);
    PutIfChecked(kRollOverNo, e.notEligible);
    PutIfChecked(kMarriageBreakdownYes, e.marriage);
    PutIfChecked(kMarriageBreakdownNo, e.otherRollOver);
    PutIfChecked(kFifteenYearExemption, e.fifteenYear);
}

// A stored result as the choice table reads it: "-" not available, "0" a calculated nil.
std::string Result(int tag) {
    const Extended v = GetFieldVal(tag);
    if (v == 0) return "-";
    if (IsExplicitZero(v)) return "0";
    return FormatGeneral(v);
}

using Results = std::array<std::string, 4>; // indexed, discount, other gain; capital loss
Results StoredResults() {
    return {Result(kIndexedGain), Result(kDiscountGain), Result(kOtherGain), Result(kCapitalLoss)};
}
Results StoredCostBases() {
    return {Result(kIndexedCostBase), Result(kDiscountCostBase), Result(kOtherCostBase),
            Result(kLossCostBase)};
}

std::vector<std::string> Cells(int tag) {
    const StringListRef list = GetFieldLst(tag);
    return list ? *list : std::vector<std::string>{};
}

class GainWorksheetTest : public StoreTest {
protected:
    GainWorksheet run(const Event& e, GainVariant variant = GainVariant::Standard) {
        Enter(e);
        return RunGainWorksheet(variant);
    }
};

// A parcel bought in March 1995 with brokerage and sold in February 2004 with brokerage:
// factor 123.4 / 114.7 = 1.076; indexed 5000 x 1.076 = 5380, 50 x 1.076 = 53.8 -> 54, the
// sale's brokerage 40 is not indexed.
TEST_F(GainWorksheetTest, ShareParcelHeldNineYearsAgainstHandWorkedFigures) {
    Event e;
    e.elements = {Purchase("01/03/1995", "5000.00"),
                  Cost("2A - Incidentals re holding & acquisition", "01/03/1995", "50.00"),
                  Cost("2B - Incidentals re specific CGT event", "15/02/2004", "40.00")};
    const GainWorksheet ws = run(e);
    EXPECT_EQ(ws.error, "");
    EXPECT_EQ(StoredResults(), (Results{"4526", "4910", "-", "-"}));
    EXPECT_EQ(StoredCostBases(), (Results{"5474", "5090", "-", "-"}));
    EXPECT_EQ(Result(kCostBaseNonIndexed), "5090");
    EXPECT_EQ(Result(kCostBaseIndexed), "5474");
    EXPECT_EQ(Result(kReducedCostBase), "5090");
    EXPECT_EQ(Result(kNetAmountTotal), "5090");
    EXPECT_EQ(Result(kCostBaseTotal), "5474");
    EXPECT_EQ(Result(kReducedAmountTotal), "5090");
    EXPECT_EQ(GetFieldType(kNetAmountTotal), dtCurrencyCnt);
    EXPECT_EQ(Result(kIndexedProceeds), "10000");
    EXPECT_EQ(Result(kLossProceeds), "-"); // the loss column is cleared
    EXPECT_EQ(GetFieldStr(kBaseDate), "01/03/1995");
    EXPECT_EQ(GetFieldStr(kEventDateCell), "15/02/2004");
    EXPECT_EQ(Result(kEventIndexNumber), "123.4");
    EXPECT_EQ(Result(kNonAssessableIndexed), "0");
    EXPECT_TRUE(FieldChecked(kDisposalResult));
    EXPECT_EQ(GetFieldStr(kFirstMessage), "");
    EXPECT_EQ(GetFieldStr(kSecondMessage), msg::kChooseMethod);

    const std::vector<std::string> worksheet = Cells(kWorksheetGrid);
    ASSERT_EQ(worksheet.size(), 3u * 12u);
    EXPECT_EQ(std::vector<std::string>(worksheet.begin(), worksheet.begin() + 12),
              (std::vector<std::string>{"01/03/1995", "Purchase", "   5000.00", "      0.00",
                                        "   5000.00", "", "    114.70", "", "     1.076",
                                        "   5380.00", "      0.00", "   5000.00"}));
    EXPECT_EQ(worksheet[12 + 9], "     54.00");
    EXPECT_EQ(worksheet[24 + 8], "     1.000");

    const std::vector<std::string> reg = Cells(kAssetRegisterGrid);
    ASSERT_EQ(reg.size(), 4u * 11u);
    EXPECT_EQ(std::vector<std::string>(reg.begin() + 33, reg.end()),
              (std::vector<std::string>{"15/02/2004", "15/02/2004", "", "Capital proceeds", "O",
                                        "O", "  10000.00", "", "", "", ""}));
    EXPECT_EQ(reg[4], "1");
    EXPECT_EQ(reg[11 + 4], "2A");
}

// Which methods stand: twelve months, the 21 September 1999 dates and their flags. One
// purchase of 5000 on the base date and proceeds of 10000.
TEST_F(GainWorksheetTest, MethodsByTheDatesAndFlags) {
    struct Case {
        const char* acquired;
        const char* rolledOver;
        const char* eventDate;
        bool withhold, afterCutOff, beforeCutOff;
        Results expected;
    };
    const Case cases[] = {
        // The first anniversary itself does not count.
        {"15/03/2002", "", "15/03/2003", false, false, false, {"-", "-", "5000", "-"}},
        {"15/03/2002", "", "16/03/2003", false, false, false, {"-", "5000", "-", "-"}},
        {"29/02/2000", "", "28/02/2001", false, false, false, {"-", "-", "5000", "-"}},
        {"29/02/2000", "", "01/03/2001", false, false, false, {"-", "5000", "-", "-"}},
        // Acquired after 21/09/1999: no indexation; on that day unless withheld.
        {"22/09/1999", "", "15/02/2004", false, false, false, {"-", "5000", "-", "-"}},
        {"21/09/1999", "", "15/02/2004", false, false, false, {"5000", "5000", "-", "-"}},
        {"21/09/1999", "", "15/02/2004", true, false, false, {"-", "5000", "-", "-"}},
        // A rolled-over asset counts from the original acquisition.
        {"01/01/2001", "21/09/1999", "15/02/2004", false, false, false, {"5000", "5000", "-", "-"}},
        {"01/01/2001", "21/09/1999", "15/02/2004", false, true, false, {"-", "5000", "-", "-"}},
        {"01/01/2001", "22/09/1999", "15/02/2004", false, false, false, {"-", "5000", "-", "-"}},
        {"01/01/2001", "21/09/1999", "15/02/2004", true, false, false, {"5000", "5000", "-", "-"}},
        // Sold before 21/09/1999: no discount; on that day unless before 11.45am.
        {"01/03/1995", "", "20/09/1999", false, false, false, {"4620", "-", "-", "-"}},
        {"01/03/1995", "", "21/09/1999", false, false, false, {"4620", "5000", "-", "-"}},
        {"01/03/1995", "", "21/09/1999", false, false, true, {"4620", "-", "-", "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.acquired) + " " + c.rolledOver + " -> " + c.eventDate);
        Event e;
        e.acquired = c.acquired;
        e.rolledOver = c.rolledOver;
        e.eventDate = c.eventDate;
        e.withhold = c.withhold;
        e.afterCutOff = c.afterCutOff;
        e.beforeCutOff = c.beforeCutOff;
        e.elements = {Purchase(*c.rolledOver ? c.rolledOver : c.acquired, "5000")};
        run(e);
        EXPECT_EQ(StoredResults(), c.expected);
    }
}

// A known cost base (section 2) effective after the September quarter of 1999 is not raised.
TEST_F(GainWorksheetTest, SectionTwoCostBases) {
    struct Case {
        Extended indexed, nonIndexed, reduced;
        const char* eventDate;
        Results expected;
        const char* second;
    };
    const Case cases[] = {
        {6000, 5000, 5000, "15/02/2004", {"4000", "5000", "-", "-"}, msg::kChooseMethod},
        {6000, 5000, 5000, "30/06/2003", {"4000", "5000", "-", "-"}, ""},
        {6000, 5000, 5000, "01/07/2003", {"4000", "5000", "-", "-"}, msg::kChooseMethod},
        {6000, 5000, 5000, "30/06/2004", {"4000", "5000", "-", "-"}, msg::kChooseMethod},
        {6000, 5000, 5000, "01/07/2004", {"4000", "5000", "-", "-"}, ""},
        // No indexed cost base: no indexation; no non-indexed one: no discount.
        {0, 5000, 5000, "15/02/2004", {"-", "5000", "-", "-"}, ""},
        {6000, 0, 5000, "15/02/2004", {"4000", "-", "-", "-"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.eventDate);
        Event e;
        e.costBaseDate = "01/10/1999";
        e.indexed = c.indexed;
        e.nonIndexed = c.nonIndexed;
        e.reduced = c.reduced;
        e.eventDate = c.eventDate;
        run(e);
        EXPECT_EQ(StoredResults(), c.expected);
        EXPECT_EQ(GetFieldStr(kSecondMessage), c.second);
    }
    EXPECT_EQ(Result(kCostBaseIndexed), "6000");
    EXPECT_EQ(Result(kCostBaseNonIndexed), "-");
    EXPECT_EQ(Result(kReducedCostBase), "5000");
    const std::vector<std::string> reg = Cells(kAssetRegisterGrid);
    ASSERT_GE(reg.size(), 33u);
    EXPECT_EQ(reg[1], "01/10/1999");
    EXPECT_EQ(reg[3], "Cost base - indexed");
    EXPECT_EQ(reg[4], "1A");
    EXPECT_EQ(reg[11 + 4], "1B");
    EXPECT_EQ(reg[22 + 3], "Reduced cost base");
}

// Losses, nil results, personal use assets and proceeds entered as zero. One purchase of 5000
// in March 1995 (indexed 5380).
TEST_F(GainWorksheetTest, LossesAndNilResults) {
    struct Case {
        const char* type;
        Extended proceeds;
        Results expected;
        const char* first;
    };
    const Case cases[] = {
        {"SN", 4000, {"0", "0", "-", "1000"}, ""},
        // Proceeds equal to the reduced cost base.
        {"SN", 5000, {"0", "0", "-", "0"}, msg::kNoGainOrLoss},
        // A personal use asset's loss is disregarded.
        {"P", 3000, {"0", "0", "-", "0"}, msg::kNoGainOrLoss},
        // Proceeds entered as zero: a dated event with nil proceeds.
        {"SN", kNil, {"0", "0", "-", "5000"}, ""},
        {"P", kNil, {"0", "0", "-", "0"}, msg::kNoGainOrLoss},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + FormatGeneral(c.proceeds));
        Event e;
        e.type = c.type;
        e.proceeds = c.proceeds;
        e.elements = {Purchase("01/03/1995", "5000")};
        run(e);
        EXPECT_EQ(StoredResults(), c.expected);
        EXPECT_EQ(GetFieldStr(kFirstMessage), c.first);
        EXPECT_TRUE(FieldChecked(kDisposalResult));
        EXPECT_EQ(GetFieldStr(kEventDateCell), "15/02/2004");
    }
    // The proceeds cells of an entered zero show 0.
    EXPECT_EQ(Result(kProceedsCell), "0");
    EXPECT_EQ(Result(kLossProceeds), "0");
    EXPECT_EQ(Result(kIndexedProceeds), "0");
}

TEST_F(GainWorksheetTest, NothingEnteredIsNoGainOrLoss) {
    Event e;
    e.acquired = "";
    e.eventDate = "";
    e.proceeds = 0;
    const GainWorksheet ws = run(e);
    EXPECT_EQ(ws.error, "");
    EXPECT_EQ(StoredResults(), (Results{"-", "-", "-", "-"}));
    EXPECT_EQ(GetFieldStr(kFirstMessage), msg::kNoGainOrLoss);
    EXPECT_EQ(GetFieldStr(kSecondMessage), "");
    EXPECT_FALSE(FieldChecked(kDisposalResult));
    EXPECT_EQ(Result(kEventIndexNumber), "123.4");
    EXPECT_TRUE(Cells(kAssetRegisterGrid).empty());
    EXPECT_TRUE(Cells(kWorksheetGrid).empty());
}

// A partial disposal keeps the specific event's incidental costs (2B) whole.
TEST_F(GainWorksheetTest, PartialDisposalWithIncidentalCostsOfTheEvent) {
    Event e;
    e.percent = 40;
    e.proceeds = 2000;
    e.elements = {Purchase("01/03/1995", "900"),
                  Cost("2B - Incidentals re specific CGT event", "15/02/2004", "100")};
    const GainWorksheet ws = run(e);
    // Non-indexed 1000 of which 100 is 2B: round(40 x 900 / 100 + 100) = 460. Indexed 968 + 100:
    // round(40 x 968 / 100 + 100) = 487.
    EXPECT_EQ(StoredCostBases(), (Results{"487", "460", "-", "-"}));
    EXPECT_EQ(StoredResults(), (Results{"1513", "1540", "-", "-"}));
    ASSERT_TRUE(ws.partial.shown);
    EXPECT_EQ(ws.partial.remaining.nonIndexed, 540);
    EXPECT_EQ(ws.partial.remaining.indexed, 581); // round(60 x 968 / 100) = round(580.8)
    EXPECT_EQ(ws.partial.remaining.reduced, 540);
    EXPECT_EQ(Result(kPercentDisposedCell), "40");

    e.percent = 100;
    EXPECT_FALSE(run(e).partial.shown);
    EXPECT_EQ(StoredCostBases(), (Results{"1068", "1000", "-", "-"}));
}

// Cost elements 3A, 3B, 6C and 6R by asset type.
TEST_F(GainWorksheetTest, OwnershipCostsAndAdjustments) {
    struct Case {
        const char* type;
        std::vector<Element> more;
        Results bases; // non-indexed, indexed, reduced cost base; balancing adjustment (reduced)
        Results balancing;
    };
    const Case cases[] = {
        {"RA",
         {Cost("3A - Non-capital costs of ownership", "01/06/1996", "200", "50")},
         {"5150", "5530", "5000", ""},
         {"-", "-", "-", ""}},
        {"A",
         {Cost("3A - Non-capital costs of ownership", "01/06/1996", "200", "50")},
         {"5000", "5380", "5000", ""},
         {"-", "-", "-", ""}},
        {"RA",
         {Cost("6C - Adjustments to the cost base", "01/06/1996", "300")},
         {"5300", "5680", "5000", ""},
         {"300", "300", "-", ""}},
        {"RA",
         {Cost("3B - Balancing charges", "01/06/1996", "200"),
          Cost("6R - Adjustments to the reduced cost base", "01/06/1996", "-50")},
         {"5000", "5380", "5150", ""},
         {"-", "-", "150", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + std::string(" ") + c.more.front()[0]);
        Event e;
        e.type = c.type;
        e.elements = {Purchase("01/03/1995", "5000")};
        e.elements.insert(e.elements.end(), c.more.begin(), c.more.end());
        run(e);
        EXPECT_EQ((Results{Result(kCostBaseNonIndexed), Result(kCostBaseIndexed),
                           Result(kReducedCostBase), ""}),
                  c.bases);
        EXPECT_EQ((Results{Result(kBalancingNonIndexed), Result(kBalancingIndexed),
                           Result(kBalancingReduced), ""}),
                  c.balancing);
    }
}

// Elements before the base date, or not after the adjusted cost base's date, are left out of
// both grids.
TEST_F(GainWorksheetTest, ElementFilter) {
    Event e;
    // A blank element is skipped whatever it holds.
    e.elements = {Purchase("01/01/1995", "1000"),
                  Purchase("01/03/1995", "5000"),
                  {"  ", "not a date", "", "", "700", "", "", ""}};
    EXPECT_EQ(run(e).error, "");
    EXPECT_EQ(Result(kCostBaseNonIndexed), "5000");
    EXPECT_EQ(Cells(kWorksheetGrid).size(), 12u);
    EXPECT_EQ(Cells(kAssetRegisterGrid).size(), 2u * 11u); // the purchase and the proceeds

    Enter(e);
    SetFieldStr(kAdjustedCostBaseDate, "01/07/2000");
    SetFieldVal(kAdjustedNonIndexed, 1000);
    SetFieldVal(kAdjustedIndexed, 1100);
    SetFieldVal(kAdjustedReduced, 900);
    auto list = std::make_shared<StringList>();
    for (const Element& element : {Cost("4 - Capital expenditure", "01/07/2000", "70"),
                                   Cost("4 - Capital expenditure", "02/07/2000", "30")})
        list->insert(list->end(), element.begin(), element.end());
    SetFieldLst(kCostElements, list);
    RunGainWorksheet(GainVariant::Standard);
    EXPECT_EQ(Result(kCostBaseNonIndexed), "1030");
    EXPECT_EQ(Result(kCostBaseIndexed), "1130");
    EXPECT_EQ(Result(kReducedCostBase), "930");
    const std::vector<std::string> reg = Cells(kAssetRegisterGrid);
    ASSERT_EQ(reg.size(), 5u * 11u);
    EXPECT_EQ(reg[1], "01/07/2000");
    EXPECT_EQ(reg[3], "Adjusted Cost base - indexed");
    EXPECT_EQ(reg[33 + 1], "02/07/2000");
    EXPECT_EQ(Cells(kWorksheetGrid)[12 + 1], "Adjusted cost base - discount/non-indexed");
}

TEST_F(GainWorksheetTest, FirstMessageRules) {
    struct Case {
        const char* type;
        bool marriage, otherRollOver, fifteenYear;
        GainVariant variant;
        const char* expected;
    };
    const Case cases[] = {
        {"SA", false, false, false, GainVariant::Standard, msg::kSmallBusiness},
        {"SA", false, false, false, GainVariant::Depreciating, msg::kSmallBusinessDepreciating},
        {"SA", false, false, true, GainVariant::Standard, msg::kFifteenYearExempt},
        {"SA", true, false, true, GainVariant::Standard, msg::kDisregarded},
        {"SN", false, true, false, GainVariant::Standard, msg::kMayDefer},
        {"SA", false, true, false, GainVariant::Standard, msg::kSmallBusiness},
        {"SN", false, false, true, GainVariant::Standard, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.marriage ? " 722" : "") +
                     (c.otherRollOver ? " 723" : "") + (c.fifteenYear ? " 746" : ""));
        Event e;
        e.type = c.type;
        e.marriage = c.marriage;
        e.otherRollOver = c.otherRollOver;
        e.fifteenYear = c.fifteenYear;
        e.elements = {Purchase("01/03/1995", "5000")};
        Enter(e);
        if (c.variant == GainVariant::Depreciating) {
            SetFieldVal(kDepreciatingCost, 5000);
            SetFieldVal(kTaxableUsePercent, 40);
        }
        RunGainWorksheet(c.variant);
        EXPECT_EQ(GetFieldStr(kFirstMessage), c.expected);
    }
    // The asset register shows the roll-over answer.
    Event e;
    e.notEligible = true;
    e.marriage = true;
    run(e);
    EXPECT_EQ(Cells(kAssetRegisterGrid)[9], "N");
    e.notEligible = false;
    run(e);
    EXPECT_EQ(Cells(kAssetRegisterGrid)[9], "Y");
}

// One event gives a gain or a loss: a cost base lowered by a 6C adjustment (5000 - 1000) below
// the reduced cost base (5000) with proceeds between them.
TEST_F(GainWorksheetTest, AnEventNeverGivesBothAGainAndALoss) {
    struct Case {
        const char* acquired;
        Extended proceeds;
        Results expected;
    };
    const Case cases[] = {
        // Gains of 120 and 500 stand: the loss of 500 becomes a nil.
        {"01/03/1995", 4500, {"120", "500", "-", "0"}},
        // Held less than a year: no gain stands, so the loss stays.
        {"01/03/2003", 4500, {"-", "-", "-", "500"}},
        // Above the reduced cost base the loss column is cleared and stays so.
        {"01/03/1995", 6000, {"1620", "2000", "-", "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.acquired) + " " + FormatGeneral(c.proceeds));
        Event e;
        e.acquired = c.acquired;
        e.proceeds = c.proceeds;
        e.elements = {Purchase(c.acquired, "5000"),
                      Cost("6C - Adjustments to the cost base", c.acquired, "-1000")};
        run(e);
        EXPECT_EQ(StoredResults(), c.expected);
    }
}

// Dates that do not convert end the calculation; every result is left cleared.
TEST_F(GainWorksheetTest, DatesThatDoNotConvertEndTheCalculation) {
    struct Case {
        const char* acquired;
        const char* costBaseDate;
        Extended nonIndexed;
        const char* elementDate;
        const char* error;
    };
    const Case cases[] = {
        {"01/03/1995", "", 0, "31/02/2004", "'31/02/2004' is not a valid date"},
        {"", "", 0, "01/03/1995", "'' is not a valid date"},
        {"01/03/1995", "", 5000, nullptr, "'' is not a valid date"},
        {"01/03/1995", "1/13/2000", 5000, nullptr, "'1/13/2000' is not a valid date"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        Event e;
        e.acquired = c.acquired;
        e.costBaseDate = c.costBaseDate;
        e.nonIndexed = c.nonIndexed;
        if (c.elementDate) e.elements = {Purchase(c.elementDate, "5000")};
        // Results of an earlier visit do not survive.
        Enter(e);
        SetFieldVal(kDiscountGain, 700);
        SetFieldStr(kFirstMessage, msg::kSmallBusiness);
        const GainWorksheet ws = RunGainWorksheet(GainVariant::Standard);
        EXPECT_EQ(ws.error, c.error);
        EXPECT_EQ(StoredResults(), (Results{"-", "-", "-", "-"}));
        EXPECT_EQ(GetFieldStr(kFirstMessage), "");
        EXPECT_FALSE(FieldChecked(kDisposalResult));
        EXPECT_TRUE(Cells(kWorksheetGrid).empty());
    }
}

// Depreciating assets: the result for the non-taxable use, less the indexation component of
// the cost base from the cost elements.
TEST_F(GainWorksheetTest, DepreciatingAssetVariant) {
    struct Case {
        const char* acquired;
        Extended cost, termination, taxableUse, reductions, decline;
        Results expected;
        Results costBases; // 1131, 1134, 1137, 1139
    };
    // clang-format off
    const Case cases[] = {
        // Loss 4000 of which 60% is not taxable use. The nil gain's share rounds to 0.
        {"01/07/2001", 10000, 6000, 40, 0, 0, {"-", "-", "-", "2400"}, {"-", "10000", "-", "10000"}},
        // Gain 3000, reductions 300 of a decline of 1000: 30%. Indexed: 900 less the indexation
        // component 5380 - 5000 = 380.
        {"01/03/1995", 5000, 8000, 0, 300, 1000, {"520", "900", "-", "-"}, {"5380", "5000", "-", "-"}},
        // Reductions without a decline take no share.
        {"01/07/2001", 5000, 8000, 0, 300, 0, {"-", "-", "-", "-"}, {"-", "5000", "-", "-"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.acquired + std::string(" ") + FormatGeneral(c.termination));
        Event e;
        e.type = "ON";
        e.acquired = c.acquired;
        e.proceeds = c.termination;
        e.eventDate = "01/03/2004";
        e.elements = {Purchase(c.acquired, "5000")};
        Enter(e);
        SetFieldVal(kDepreciatingCost, c.cost);
        PutIfEntered(kTaxableUsePercent, c.taxableUse);
        PutIfEntered(kSumOfReductions, c.reductions);
        PutIfEntered(kTotalDecline, c.decline);
        RunGainWorksheet(GainVariant::Depreciating);
        EXPECT_EQ(StoredResults(), c.expected);
        EXPECT_EQ(StoredCostBases(), c.costBases);
    }
    // The rows of the last case but one.
    EXPECT_EQ(Result(kDiscountCost), "5000");
    EXPECT_EQ(Result(kRawDiscountResult), "3000");
}

TEST_F(GainWorksheetTest, DepreciatingRowsAndAnUndatedEvent) {
    Event e;
    e.type = "ON";
    e.proceeds = 8000;
    e.eventDate = "01/03/2004";
    e.elements = {Purchase("01/03/1995", "5000")};
    Enter(e);
    SetFieldVal(kDepreciatingCost, 5000);
    SetFieldVal(kSumOfReductions, 300);
    SetFieldVal(kTotalDecline, 1000);
    const GainWorksheet ws = RunGainWorksheet(GainVariant::Depreciating);
    EXPECT_EQ(ws.indexationComponent, 380);
    EXPECT_EQ(Result(kRawIndexedResult), "3000");
    EXPECT_EQ(Result(kDiscountReductions), "30");
    EXPECT_EQ(Result(kDiscountAdjustedResult), "900");
    EXPECT_EQ(Result(kIndexedAdjustedResult), "900");
    EXPECT_EQ(Result(kRawLossResult), "-"); // the loss column is cleared: proceeds above cost

    SetFieldStr(kEventDate, "");
    RunGainWorksheet(GainVariant::Depreciating);
    EXPECT_EQ(StoredResults(), (Results{"-", "-", "-", "-"}));
    EXPECT_EQ(StoredCostBases(), (Results{"-", "-", "-", "-"}));
    EXPECT_EQ(Result(kIndexedCost), "-");
}

// The taxable use field may leave its text in the store.
TEST_F(GainWorksheetTest, TaxableUseStoredAsTheFieldsText) {
    Event e;
    e.type = "ON";
    e.proceeds = 6000;
    e.acquired = "01/07/2001";
    e.eventDate = "01/03/2004";
    e.elements = {Purchase("01/07/2001", "5000")};
    for (const char* text : {"40.00%", "40"}) {
        SCOPED_TRACE(text);
        Enter(e);
        SetFieldVal(kDepreciatingCost, 10000);
        SetFieldStr(kTaxableUsePercent, text);
        RunGainWorksheet(GainVariant::Depreciating);
        EXPECT_EQ(Result(kCapitalLoss), "2400");
        EXPECT_EQ(Result(kLossTaxableUse), "40");
    }
}

TEST(ShownValues, NumbersReadFromAFieldsText) {
    const struct {
        const char* text;
        Extended value;
    } cases[] = {{"40.00%", 40}, {"0.00%", ExplicitZero}, {"0", ExplicitZero}, {"", 0},
                 {"-", 0},       {"12.5-", -12.5L},       {"1.2.3", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadFieldNumber(c.text), c.value) << c.text;
}

TEST(WorksheetCells, NumbersAreWrittenAsTheFixedFormatWritesThem) {
    const Extended values[] = {0,         -0.0L,        1,     -250,   5000,
                               123456789, 1e14L,        1e16L, 114.7L, 1.076L,
                               12.125L,   ExplicitZero, -0.4L, 0.005L, 9999999.99L};
    for (Extended v : values)
        for (int decimals : {2, 3}) {
            SCOPED_TRACE(FormatGeneral(v) + " " + std::to_string(decimals));
            EXPECT_EQ(WorksheetCellText(v, decimals), FixedToText(v, 10, decimals));
        }
}

TEST(ShownValues, ReadBackAsTheFieldShowsThem) {
    struct Case {
        Extended value, dollars, twoDecimals;
    };
    const Case cases[] = {
        {0, 0, 0},
        {0.0005L, 0, 0},
        {ExplicitZero, ExplicitZero, ExplicitZero},
        {0.4L, ExplicitZero, 0.4L},
        {-0.3L, ExplicitZero, -0.3L},
        {0.004L, ExplicitZero, ExplicitZero},
        {1234.5L, 1235, 1234.5L},
        {12.125L, 12, 12.12L},
        {123.4L, 123, 123.4L},
        {-250, -250, -250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(FormatGeneral(c.value));
        EXPECT_EQ(ShownDollars(c.value), c.dollars);
        EXPECT_NEAR(static_cast<double>(ShownTwoDecimals(c.value)),
                    static_cast<double>(c.twoDecimals), 1e-12);
    }
    EXPECT_EQ(RoundedDollars(2.5L), 2);
    EXPECT_EQ(RoundedDollars(0.4L), 0);
}

} // namespace
} // namespace cgt::test
