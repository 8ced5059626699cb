// The CGT schedule worked out from the choice table when it is left, and the concession,
// 15-year exemption and scrip-for-scrip lists that follow it.

#include <gtest/gtest.h>

// Events are written with designated initialisers; the fields left out keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include "base/text.h"
#include "cgt/rules/concessions.h"
#include "cgt/rules/schedule.h"
#include "cgt/rules/trust_table.h"
#include "choice_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::schedule;

class ScheduleTest : public StoreTest {
protected:
    // The table shown, the choices made by the button when asked, and left forward.
    void Leave(bool makeAll, const std::function<void(Shown&)>& edit = {}) {
        Shown t;
        if (makeAll) t.Do(MakeAllChoices);
        if (edit) {
            edit(t);
            t.Do(RecalculateChoices);
        }
        shownGain = t.state.netCapitalGain;
        t.Leave();
    }
    long long shownGain = 0;
};

struct Label {
    int tag;
    Extended value;
};
void ExpectLabels(std::initializer_list<Label> labels) {
    for (const Label& l : labels)
        EXPECT_EQ(ScheduleValue(l.tag), l.value) << "label " << l.tag;
}

TEST_F(ScheduleTest, OneIndexedShareGain) {
    StoreResult({.indexed = 1000, .method = "Indexed"});
    Leave(false);
    ExpectLabels({{kNonActiveSharesIndex, 1000},
                  {kTotalGainsIndex, 1000},
                  {kNonActiveAfterLossesIndex, 1000},
                  {kAfterLossesIndex, 1000},
                  {kNetGainIndex, 1000},
                  {kNetGainTotal, 1000}});
    EXPECT_EQ(GetFieldVal(tag::kTotalCurrentYearGains), 1000);
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 1000);
    EXPECT_EQ(GetFieldVal(tag::kLossesCarriedForward), 0);
}

// The discount takes the half dollar of an odd discount gain after losses: 1001 leaves 500, the
// net capital gain the table's own line showed before leaving.
TEST_F(ScheduleTest, TheDiscountTakesTheHalfDollar) {
    StoreResult({.worksheet = wkRealEstate, .type = "RN", .discount = 1001});
    Leave(false);
    EXPECT_EQ(shownGain, 500);
    ExpectLabels({{kNonActiveRealEstateDiscount, 1001},
                  {kNonActiveAfterLossesDiscount, 1001},
                  {kDiscountNonActive, 501},
                  {kConcessionsDiscount, 501},
                  {kNetGainDiscount, 500}});
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 500);
}

// A non-active (real estate) and an active (shares) discount gain, and a share loss the table
// applies to the real estate: the net capital gain is the table's line, the half dollars dropped,
// and an odd half of each kind makes one whole dollar of discount between them.
TEST_F(ScheduleTest, TheNetCapitalGainIsTheTablesLine) {
    struct Case {
        Extended nonActive, active, loss;
        Extended discountNonActive, discountActive, net;
    };
    const Case cases[] = {
        {625, 0, 0, 313, 0, 312},    {1000, 0, 0, 500, 0, 500},     {0, 1001, 0, 0, 501, 500},
        {0, 2000, 0, 0, 1000, 1000}, {625, 1001, 0, 313, 500, 813}, {1000, 1001, 0, 500, 501, 1000},
        {1000, 0, 375, 313, 0, 312},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nonActive << " " << c.active << " " << c.loss);
        ClearStore();
        if (c.nonActive)
            StoreResult({.worksheet = wkRealEstate, .type = "RN", .discount = c.nonActive});
        if (c.active) StoreResult({.type = "SA", .discount = c.active});
        if (c.loss) StoreResult({.key = 2, .type = "SN", .loss = c.loss});
        Leave(true);
        EXPECT_EQ(shownGain, c.net);
        ExpectLabels({{kDiscountNonActive, c.discountNonActive},
                      {kDiscountActive, c.discountActive},
                      {kNetGainDiscount, c.net},
                      {kNetGainTotal, c.net}});
        EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), c.net);
    }
}

TEST_F(ScheduleTest, OtherLossesSplitIntoCurrentAndPriorYears) {
    SetFieldVal(tag::kUnappliedOtherLosses, 500);
    StoreResult({.key = 1, .name = "Gain", .discount = 1000});
    StoreResult({.key = 2, .name = "Loss", .loss = 200});
    Leave(false, [](Shown& t) { t.table.SetCell(ccOtherApplied, t.Row("Gain"), "300"); });
    ExpectLabels({{kCurrentLossesAppliedDiscount, 200},
                  {kPriorLossesAppliedDiscount, 100},
                  {kLossesAppliedDiscount, 300},
                  {kNonActiveAfterLossesDiscount, 700},
                  {kDiscountNonActive, 350},
                  {kLossesShares, 200},
                  {kLossesTotal, 200},
                  {kCarriedOtherLosses, 400}});
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 350);
    EXPECT_EQ(GetFieldVal(tag::kLossesCarriedForward), 400);
}

TEST_F(ScheduleTest, CollectableLossesReduceTheCollectablesRowOnly) {
    SetFieldVal(tag::kUnappliedCollectableLosses, 150);
    StoreResult({.worksheet = wkPersonalUse, .type = "A", .indexed = 400});
    Leave(true);
    ExpectLabels({{kCollectablesIndex, 250},
                  {kTotalGainsIndex, 250},
                  {kCurrentLossesAppliedIndex, 0},
                  {kPriorLossesAppliedIndex, 0},
                  {kLossesAppliedTotal, 0},
                  {kNonActiveAfterLossesIndex, 250}});
}

// Collectable losses stay out of the current-year losses of other assets; they reach the
// schedule through the collectables row and the losses carried forward.
TEST_F(ScheduleTest, ACollectableLossStaysOutOfTheOtherAssetsLosses) {
    StoreResult({.worksheet = wkPersonalUse, .key = 1, .name = "Stamps", .type = "A", .loss = 70});
    StoreResult(
        {.worksheet = wkOtherAssets, .key = 1, .name = "Licence", .type = "ON", .loss = 30});
    Leave(true);
    ExpectLabels({{kLossesOther, 30},
                  {kLossesTotal, 30},
                  {kCarriedCollectableLosses, 70},
                  {kCarriedOtherLosses, 30}});
    EXPECT_EQ(GetFieldVal(tag::kLossesCarriedForward), 100);
}

TEST_F(ScheduleTest, ADeferredGainCountsNothing) {
    StoreResult({.other = 800, .canDefer = true, .defer = "Yes"});
    Leave(false);
    ExpectLabels({{kNonActiveSharesOther, 0}, {kTotalGainsOther, 0}, {kNetGainTotal, 0}});
    EXPECT_EQ(GetFieldVal(tag::kTotalCurrentYearGains), 0);
}

TEST_F(ScheduleTest, ANilAfterLossesIsTheExplicitZero) {
    struct Case {
        EventResult gain;
        int lossTag;
        Extended gains169, net174;
    };
    const Case cases[] = {
        {{.worksheet = wkPersonalUse, .type = "A", .indexed = 200},
         tag::kUnappliedCollectableLosses,
         ExplicitZero,
         0},
        {{.type = "SN", .indexed = 200}, tag::kUnappliedOtherLosses, 200, ExplicitZero},
    };
    for (const Case& c : cases) {
        ClearStore();
        SetFieldVal(c.lossTag, 200);
        StoreResult(c.gain);
        Leave(true);
        EXPECT_TRUE(IsExplicitZero(GetFieldVal(tag::kTotalCurrentYearGains)) ==
                    IsExplicitZero(c.gains169));
        EXPECT_NEAR(GetFieldVal(tag::kTotalCurrentYearGains), c.gains169, 1e-9);
        EXPECT_NEAR(GetFieldVal(tag::kNetCapitalGain), c.net174, 1e-9);
        EXPECT_EQ(ScheduleValue(kTotalGainsIndex), c.gains169 == 200 ? 200 : 0);
    }
}

TEST_F(ScheduleTest, UnappliedLossesAreCarriedForward) {
    SetFieldVal(tag::kUnappliedCollectableLosses, 100);
    StoreResult({.worksheet = wkPersonalUse, .key = 1, .name = "Stamps", .type = "A", .loss = 50});
    StoreResult(
        {.worksheet = wkOtherAssets, .key = 1, .name = "Licence", .type = "ON", .loss = 400});
    Leave(false);
    ExpectLabels({{kCarriedCollectableLosses, 150}, {kCarriedOtherLosses, 400}});
    EXPECT_EQ(GetFieldVal(tag::kLossesCarriedForward), 550);
}

TEST_F(ScheduleTest, LabelsOfTheLaterScreensSurviveTheChoiceTable) {
    FetchRow(wkSchedule, 1);
    SetFieldVal(kFifteenYearExemptGains, 5000);
    SetFieldChecked(kScripRollOverChosen);
    PutRow(wkSchedule, 1);
    StoreResult({.other = 10});
    Leave(false);
    EXPECT_EQ(ScheduleValue(kFifteenYearExemptGains), 5000);
    FetchRow(wkSchedule, 1);
    EXPECT_TRUE(FieldChecked(kScripRollOverChosen));
    EXPECT_EQ(GetFieldStr(kName), "Capital gains tax (CGT) schedule 2001");
}

// ---- Concession elections ----------------------------------------------------------------

class ElectionsTest : public ScheduleTest {
protected:
    CellTable Elections() {
        CellTable grid;
        SetupElectionsTable(grid);
        FillElections(grid);
        return grid;
    }
    int RowOf(const CellTable& grid, const std::string& name) {
        for (int row = 1; row < grid.RowCount(); ++row)
            if (grid.Cell(ecDescription, row).rfind(name, 0) == 0) return row;
        return -1;
    }
};

TEST_F(ElectionsTest, EachConcessionAtMostHalfTheGainAndAllThreeAtMostTheGain) {
    StoreResult({.name = "Shop", .type = "SA", .discount = 2000});
    Leave(false); // net gain 1000 by the discount method
    struct Case {
        const char *a, *b, *c;
        std::optional<std::string_view> message;
        int col;
    };
    const Case cases[] = {
        {"600", "", "", kReductionTooHigh, ecReduction},
        {"500", "", "", std::nullopt, 0},
        {"", "501", "", kRetirementTooHigh, ecRetirement},
        {"", "", "500.01", kRollOverTooHigh, ecRollOver},
        {"500", "400", "", std::nullopt, 0},
        {"500", "400", "200", kConcessionsAboveGain, ecReduction},
    };
    for (const Case& c : cases) {
        CellTable grid = Elections();
        const int row = RowOf(grid, "Shop");
        ASSERT_EQ(row, 1);
        EXPECT_EQ(TrimText(grid.Cell(ecDiscount, row)), "1000.00");
        EXPECT_EQ(grid.Cell(ecIndexed, row), "");
        grid.SetCell(ecReduction, row, c.a);
        grid.SetCell(ecRetirement, row, c.b);
        grid.SetCell(ecRollOver, row, c.c);
        const auto refusal = ValidateElections(grid);
        ASSERT_EQ(refusal.has_value(), c.message.has_value()) << c.a << " " << c.b << " " << c.c;
        if (!refusal) continue;
        EXPECT_EQ(refusal->message, *c.message);
        EXPECT_EQ(refusal->row, row);
        EXPECT_EQ(refusal->col, c.col);
    }
}

TEST_F(ElectionsTest, ElectionsAreStoredTotalledAndReducedFromTheNetCapitalGain) {
    StoreResult({.key = 1, .name = "Shop", .type = "SA", .discount = 2000});
    StoreResult({.worksheet = wkRealEstate,
                 .key = 1,
                 .name = "Yard",
                 .type = "RA",
                 .indexed = 800,
                 .method = "Indexed"});
    Leave(false);
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 1800);
    CellTable grid = Elections();
    grid.SetCell(ecReduction, RowOf(grid, "Shop"), "500");
    grid.SetCell(ecRetirement, RowOf(grid, "Yard"), "200");
    ASSERT_FALSE(ValidateElections(grid));
    StoreElections(grid);
    TotalElections(grid);
    ExpectLabels({{kActiveAssetReductionDiscount, 500},
                  {kRetirementExemptionIndex, 200},
                  {kConcessionsIndex, 200},
                  {kNetGainTotal, 1100}});
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 1100);
    // Shown again, each row's elections come back from its event row.
    CellTable again = Elections();
    EXPECT_EQ(again.Cell(ecReduction, RowOf(again, "Shop")), "500");
    EXPECT_EQ(again.Cell(ecRetirement, RowOf(again, "Yard")), "200");
    EXPECT_EQ(again.Cell(ecRollOver, RowOf(again, "Yard")), "");
}

TEST_F(ElectionsTest, ElectionsOfTrustRowsLiveInTheirOwnWorksheet) {
    StringList trust(kTrustCells);
    trust[kTrustNameCell] = "Fund";
    trust[9] = "300"; // other gain from an active asset, grossed up to 600
    SetFieldLst(tag::kTrustDistributionTable, std::make_shared<StringList>(trust));
    Leave(false);
    CellTable grid = Elections();
    ASSERT_EQ(RowOf(grid, "Fund"), 1);
    grid.SetCell(ecRollOver, 1, "300");
    StoreElections(grid);
    EXPECT_TRUE(WorksheetHasRows(wkTrustElections));
    EXPECT_EQ(Elections().Cell(ecRollOver, 1), "300");
}

// ---- The 15-year exemption and scrip for scrip -----------------------------------------

TEST_F(ScheduleTest, FifteenYearExemptGainsAreListedByGain) {
    StoreResult({.key = 1, .name = "Shop", .type = "SA", .discount = 5000, .fifteenYear = true});
    StoreResult({.key = 2, .name = "Stall", .type = "SA", .loss = 100, .fifteenYear = true});
    StoreResult({.worksheet = wkRealEstate,
                 .key = 1,
                 .name = "Yard",
                 .type = "RA",
                 .indexed = 700,
                 .fifteenYear = true});
    CellTable grid;
    SetupExemptList(grid);
    BuildExemptList(grid);
    EXPECT_EQ(grid.Cell(xcDescription, 1), "Yard");
    EXPECT_EQ(grid.Cell(xcTypeLetter, 1), "R");
    EXPECT_EQ(grid.Cell(xcDescription, 2), "Shop");
    EXPECT_EQ(grid.Cell(xcTypeLetter, 2), "S");
    EXPECT_EQ(TrimText(grid.Cell(xcGain, 2)), "5000");
    EXPECT_TRUE(grid.IsRowEmpty(3));
    StoreExemption(grid);
    EXPECT_EQ(ScheduleValue(kFifteenYearExemptGains), 5700);
    FetchRow(wkSchedule, 1);
    EXPECT_EQ(GetFieldStr(kFifteenYearAssetCode), "R");
}

TEST_F(ScheduleTest, ScripForScripProceedsMustEqualMarketValueAndCash) {
    using namespace tag::event;
    StoreResult({.name = "Swap", .discount = 2000, .canDefer = true, .defer = "Yes"});
    FetchRow(wkShares, 1);
    SetFieldChecked(kScripForScripYes);
    SetFieldVal(kDiscountProceeds, 10000);
    SetFieldVal(kDiscountCostBase, 8000);
    PutRow(wkShares, 1);
    StoreResult({.key = 2, .name = "Sold", .discount = 10}); // not deferred
    CellTable grid;
    SetupScripList(grid);
    BuildScripList(grid);
    ASSERT_EQ(grid.Cell(scDescription, 1), "Swap");
    EXPECT_TRUE(grid.IsRowEmpty(2));
    EXPECT_EQ(TrimText(grid.Cell(scProceeds, 1)), "10000");
    grid.SetCell(scMarketValue, 1, "8000");
    grid.SetCell(scCash, 1, "1500");
    const auto refusal = ValidateScrip(grid);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, kScripMismatch);
    EXPECT_EQ(refusal->col, scMarketValue);
    grid.SetCell(scCash, 1, "2000");
    ASSERT_FALSE(ValidateScrip(grid));
    StoreScrip(grid);
    TotalScrip(grid);
    ExpectLabels({{kScripOriginalCostBase, 8000},
                  {kScripReplacementValue, 8000},
                  {kScripCashConsideration, 2000}});
    FetchRow(wkSchedule, 1);
    EXPECT_TRUE(FieldChecked(kScripRollOverChosen));
    EXPECT_FALSE(FieldChecked(kScripRollOverNotChosen));
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldVal(kReplacementMarketValue), 8000);
    EXPECT_EQ(GetFieldVal(kCashConsideration), 2000);
    ZeroFillScratchTags();
    BuildScripList(grid); // shown again with the stored amounts
    EXPECT_EQ(TrimText(grid.Cell(scCash, 1)), "2000");
}

TEST_F(ScheduleTest, NoScripEventsChecksNotChosen) {
    CellTable grid;
    SetupScripList(grid);
    BuildScripList(grid);
    TotalScrip(grid);
    ExpectLabels(
        {{kScripOriginalCostBase, 0}, {kScripReplacementValue, 0}, {kScripCashConsideration, 0}});
    FetchRow(wkSchedule, 1);
    EXPECT_TRUE(FieldChecked(kScripRollOverNotChosen));
    EXPECT_FALSE(FieldChecked(kScripRollOverChosen));
}

} // namespace
} // namespace cgt::test
