// The choice table without a window: rows from their sources, net gains, the automatic
// choices, the checks on leaving and the choices stored with their sources.

#include <gtest/gtest.h>

// Events are written with designated initialisers; the fields left out keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <random>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/rules/choice_cells.h"
#include "cgt/rules/trust_table.h"
#include "choice_fixture.h"

namespace cgt::test {
namespace {

class ChoiceTableTest : public StoreTest {};

std::string Trimmed(const std::string& text) {
    return TrimText(text);
}

TEST_F(ChoiceTableTest, NoSourcesGiveOneEmptyRowAndNothingReported) {
    Shown t;
    EXPECT_EQ(t.table.RowCount(), 2);
    EXPECT_TRUE(t.table.IsRowEmpty(1));
    EXPECT_TRUE(FieldChecked(tag::kNoGainsReported));
    EXPECT_FALSE(FieldChecked(tag::kGainsReported));
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 0);
    EXPECT_EQ(GetFieldVal(tag::kTotalCurrentYearLosses), 0);
    EXPECT_EQ(NetCapitalGainText(t.state), "$0");
}

TEST_F(ChoiceTableTest, MethodChoiceOnATieIsDiscount) {
    struct Case {
        Extended indexed, discount;
        const char* method;
    };
    for (const Case c :
         {Case{100, 300, "Indexed"}, Case{150, 300, "Discount"}, Case{151, 300, "Discount"}}) {
        ClearStore();
        StoreResult({.indexed = c.indexed, .discount = c.discount});
        Shown t;
        EXPECT_EQ(t.Cell("Event", ccChoiceRequired), "Yes");
        t.Do(MakeMethodChoices);
        EXPECT_EQ(t.Cell("Event", ccMethod), c.method) << c.indexed << " / " << c.discount;
    }
}

TEST_F(ChoiceTableTest, ApplyAllChoosesBetweenIndexedAndDiscountWithLosses) {
    struct Case {
        Extended losses;
        const char* method;
        const char* applied;
        const char* net;
    };
    // (1500 − 600) ÷ 2 = 450 > 1000 − 600 = 400; with 100 of losses (1400 ÷ 2 = 700 < 900).
    for (const Case c :
         {Case{600, "Indexed", "600", "400.00"}, Case{100, "Discount", "100", "700.00"},
          Case{1200, "Indexed", "1000", "0"}}) {
        ClearStore();
        SetFieldVal(tag::kUnappliedOtherLosses, c.losses);
        StoreResult({.indexed = 1000, .discount = 1500});
        Shown t;
        t.Do(MakeAllChoices);
        EXPECT_EQ(t.Cell("Event", ccMethod), c.method) << c.losses;
        EXPECT_EQ(t.Cell("Event", ccOtherApplied), c.applied) << c.losses;
        EXPECT_EQ(Trimmed(t.Cell("Event", ccNetGain)), c.net) << c.losses;
    }
}

// A discount gain smaller than the losses left takes no more than itself: the net gain is nil,
// not negative.
TEST_F(ChoiceTableTest, ChoosingDiscountAppliesNoMoreThanTheDiscountGain) {
    StringList manual(kManualCells);
    manual[mcDescription] = "Boat";
    manual[mcType] = "RA";
    manual[mcIndexed] = "1413";
    manual[mcDiscount] = "420";
    SetFieldLst(tag::kManualCalculationTable, std::make_shared<StringList>(manual));
    SetFieldVal(tag::kUnappliedOtherLosses, 1196);
    Shown t;
    t.Do(MakeAllChoices);
    EXPECT_EQ(t.Cell("Boat", ccMethod), "Discount");
    EXPECT_EQ(t.Cell("Boat", ccOtherApplied), "420");
    EXPECT_EQ(t.Cell("Boat", ccNetGain), "0");
    EXPECT_FALSE(t.Validate());
}

TEST_F(ChoiceTableTest, CurrentYearLossesAreTakenUpBeforePriorYearLosses) {
    SetFieldVal(tag::kUnappliedOtherLosses, 500);
    StoreResult({.key = 1, .name = "Gain", .other = 600});
    StoreResult({.key = 2, .name = "Loss", .loss = 200});
    Shown t;
    t.Do(MakeAllChoices);
    EXPECT_EQ(t.Cell("Gain", ccOtherApplied), "600");
    EXPECT_EQ(t.state.currentOtherApplied, 200);
    EXPECT_EQ(t.state.priorOtherApplied, 400);
    EXPECT_EQ(t.state.unapplied.currentOther, 0);
    EXPECT_EQ(t.state.unapplied.priorOther, 100);
    CellTable grid;
    SetupUnappliedGrid(grid);
    FillUnappliedGrid(grid, t.state.unapplied);
    EXPECT_EQ(grid.Cell(0, 1), "Prior Years");
    EXPECT_EQ(grid.Cell(2, 1), "100");
    EXPECT_EQ(grid.Cell(2, 2), "0");
}

TEST_F(ChoiceTableTest, CollectableLossesOnlyToCollectableRowsAndOtherLossesNever) {
    SetFieldVal(tag::kUnappliedCollectableLosses, 150);
    SetFieldVal(tag::kUnappliedOtherLosses, 300);
    StoreResult({.worksheet = wkPersonalUse, .name = "Painting", .type = "A", .indexed = 400});
    StoreResult({.name = "Shares", .type = "SN", .indexed = 1000});
    Shown t;
    t.Do(MakeAllChoices);
    EXPECT_EQ(t.Cell("Painting", ccCollectableApplied), "150");
    EXPECT_EQ(t.Cell("Painting", ccOtherApplied), "");
    EXPECT_EQ(t.Cell("Shares", ccCollectableApplied), "");
    EXPECT_EQ(t.Cell("Shares", ccOtherApplied), "300");
    EXPECT_EQ(Trimmed(t.Cell("Painting", ccNetGain)), "250.00");
    EXPECT_FALSE(t.Validate());
}

TEST_F(ChoiceTableTest, AFifteenYearExemptGainGivesNoRowButItsLossDoes) {
    StoreResult({.key = 1, .name = "Shop", .type = "SA", .discount = 5000, .fifteenYear = true});
    StoreResult({.key = 2, .name = "Plant", .type = "OA", .loss = 300, .fifteenYear = true});
    StoreResult({.key = 3, .name = "Listed", .type = "SN", .discount = 700, .fifteenYear = true});
    Shown t;
    EXPECT_EQ(t.Row("Shop"), -1);
    EXPECT_NE(t.Row("Plant"), -1);
    EXPECT_NE(t.Row("Listed"), -1); // not an active asset
}

TEST_F(ChoiceTableTest, ATrustComponentIsGrossedUp) {
    StringList trust(kTrustCells);
    trust[kTrustNameCell] = "Fund";
    trust[8] = "250"; // discounted gain from an active asset: discount and reduction
    trust[1] = "40";  // indexed gain as reported
    SetFieldLst(tag::kTrustDistributionTable, std::make_shared<StringList>(trust));
    Shown t;
    EXPECT_EQ(Trimmed(t.Cell("Fund - Trust SBAA/Dis", ccDiscount)), "1000");
    EXPECT_EQ(t.Cell("Fund - Trust SBAA/Dis", ccType), "OA");
    EXPECT_EQ(t.Cell("Fund - Trust Oth/Ind", ccIndexed), "40");
    EXPECT_EQ(t.Cell("Fund - Trust Oth/Ind", ccRowCode), "A2");
    EXPECT_TRUE(FieldChecked(tag::kGainsReported));
}

TEST_F(ChoiceTableTest, ADeferredLossIsNoLossOfThisYear) {
    struct Case {
        EventResult loss;
        long long currentOtherLosses;
        Extended total983;
    };
    const EventResult chosen{
        .key = 2, .name = "Loss", .loss = 300, .canDefer = true, .defer = "Yes"};
    const EventResult marriage{
        .key = 2, .name = "Loss", .loss = 300, .canDefer = true, .marriageBreakdown = true};
    const EventResult kept{.key = 2, .name = "Loss", .loss = 300, .canDefer = true, .defer = "No"};
    for (const Case& c : {Case{chosen, 0, 0}, Case{marriage, 0, 0}, Case{kept, 300, 300}}) {
        ClearStore();
        StoreResult({.key = 1, .name = "Gain", .other = 1000});
        StoreResult(c.loss);
        Shown t;
        EXPECT_EQ(t.state.currentOtherLosses, c.currentOtherLosses);
        EXPECT_EQ(GetFieldVal(tag::kTotalCurrentYearLosses), c.total983);
        // A loss of this year must be applied to the gain; a deferred one is not available.
        EXPECT_EQ(t.Validate().has_value(), c.currentOtherLosses > 0);
    }
}

TEST_F(ChoiceTableTest, ADeferredGainNeedsNoMethod) {
    StoreResult({.indexed = 100, .discount = 300, .canDefer = true, .defer = "Yes"});
    Shown t;
    EXPECT_EQ(t.Cell("Event", ccChoiceRequired), "Yes");
    EXPECT_EQ(t.Cell("Event", ccNetGain), "0");
    EXPECT_FALSE(t.Validate());
}

TEST_F(ChoiceTableTest, TheChecksOnLeavingRefuseWithTheRowAndMessage) {
    struct Case {
        EventResult event;
        int col;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {{.other = 500, .canDefer = true},
         -1,
         "",
         "You must advise if you wish to defer a gain that can be deferred."},
        {{.indexed = 100, .discount = 300}, -1, "", "You must choose the method you wish to use."},
        {{.other = 500}, ccOtherApplied, "501", "A loss applied cannot result in a negative gain."},
    };
    for (const Case& c : cases) {
        ClearStore();
        SetFieldVal(tag::kUnappliedOtherLosses, 1000);
        StoreResult({.key = 1, .name = "First", .other = 10, .loss = 0});
        EventResult second = c.event;
        second.key = 2;
        second.name = "Second";
        StoreResult(second);
        Shown t;
        t.table.SetCell(ccOtherApplied, t.Row("First"), "10");
        if (c.col >= 0) t.table.SetCell(c.col, t.Row("Second"), c.text);
        t.Do(RecalculateChoices);
        const auto refusal = t.Validate();
        ASSERT_TRUE(refusal) << c.message;
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(refusal->row, t.Row("Second"));
        EXPECT_EQ(refusal->col, ccIndexed);
    }
}

TEST_F(ChoiceTableTest, LossesLeftWithGainsLeftAreRefused) {
    SetFieldVal(tag::kUnappliedOtherLosses, 100);
    StoreResult({.other = 500});
    Shown t;
    const auto refusal = t.Validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Losses must be applied until available gains are exhausted.");
    EXPECT_EQ(refusal->row, 1);
}

TEST_F(ChoiceTableTest, AmountsAreShownInWholeDollarsAsTheTableCountsThem) {
    struct Case {
        int col;
        std::string cell, shown;
    };
    const Case cases[] = {
        {ccIndexed, "5012.00", "5012"},
        {ccDiscount, "      5780", "5780"},
        {ccOther, "12.50", "12"},
        {ccLoss, "13.50", "14"}, // halves to even
        {ccCollectableApplied, "0.4", "0"},
        {ccOtherApplied, "99.5", "100"},
        {ccTransferredApplied, "7", "7"},
        {ccIndexed, "", ""},
        {ccDiscount, "n/a", "n/a"},
        {ccNetGain, "   500.50", "   500.50"},
        {ccType, "SN", "SN"},
        {ccIndexFactor, "  33.33333", "  33.33333"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownChoiceCell(c.col, c.cell), c.shown) << c.col << " \"" << c.cell << "\"";
        if (!c.cell.empty() && c.shown != c.cell)
            EXPECT_EQ(std::stoll(c.shown), RoundedWhole(*ParseNumber(c.cell)))
                << "shown as the table counts it";
    }
}

TEST_F(ChoiceTableTest, ChoicesAndLossesAreStoredWithTheirSourcesAndReadBack) {
    SetFieldVal(tag::kUnappliedOtherLosses, 100);
    StoreResult({.name = "Parcel", .indexed = 1000, .discount = 1500, .method = "Discount"});
    // The same event with non-assessable receipts: its row "B" shows the method of row "C".
    FetchRow(wkShares, 1);
    SetFieldChecked(tag::event::kPaymentGainThisYear);
    SetFieldVal(tag::event::kPaymentIndexedGainThisYear, 10);
    SetFieldVal(tag::event::kPaymentDiscountGainThisYear, 40);
    PutRow(wkShares, 1);
    {
        Shown t;
        EXPECT_EQ(t.Cell("Parcel - Non-ass receipt", ccMethod), "Discount");
        t.table.SetCell(ccMethod, t.Row("Parcel - Non-ass receipt"), "Indexed");
        t.table.SetCell(ccMethod, t.Row("Parcel - Disposal"), "Indexed");
        t.table.SetCell(ccOtherApplied, t.Row("Parcel - Disposal"), "100");
        t.Do(RecalculateChoices);
        ASSERT_FALSE(t.Validate());
        t.Leave();
    }
    Shown again;
    EXPECT_EQ(again.Cell("Parcel - Non-ass receipt", ccMethod), "Indexed");
    EXPECT_EQ(again.Cell("Parcel - Disposal", ccMethod), "Indexed");
    EXPECT_EQ(again.Cell("Parcel - Disposal", ccOtherApplied), "100");
    EXPECT_EQ(again.Cell("Parcel - Non-ass receipt", ccOtherApplied), "");
    EXPECT_EQ(Trimmed(again.Cell("Parcel - Disposal", ccNetGain)), "900.00");
}

TEST_F(ChoiceTableTest, ManualAndTrustRowsStoreTheirChoicesInTheirTables) {
    StringList manual(kManualCells);
    manual[mcDescription] = "Boat";
    manual[mcType] = "ON";
    manual[mcIndexed] = "100";
    manual[mcDiscount] = "400";
    SetFieldLst(tag::kManualCalculationTable, std::make_shared<StringList>(manual));
    StringList trust(kTrustCells);
    trust[kTrustNameCell] = "Fund";
    trust[3] = "200"; // other gain
    SetFieldLst(tag::kTrustDistributionTable, std::make_shared<StringList>(trust));
    SetFieldVal(tag::kUnappliedOtherLosses, 250);
    Shown t;
    t.Do(MakeAllChoices);
    ASSERT_FALSE(t.Validate());
    t.Leave();
    const StringListRef storedManual = GetFieldLst(tag::kManualCalculationTable);
    const StringListRef storedTrust = GetFieldLst(tag::kTrustDistributionTable);
    EXPECT_EQ((*storedManual)[ccMethod], "Indexed");  // 400 ÷ 2 > 100 − 50
    EXPECT_EQ((*storedManual)[ccOtherApplied], "50"); // after the trust's 200
    EXPECT_EQ((*storedTrust)[19 + 3], "200");         // other loss, component 3
}

// Running totals give what recomputing the remaining losses from the columns gives: whatever the
// mix of rows, the automatic choices never apply more than is available and leave no gain
// where losses remain.
TEST_F(ChoiceTableTest, AutomaticChoicesOnManyRowsPassTheChecks) {
    std::mt19937 random(7);
    const char* types[] = {"SN", "RN", "ON", "P", "A", "SA", "RA", "OA", "G", "UN"};
    for (int round = 0; round < 20; ++round) {
        ClearStore();
        SetFieldVal(tag::kUnappliedCollectableLosses, random() % 3000);
        SetFieldVal(tag::kUnappliedOtherLosses, random() % 20000);
        for (int key = 1; key <= 40; ++key) {
            EventResult e{
                .key = key, .name = "E" + std::to_string(key), .type = types[random() % 10]};
            switch (random() % 4) {
            case 0:
                e.indexed = random() % 2000 + 1;
                e.discount = random() % 3000 + 1;
                break;
            case 1:
                e.discount = random() % 3000 + 1;
                break;
            case 2:
                e.other = random() % 1000 + 1;
                break;
            default:
                e.loss = random() % 800 + 1;
                break;
            }
            e.canDefer = random() % 5 == 0;
            StoreResult(e);
        }
        Shown t;
        t.Do(MakeAllChoices);
        const auto refusal = t.Validate();
        EXPECT_FALSE(refusal) << "round " << round << ": " << refusal->message << " row "
                              << refusal->row;
        EXPECT_LE(t.state.collectableApplied,
                  t.state.currentCollectableLosses + t.state.priorCollectableLosses);
        EXPECT_LE(t.state.otherApplied, t.state.currentOtherLosses + t.state.priorOtherLosses);
    }
}

} // namespace
} // namespace cgt::test
