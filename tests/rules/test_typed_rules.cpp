// The rules on typed records alone, without the store: an event's results and checks, the choice
// table built from sources made in code, its grid projection read back, and the schedule.

#include <gtest/gtest.h>

// Records are written with designated initialisers; the fields left out keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <random>

#include "base/worksheet_kinds.h"
#include "cgt/rules/choice_grid.h"
#include "cgt/rules/choice_table.h"
#include "cgt/rules/cost_base.h"
#include "cgt/rules/cost_elements.h"
#include "cgt/rules/event.h"
#include "cgt/rules/schedule.h"
#include "controls/core/cell_table.h"

namespace cgt {
namespace {

TEST(MethodResult, KeepsTheStoredConventionBothWays) {
    struct Case {
        Extended stored;
        MethodResult::Kind kind;
        bool present;
    };
    for (const Case& c : {Case{0, MethodResult::Kind::NotAvailable, false},
                          Case{ExplicitZero, MethodResult::Kind::Nil, true},
                          Case{1500, MethodResult::Kind::Amount, true},
                          Case{-3, MethodResult::Kind::Amount, false}}) {
        const MethodResult r = MethodResult::FromStored(c.stored);
        EXPECT_EQ(r.kind(), c.kind) << c.stored;
        EXPECT_EQ(r.Present(), c.present) << c.stored;
        EXPECT_EQ(r.Stored(), c.stored);
    }
    EXPECT_EQ(MethodResult::Nil().Amount(), 0);
    EXPECT_TRUE(MethodResult::Of(2).AboveNil());
    EXPECT_FALSE(MethodResult::Nil().AboveNil());
}

// A share parcel sold with its results stored: `indexed` and `discount` 0 for not available.
Event Parcel(int key, const char* name, Extended indexed, Extended discount, Extended loss = 0) {
    Event e{.kind = wkShares, .row = key, .name = name, .typeCode = "SN"};
    e.results.indexedGain = MethodResult::FromStored(indexed);
    e.results.discountGain = MethodResult::FromStored(discount);
    e.results.capitalLoss = MethodResult::FromStored(loss);
    e.results.disposal = true;
    return e;
}

const ChoiceRow& RowOf(const ChoiceTable& table, std::string_view description) {
    for (const ChoiceRow& row : table.rows)
        if (row.description == description) return row;
    ADD_FAILURE() << "no row " << description;
    static const ChoiceRow none;
    return none;
}

// Losses of 600 against a parcel of 1,000 indexed or 1,500 discounted: the button takes the
// indexed gain, (1,500 - 600) / 2 = 450 being above 1,000 - 600 = 400, and applies all 600.
TEST(ChoiceRules, MakeAllChoicesOnTypedRows) {
    ChoiceSources sources;
    sources.events = {Parcel(1, "BHP", 1000, 1500)};
    sources.priorOtherLosses = 600;
    ChoiceTable table = BuildChoiceTable(sources);
    ASSERT_EQ(table.rows.size(), 1u);
    const ChoiceRow& row = table.rows[0];
    EXPECT_EQ(row.description, "BHP - Disposal");
    EXPECT_EQ(row.section, "Shares");
    EXPECT_TRUE(row.NeedsChoice());
    EXPECT_EQ(row.indexFactor.Text(), "  66.66667") << "the factor as the passes order it";
    EXPECT_EQ(ValidateChoiceTable(table)->message, "You must choose the method you wish to use.");

    MakeAllChoices(table);
    EXPECT_EQ(table.rows[0].method, Method::Indexed);
    EXPECT_EQ(table.rows[0].otherApplied.Dollars(), 600);
    EXPECT_EQ(table.rows[0].netGain.Value(), 400);
    EXPECT_EQ(table.state.netCapitalGain, 400);
    EXPECT_EQ(table.state.unapplied.priorOther, 0);
    EXPECT_FALSE(ValidateChoiceTable(table));

    // Storing gives the event its method and the other loss in its list's entry for a disposal.
    const ChoiceUpdates updates = ChoicesToStore(table);
    ASSERT_EQ(updates.events.size(), 1u);
    EXPECT_EQ(updates.events[0].key, 1);
    const EventChoiceUpdate update = EventChoices(table, updates.events[0]);
    EXPECT_EQ(update.method, "Indexed");
    EXPECT_EQ(update.lossesApplied[2], "600");
    EXPECT_EQ(update.lossesApplied[1], " ");
}

// The table's sources come together in source order: events by worksheet and row, the manual
// table, then the trusts, whose discounted components are grossed up.
TEST(ChoiceRules, RowsFromEveryKindOfSource) {
    ChoiceSources sources;
    Event loss = Parcel(2, "Telstra", 0, 0, 300);
    Event exempt = Parcel(3, "Shop", 0, 5000);
    exempt.typeCode = "SA";
    exempt.fifteenYearExemption = true;
    sources.events = {Parcel(1, "BHP", 0, 800), loss, exempt};
    ChoiceRow manual = ChoiceRowFromCells(ChoiceRowCells(
        ChoiceRow{.description = "Boat", .type = "ON", .other = ChoiceAmount("250")}));
    sources.manual = {manual};
    TrustDistribution trust{.name = "Fund"};
    trust.components[1] = "100"; // the discounted component of other assets
    sources.trusts = {trust};
    const ChoiceTable table = BuildChoiceTable(sources);
    ASSERT_EQ(table.rows.size(), 4u) << "the exempt gain gives no row";
    EXPECT_EQ(table.rows[0].source.Number(), wkShares);
    EXPECT_EQ(table.rows[1].loss.Dollars(), 300);
    EXPECT_EQ(table.rows[2].source.kind, ChoiceSource::Kind::Manual);
    EXPECT_EQ(RowOf(table, "Fund - Trust Oth/Dis").discount.Dollars(), 200);
    EXPECT_EQ(table.state.currentOtherLosses, 300);
    EXPECT_TRUE(table.state.hasSources);
    EXPECT_TRUE(FifteenYearExempt(exempt));
}

// Any row shown in the grid reads back as itself: the grid is a projection of the rows.
TEST(ChoiceGrid, ARowReadsBackFromItsCells) {
    std::mt19937 random(11);
    const char* amounts[] = {"", "0", "1200", "   4500.50", "99.5", "-3"};
    const ChoiceAnswer answers[] = {ChoiceAnswer::None, ChoiceAnswer::Yes, ChoiceAnswer::No};
    const Method methods[] = {Method::None, Method::Indexed, Method::Discount};
    auto amount = [&] { return ChoiceAmount(amounts[random() % 6]); };
    for (int round = 0; round < 200; ++round) {
        ChoiceRow row{.section = "Shares",
                      .description = "Parcel " + std::to_string(round),
                      .type = random() % 2 ? "SN" : "A"};
        for (ChoiceAmount* a :
             {&row.indexed, &row.discount, &row.other, &row.loss, &row.collectableApplied,
              &row.otherApplied, &row.transferredApplied, &row.netGain, &row.indexFactor})
            *a = amount();
        row.choiceRequired = answers[random() % 3];
        row.method = methods[random() % 3];
        row.canDefer = answers[random() % 3];
        row.deferAuto = answers[random() % 3];
        row.defer = answers[random() % 3];
        switch (random() % 4) {
        case 0:
            row.source = ChoiceSource::OfEvent(wkRealEstate, 3, "C");
            break;
        case 1:
            row.source = ChoiceSource::OfManual(0);
            break;
        case 2:
            row.source = ChoiceSource::OfTrust(2, "A5");
            break;
        default:
            break;
        }
        const ChoiceCells cells = ChoiceRowCells(row);
        EXPECT_EQ(ChoiceRowCells(ChoiceRowFromCells(cells)), cells) << round;
    }
    CellTable grid;
    SetupChoiceTable(grid);
    ShowChoiceRows({}, grid);
    EXPECT_EQ(grid.RowCount(), 2) << "an empty table shows one empty row";
    std::vector<ChoiceRow> rows{ChoiceRow{.description = "x"}};
    ReadChoiceGrid(grid, rows);
    EXPECT_TRUE(rows.empty());
}

TEST(CostBaseRules, ARolledOverAssetNeedsItsCostBases) {
    Event event{.name = "Units", .typeCode = "UN"};
    event.rolledOverDate = "01/01/1990";
    auto refusal = CheckCostBase(event, true);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, EventField::SectionTwoIndexed);
    event.sectionTwo = {5000, 5200, 5000};
    event.costBaseDate = "01/01/1990";
    EXPECT_FALSE(CheckCostBase(event, true));
    EXPECT_EQ(CheckCostBase(event, false)->field, EventField::DeceasedEstate);
    event.name = " ";
    EXPECT_FALSE(CheckCostBase(event, false)) << "nothing is checked without a description";
}

// A cost adds to the cost base: a negative amount is refused at its cell unless the element is
// one of the adjustments, which are entered only as negatives.
TEST(CostElementRules, OnlyTheAdjustmentsAreNegative) {
    const Event event{.name = "Beach house", .typeCode = "RN"};
    const struct Case {
        const char* element;
        const char* amount;
        const char* excluded;
        bool refused;
    } cases[] = {
        {"1 - Purchase/Acquisition cost", "1000.00", "", false},
        {"1 - Purchase/Acquisition cost", "-100.00", "", true},
        {"2A - Incidentals re holding & acquisition", "-0.50", "", true},
        {"2A - Incidentals re holding & acquisition", "-100.00", "50.00", true},
        {"6C - Adjustment to cost base", "-250.00", "", false},
        {"6R - Adjustment to reduced cost base", "-250.00", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.element) + " " + c.amount);
        CellTable rows;
        rows.SetColCount(kCostElementColumns);
        rows.SetRowCount(3);
        rows.SetCell(ceElement, 1, "5 - Capital expenditure - maintain ownership");
        rows.SetCell(ceDateIncurred, 1, "01/07/2000");
        rows.SetCell(ceAmount, 1, "10.00");
        rows.SetCell(ceElement, 2, c.element);
        rows.SetCell(ceDateIncurred, 2, "01/07/2000");
        rows.SetCell(ceAmount, 2, c.amount);
        rows.SetCell(ceExcluded, 2, c.excluded);
        const std::optional<Refusal> refusal = CheckCostElements(rows, event);
        ASSERT_EQ(refusal.has_value(), c.refused) << (refusal ? refusal->message : "");
        if (!refusal) continue;
        EXPECT_EQ(refusal->message,
                  "Check the amount entered. Only cost elements 6C and 6R are entered as a "
                  "negative amount.");
        EXPECT_EQ(refusal->field, EventField::CostElements);
        EXPECT_EQ(refusal->row, 2);
        EXPECT_EQ(refusal->col, ceAmount);
    }
}

// Two discounted gains and a loss: the schedule counts them by asset group and method, applies
// the loss first and halves what is left.
TEST(ScheduleRules, PartsFromATypedTable) {
    ChoiceSources sources;
    Event realEstate = Parcel(1, "Unit", 0, 1000);
    realEstate.kind = wkRealEstate;
    realEstate.typeCode = "RN";
    sources.events = {Parcel(1, "BHP", 0, 2000), Parcel(2, "Telstra", 0, 0, 500), realEstate};
    ChoiceTable table = BuildChoiceTable(sources);
    MakeAllChoices(table);
    ASSERT_FALSE(ValidateChoiceTable(table));
    Schedule schedule;
    ReturnResults results;
    ComputeSchedule(table, schedule, results);
    EXPECT_EQ(schedule.nonActiveShares[1], 2000);
    EXPECT_EQ(schedule.nonActiveRealEstate[1], 1000);
    EXPECT_EQ(schedule.lossesShares, 500);
    EXPECT_EQ(schedule.totalGains[1], 3000);
    // The loss goes to the real estate, the first by type: 500 and 2,000 are left.
    EXPECT_EQ(RowOf(table, "Unit - Disposal").otherApplied.Dollars(), 500);
    EXPECT_EQ(schedule.afterLosses[1], 2500);
    EXPECT_EQ(results.totalCurrentYearGains, 3000);
    EXPECT_EQ(schedule.discountNonActive, 1250);
    EXPECT_EQ(results.netCapitalGain, 1250);
    EXPECT_EQ(table.state.netCapitalGain, 1250);
}

} // namespace
} // namespace cgt
