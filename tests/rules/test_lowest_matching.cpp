// The matching of the income year's sales for the lowest net capital gain: against every
// matching of small random trades, by hand on a loss against other gains, with the earlier
// years' sales and the user's namings settled first, and when the search is not allowed.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <random>

#include "cgt/rules/lowest_matching.h"

namespace cgt::test {
namespace {

DateTime Day(int year, int month, int day) {
    return *EncodeDate(year, month, day);
}

Trade Buy(int line, DateTime date, long long units, long long valueCents,
          long long brokerageCents = 0) {
    return {"trades.csv", line, "XYZ", date, TradeSide::Buy, units, valueCents, brokerageCents};
}
Trade Sell(int line, DateTime date, long long units, long long valueCents,
           long long brokerageCents = 0) {
    return {"trades.csv", line, "XYZ", date, TradeSide::Sell, units, valueCents, brokerageCents};
}

// The rest of the return: a manual line of other gains (and a gain with a method to choose) and
// earlier years' other losses.
ChoiceTable Others(long long otherGain, long long priorLosses, long long indexed = 0,
                   long long discount = 0) {
    ChoiceSources sources;
    auto cell = [](long long amount) {
        return amount > 0 ? ChoiceAmount(std::to_string(amount)) : ChoiceAmount();
    };
    auto line = [&](const char* description, long long i, long long d, long long o) {
        ChoiceRow row;
        row.section = "Manual";
        row.description = description;
        row.type = "OA";
        row.indexed = cell(i);
        row.discount = cell(d);
        row.other = cell(o);
        row.canDefer = ChoiceAnswer::No;
        sources.manual.push_back(row);
    };
    if (otherGain > 0) line("Other gain", 0, 0, otherGain);
    if (discount > 0) line("Open method", indexed, discount, 0);
    sources.priorOtherLosses = static_cast<Extended>(priorLosses);
    ChoiceTable table = BuildChoiceTable(sources);
    RecalculateChoices(table);
    return table;
}

// The income year's sales in date order, and every way of taking their units from the parcels
// bought by their dates: the best outcome of them all (the lowest net capital gain, then the most
// loss carried forward).
MatchingOutcome BestOfEveryMatching(const std::vector<Trade>& trades, const ChoiceTable& others) {
    std::vector<const Trade*> parcels, sales;
    for (const Trade& t : trades)
        (t.side == TradeSide::Buy ? parcels : sales).push_back(&t);
    std::stable_sort(sales.begin(), sales.end(),
                     [](const Trade* a, const Trade* b) { return a->date < b->date; });
    std::vector<long long> left;
    for (const Trade* p : parcels)
        left.push_back(p->units);
    std::optional<MatchingOutcome> best;
    std::vector<NamedParcel> namings;
    std::function<void(std::size_t, std::size_t, long long)> take =
        [&](std::size_t sale, std::size_t parcel, long long wanted) {
            if (sale == sales.size()) {
                const TradeMatching matching = MatchTrades(trades, MatchMethod::Fifo, namings);
                if (matching.refused) return;
                if (const MatchingOutcome outcome = OutcomeWith(others, matching);
                    !best || outcome < *best)
                    best = outcome;
                return;
            }
            if (wanted == 0) {
                if (sale + 1 < sales.size())
                    take(sale + 1, 0, sales[sale + 1]->units);
                else
                    take(sale + 1, 0, 0);
                return;
            }
            if (parcel == parcels.size()) return;
            const Trade& s = *sales[sale];
            const Trade& p = *parcels[parcel];
            const long long most = p.date <= s.date ? std::min(wanted, left[parcel]) : 0;
            for (long long units = most; units >= 0; --units) {
                if (units > 0) {
                    NamedParcel naming;
                    naming.saleDate = s.date;
                    naming.code = s.code;
                    naming.units = units;
                    naming.parcelDate = p.date;
                    naming.parcelFile = p.file;
                    naming.parcelLine = p.line;
                    namings.push_back(naming);
                }
                left[parcel] -= units;
                take(sale, parcel + 1, wanted - units);
                left[parcel] += units;
                if (units > 0) namings.pop_back();
            }
        };
    take(0, 0, sales.empty() ? 0 : sales.front()->units);
    return best.value();
}

struct RandomTrades {
    int trials;
    int firstYear; // of the parcels: before 21/9/1999 their gains may be indexed
    bool cents;    // prices and brokerage in cents, whose parts events round
    bool Exact() const { return !cents && firstYear >= 2000; }
};

class LowestMatchingRandom : public testing::TestWithParam<RandomTrades> {};

TEST_P(LowestMatchingRandom, NoMatchingGivesLess) {
    const RandomTrades shape = GetParam();
    std::mt19937 random(1985);
    auto below = [&](long long n) { return static_cast<long long>(random() % n); };
    for (int trial = 0; trial < shape.trials; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        std::vector<Trade> trades;
        const int parcels = 2 + static_cast<int>(below(2));
        long long held = 0;
        for (int p = 0; p < parcels; ++p) {
            const long long units = 1 + below(4);
            const int year = shape.firstYear + static_cast<int>(below(2004 - shape.firstYear));
            const DateTime date = Day(year, 1 + static_cast<int>(below(12)), 10);
            const long long price = shape.cents ? 100 + below(900) : 100 * (1 + below(9));
            trades.push_back(Buy(p + 1, date, units, units * price, shape.cents ? below(3000) : 0));
            held += units;
        }
        // Sales in the year, after every buy, of no more than is held.
        const int sales = 1 + static_cast<int>(below(2));
        for (int s = 0; s < sales && held > 0; ++s) {
            const long long units = 1 + below(held);
            held -= units;
            const long long price = shape.cents ? 100 + below(900) : 100 * (1 + below(9));
            trades.push_back(Sell(parcels + s + 1, Day(2004, 5 + s, 20), units, units * price,
                                  shape.cents ? below(3000) : 0));
        }
        const ChoiceTable others =
            Others(below(12), below(15), below(2) ? 1 + below(8) : 0, 9 + below(8));

        const LowestMatching lowest = MatchForLowestGain(trades, {}, others);
        ASSERT_FALSE(lowest.matching.refused);
        EXPECT_TRUE(lowest.proven);
        const MatchingOutcome best = BestOfEveryMatching(trades, others);
        const MatchingOutcome& got = lowest.outcome;
        // What the method gives is a matching's, so never better than the best of them; with
        // whole dollars it is the best, with indexation or cents within the dollar each event's
        // rounding may cost.
        EXPECT_GE(got.netCapitalGain, best.netCapitalGain);
        if (shape.Exact()) {
            EXPECT_EQ(got.netCapitalGain, best.netCapitalGain);
            EXPECT_EQ(got.lossesCarriedForward, best.lossesCarriedForward);
        } else {
            long long events = 0;
            for (const TradeMatch& m : lowest.matching.matches)
                events += MakesEvent(m) ? 1 : 0;
            EXPECT_LE(got.netCapitalGain, best.netCapitalGain + events);
        }
        EXPECT_FALSE(lowest.firstIn < got);
        EXPECT_EQ(got.netCapitalGain, OutcomeWith(others, lowest.matching).netCapitalGain);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, LowestMatchingRandom,
                         testing::Values(RandomTrades{150, 2000, false},
                                         RandomTrades{100, 1990, false},
                                         RandomTrades{100, 1990, true}));

// A sale of 1000 at $2.50 from a parcel bought at $1 or one bought at $3, both held over a year,
// beside an other gain of $300: n units from the dear parcel give a loss of n/2 against the $300
// and a discount gain of 1.5 (1000 - n) halved, so the net capital gain is 1050 - 1.25n up to
// n = 600, then 900 - n: nil from 900 units.
TEST(LowestMatching, ALossAgainstOtherGainsByHand) {
    const std::vector<Trade> trades = {
        Buy(1, Day(2001, 1, 10), 1000, 100000),
        Buy(2, Day(2002, 1, 10), 1000, 300000),
        Sell(3, Day(2004, 3, 15), 1000, 250000),
    };
    const LowestMatching lowest = MatchForLowestGain(trades, {}, Others(300, 0));
    ASSERT_FALSE(lowest.matching.refused);
    EXPECT_EQ(lowest.firstIn.netCapitalGain, 1050);
    // Nil from 900 units of the dear parcel; all 1000 leave the most loss, $200, to carry
    // forward.
    EXPECT_EQ(lowest.outcome.netCapitalGain, 0);
    EXPECT_EQ(lowest.outcome.lossesCarriedForward, 200);
    long long fromDear = 0;
    for (const TradeMatch& m : lowest.matching.matches) {
        EXPECT_EQ(m.method, MatchMethod::Lowest);
        EXPECT_FALSE(m.named);
        if (m.parcel.line == 2) fromDear += m.units;
    }
    EXPECT_EQ(fromDear, 1000);
}

// An earlier year's sale takes the first parcel first in; the user's naming stands; the rest of
// the year's sale is the method's.
TEST(LowestMatching, EarlierYearsAndNamingsAreSettledFirst) {
    const std::vector<Trade> trades = {
        Buy(1, Day(2000, 1, 10), 100, 10000), // $1
        Buy(2, Day(2001, 1, 10), 100, 50000), // $5
        Buy(3, Day(2002, 1, 10), 100, 90000), // $9
        Sell(4, Day(2003, 2, 1), 50, 20000),  // before the year
        Sell(5, Day(2004, 2, 1), 150, 60000), // $4
    };
    NamedParcel naming;
    naming.saleDate = Day(2004, 2, 1);
    naming.code = "XYZ";
    naming.units = 50;
    naming.parcelDate = Day(2000, 1, 10);
    const LowestMatching lowest = MatchForLowestGain(trades, {naming}, Others(0, 0));
    ASSERT_FALSE(lowest.matching.refused);
    std::map<int, long long> units; // by parcel line, of the year's sale
    for (const TradeMatch& m : lowest.matching.matches) {
        if (!m.incomeYear) {
            EXPECT_EQ(m.parcel.line, 1);
            EXPECT_EQ(m.method, MatchMethod::Fifo);
            continue;
        }
        units[m.parcel.line] += m.units;
        EXPECT_EQ(m.named, m.parcel.line == 1);
    }
    // The named 50 from the first parcel: a gain of $150. The other 100 at a loss: from the $5
    // parcel $100 (a net gain of $25), from the $9 parcel $500, which leaves nil and $350 to carry
    // forward.
    EXPECT_EQ(units, (std::map<int, long long>{{1, 50}, {3, 100}}));
    EXPECT_EQ(lowest.firstIn.netCapitalGain, 25);
    EXPECT_EQ(lowest.outcome.netCapitalGain, 0);
    EXPECT_EQ(lowest.outcome.lossesCarriedForward, 350);
}

TEST(LowestMatching, WithTooManyPairsFirstInStands) {
    const std::vector<Trade> trades = {
        Buy(1, Day(2001, 1, 10), 1000, 100000),
        Buy(2, Day(2002, 1, 10), 1000, 300000),
        Sell(3, Day(2004, 3, 15), 1000, 250000),
    };
    const LowestMatching lowest = MatchForLowestGain(trades, {}, Others(300, 0), 1);
    EXPECT_FALSE(lowest.proven);
    EXPECT_EQ(lowest.outcome.netCapitalGain, lowest.firstIn.netCapitalGain);
    ASSERT_EQ(lowest.matching.matches.size(), 1U);
    EXPECT_EQ(lowest.matching.matches[0].parcel.line, 1);
}

} // namespace
} // namespace cgt::test
