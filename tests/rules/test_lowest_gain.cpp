// The lowest net capital gain: hand-worked tables where it is below the apply-all choices and
// where it is not, and an exhaustive search over small random tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/lowest_gain.h"

namespace cgt {
namespace {

// A line of the manual calculation table: its type, its gains (0 for an empty cell).
ChoiceRow Line(std::string description, std::string type, long long indexed, long long discount,
               long long other = 0) {
    ChoiceRow line;
    line.section = "Manual";
    line.description = std::move(description);
    line.type = std::move(type);
    auto cell = [](long long amount) {
        return amount > 0 ? ChoiceAmount(std::to_string(amount)) : ChoiceAmount();
    };
    line.indexed = cell(indexed);
    line.discount = cell(discount);
    line.other = cell(other);
    line.canDefer = ChoiceAnswer::No;
    return line;
}

struct Losses {
    long long collectable = 0, other = 0;
};

ChoiceTable TableOf(std::vector<ChoiceRow> lines, Losses losses) {
    ChoiceSources sources;
    sources.manual = std::move(lines);
    sources.priorCollectableLosses = static_cast<Extended>(losses.collectable);
    sources.priorOtherLosses = static_cast<Extended>(losses.other);
    ChoiceTable table = BuildChoiceTable(sources);
    RecalculateChoices(table);
    return table;
}

const ChoiceRow& RowOf(const ChoiceTable& table, std::string_view description) {
    for (const ChoiceRow& row : table.rows)
        if (row.description == description) return row;
    ADD_FAILURE() << "no row " << description;
    static const ChoiceRow none;
    return none;
}

long long AppliedLoss(const ChoiceTable& table) {
    return table.state.collectableApplied + table.state.otherApplied;
}

// The net gain column's total in half dollars.
long long HalfDollars(const ChoiceTable& table) {
    long long total = 0;
    for (const ChoiceRow& row : table.rows)
        total += std::llround(2 * static_cast<double>(row.netGain.Value()));
    return total;
}

struct HandCase {
    const char* name;
    std::vector<ChoiceRow> lines;
    Losses losses;
    long long applyAll;          // the apply-all button's net capital gain
    long long lowest;            // the lowest
    std::vector<Method> methods; // of the lines that need one, in order
    long long carriedForward;    // losses left
};

TEST(LowestGain, HandWorkedTables) {
    const std::vector<HandCase> cases = {
        // The button makes the parcel Indexed and spends the losses on it (1,000); the lowest
        // takes the discount (750) and puts the losses on the active asset's other gain.
        {"parcel beside a gain taxed dollar for dollar",
         {Line("Parcel", "SN", 1000, 1500), Line("Business", "OA", 0, 0, 1000)},
         {0, 1000},
         1000,
         750,
         {Method::Discount},
         0},
        // One Indexed and one Discount: the first absorbs 600 at a dollar a dollar, the rest
        // halves the second, (1,300 - 400) / 2 = 450; the button already finds it.
        {"two parcels, one of each method",
         {Line("Early", "SN", 600, 1000), Line("Late", "SN", 1000, 1300)},
         {0, 1000},
         450,
         450,
         {Method::Indexed, Method::Discount},
         0},
        // Other losses may reduce a collectable's gain; the button leaves them unapplied.
        {"collectable gain reduced by other losses",
         {Line("Painting", "A", 0, 0, 500)},
         {0, 800},
         500,
         0,
         {},
         300},
        // Collectable losses reach collectables only; other losses take the rest.
        {"collectable losses stay with collectables",
         {Line("Painting", "A", 0, 0, 500), Line("Shares", "SN", 0, 0, 400)},
         {300, 500},
         200,
         100,
         {},
         0},
        // Losses above every gain: any method gives nil, Indexed needs less loss and carries the
        // most forward.
        {"losses exceed every gain",
         {Line("Parcel", "SN", 1000, 1500)},
         {0, 5000},
         0,
         0,
         {Method::Indexed},
         4000},
        // 600 of losses against 1,000 indexed or 1,500 discounted: indexed leaves 400 and
        // discount 450; the button's answer is the lowest.
        {"the button already lowest",
         {Line("Parcel", "SN", 1000, 1500)},
         {0, 600},
         400,
         400,
         {Method::Indexed},
         0},
        // Odd halves: a discount gain of 625 with no loss nets 312.50, shown as $312.
        {"no losses", {Line("Parcel", "SN", 400, 625)}, {0, 0}, 312, 312, {Method::Discount}, 0},
    };
    for (const HandCase& c : cases) {
        SCOPED_TRACE(c.name);
        ChoiceTable table = TableOf(c.lines, c.losses);
        ChoiceTable applyAll = table;
        MakeAllChoices(applyAll);
        EXPECT_EQ(applyAll.state.netCapitalGain, c.applyAll);

        const LowestChoices lowest = MakeLowestChoices(table);
        EXPECT_TRUE(lowest.found);
        EXPECT_EQ(lowest.netCapitalGain, c.lowest);
        EXPECT_EQ(table.state.netCapitalGain, c.lowest);
        EXPECT_EQ(lowest.applyAllNetCapitalGain, c.applyAll);
        std::vector<Method> methods;
        for (const ChoiceRow& row : table.rows)
            if (row.NeedsChoice()) methods.push_back(row.method);
        EXPECT_EQ(methods, c.methods);
        const UnappliedLosses& u = table.state.unapplied;
        EXPECT_EQ(u.currentCollectable + u.priorCollectable + u.currentOther + u.priorOther,
                  c.carriedForward);
        const std::optional<Refusal> refused = ValidateChoiceTable(table);
        EXPECT_FALSE(refused) << refused->message;
    }
}

TEST(LowestGain, TheNoteSaysHowFarBelowTheButton) {
    ChoiceTable table =
        TableOf({Line("Parcel", "SN", 1000, 1500), Line("Business", "OA", 0, 0, 1000)}, {0, 1000});
    const LowestChoices lowest = MakeLowestChoices(table);
    EXPECT_EQ(LowestChoicesNote(lowest),
              "This is the lowest net capital gain the rules allow, $250 "
              "below what \"Let Tesmo make all choices\" gives.");
    EXPECT_EQ(RowOf(table, "Business").otherApplied.Dollars(), 1000);
    EXPECT_EQ(RowOf(table, "Parcel").netGain.Value(), 750);

    ChoiceTable plain = TableOf({Line("Parcel", "SN", 1000, 1500)}, {0, 600});
    EXPECT_EQ(LowestChoicesNote(MakeLowestChoices(plain)),
              "This is the lowest net capital gain the rules allow.");
    EXPECT_EQ(LowestChoicesNote(LowestChoices{}),
              "The lowest net capital gain could not be proven in the time allowed; the choices "
              "are those of \"Let Tesmo make all choices\".");
}

// A search that gives up leaves the apply-all choices and says the lowest was not found.
TEST(LowestGain, GivingUpLeavesTheApplyAllChoices) {
    std::vector<ChoiceRow> lines;
    long long indexed = 0;
    for (int i = 1; i <= 30; ++i) { // one profit per weight, every weight even
        const long long gain = 4 * (1000 + 37 * i);
        lines.push_back(Line("Parcel " + std::to_string(i), "SN", gain, gain * 3 / 2));
        indexed += gain;
    }
    ChoiceTable table = TableOf(lines, {0, indexed / 2 | 1});
    ChoiceTable applyAll = table;
    MakeAllChoices(applyAll);
    const LowestChoices lowest = MakeLowestChoices(table, 1000);
    EXPECT_FALSE(lowest.found);
    EXPECT_EQ(lowest.netCapitalGain, applyAll.state.netCapitalGain);
    EXPECT_EQ(table.state.netCapitalGain, applyAll.state.netCapitalGain);
    for (std::size_t i = 0; i < table.rows.size(); ++i)
        EXPECT_EQ(table.rows[i].method, applyAll.rows[i].method);
}

// Capital losses transferred in are applied before the other losses, and all of them, as the
// table's checks want; the button leaves them to the user.
TEST(LowestGain, AppliesTheLossesTransferredIn) {
    ChoiceSources sources;
    sources.manual = {Line("Parcel", "SN", 1000, 1500), Line("Business", "OA", 0, 0, 1000)};
    sources.priorOtherLosses = 700;
    sources.transferredInLosses = 300;
    ChoiceTable table = BuildChoiceTable(sources);
    RecalculateChoices(table);
    const LowestChoices lowest = MakeLowestChoices(table);
    EXPECT_EQ(lowest.netCapitalGain, 750);
    EXPECT_EQ(RowOf(table, "Business").transferredApplied.Dollars(), 300);
    EXPECT_EQ(RowOf(table, "Business").otherApplied.Dollars(), 700);
    EXPECT_EQ(table.state.transferredApplied, 300);
    const std::optional<Refusal> refused = ValidateChoiceTable(table);
    EXPECT_FALSE(refused) << refused->message;
}

// A deferrable gain is deferred as the defer button decides, before the methods and losses.
TEST(LowestGain, DefersAsTheDeferButton) {
    ChoiceRow deferrable = Line("Rolled over", "SN", 0, 0, 900);
    deferrable.canDefer = ChoiceAnswer::Yes;
    ChoiceTable table = TableOf({deferrable, Line("Parcel", "SN", 1000, 1500)}, {0, 400});
    const LowestChoices lowest = MakeLowestChoices(table);
    EXPECT_EQ(RowOf(table, "Rolled over").defer, ChoiceAnswer::Yes);
    EXPECT_TRUE(RowOf(table, "Rolled over").otherApplied.Empty());
    EXPECT_EQ(lowest.netCapitalGain, 550); // (1,500 - 400) / 2 beats 1,000 - 400
    EXPECT_FALSE(ValidateChoiceTable(table));
}

// ---- Exhaustive search ---------------------------------------------------------------------

// The lowest total (half dollars) and, with it, the least loss applied, by trying every method
// of every row and every whole-dollar split of each pool's losses over the rows: a table of
// reachable (collectable used, other used) states, row by row.
struct Best {
    long long halfDollars = 0;
    long long lossApplied = 0;
};

struct SmallRow {
    bool collectable;
    bool choice;
    long long indexed, discount, other;
};

Best Exhaustive(const std::vector<SmallRow>& rows, Losses losses) {
    constexpr long long kUnreached = std::numeric_limits<long long>::max();
    const long long width = losses.other + 1;
    std::vector<long long> best((losses.collectable + 1) * width, kUnreached);
    best[0] = 0;
    for (const SmallRow& r : rows) {
        // The gain and rate (2: dollar for dollar, 1: halved) of each method the row may take.
        std::vector<std::pair<long long, long long>> methods;
        if (r.choice)
            methods = {{r.indexed, 2}, {r.discount, 1}};
        else if (r.indexed > 0)
            methods = {{r.indexed, 2}};
        else if (r.discount > 0)
            methods = {{r.discount, 1}};
        else
            methods = {{r.other, 2}};
        std::vector<long long> next(best.size(), kUnreached);
        for (long long c = 0; c <= losses.collectable; ++c)
            for (long long o = 0; o <= losses.other; ++o) {
                const long long here = best[c * width + o];
                if (here == kUnreached) continue;
                for (auto [gain, rate] : methods)
                    for (long long ac = 0; ac <= (r.collectable ? gain : 0); ++ac)
                        for (long long ao = 0; ac + ao <= gain; ++ao) {
                            if (c + ac > losses.collectable || o + ao > losses.other) break;
                            long long& slot = next[(c + ac) * width + o + ao];
                            slot = std::min(slot, here + rate * (gain - ac - ao));
                        }
            }
        best = std::move(next);
    }
    Best answer{kUnreached, 0};
    for (long long c = 0; c <= losses.collectable; ++c)
        for (long long o = 0; o <= losses.other; ++o) {
            const long long total = best[c * width + o];
            if (total < answer.halfDollars ||
                (total == answer.halfDollars && c + o < answer.lossApplied))
                answer = {total, c + o};
        }
    return answer;
}

// Random tables of a few rows, and tables with more collectables needing a method than are tried
// in every combination (so that the mixed-integer program chooses).
struct RandomTables {
    int trials;
    int mostRows;
    int collectableParcels; // collectables needing a method, before the random rows
};

class LowestGainRandom : public testing::TestWithParam<RandomTables> {};

TEST_P(LowestGainRandom, MatchesExhaustiveSearch) {
    const RandomTables shape = GetParam();
    std::mt19937 random(2004);
    auto below = [&](long long n) { return static_cast<long long>(random() % n); };
    const char* const types[] = {"SN", "OA", "A", "RN"};
    for (int trial = 0; trial < shape.trials; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        std::vector<SmallRow> rows;
        std::vector<ChoiceRow> lines;
        const int count = shape.collectableParcels + 1 + static_cast<int>(below(shape.mostRows));
        for (int i = 0; i < count; ++i) {
            const bool parcel = i < shape.collectableParcels;
            const std::string type = parcel ? "A" : types[below(4)];
            const bool choice = parcel || below(3) != 0;
            SmallRow r{type == "A", choice, 0, 0, 0};
            if (choice) {
                r.discount = 1 + below(14);
                // Indexation lowers the gain; a collectable parcel's indexed gain is above half
                // its discount gain, so that its method is open.
                r.indexed = parcel ? r.discount / 2 + 1 + below(r.discount - r.discount / 2)
                                   : 1 + below(r.discount);
            } else if (below(2) == 0) {
                r.discount = 1 + below(14); // a discount gain with no indexed one
            } else {
                r.other = 1 + below(14);
            }
            rows.push_back(r);
            lines.push_back(
                Line("Line " + std::to_string(i), type, r.indexed, r.discount, r.other));
        }
        const Losses losses{below(12), below(20)};
        const Best best = Exhaustive(rows, losses);

        ChoiceTable table = TableOf(lines, losses);
        ChoiceTable applyAll = table;
        MakeAllChoices(applyAll);
        const LowestChoices lowest = MakeLowestChoices(table);
        ASSERT_TRUE(lowest.found);
        EXPECT_EQ(HalfDollars(table), best.halfDollars);
        EXPECT_EQ(AppliedLoss(table), best.lossApplied);
        EXPECT_LE(lowest.netCapitalGain, applyAll.state.netCapitalGain);
        const std::optional<Refusal> refused = ValidateChoiceTable(table);
        EXPECT_FALSE(refused) << refused->message;
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, LowestGainRandom,
                         testing::Values(RandomTables{2000, 8, 0}, RandomTables{60, 3, 9}));

} // namespace
} // namespace cgt
