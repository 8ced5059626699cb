// Parcels and the matching of sales to them: the methods, named parcels, the split of each
// trade's amounts in cents, the income year's bounds and the refusals; the event of a match.

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "base/amounts.h"
#include "base/worksheet_kinds.h"
#include "cgt/rules/trade_matching.h"

namespace cgt::test {
namespace {

DateTime Day(int year, int month, int day) {
    return *EncodeDate(year, month, day);
}

Trade Buy(int line, const char* code, DateTime date, long long units, long long valueCents,
          long long brokerageCents = 0) {
    return {"trades.csv", line, code, date, TradeSide::Buy, units, valueCents, brokerageCents};
}
Trade Sell(int line, const char* code, DateTime date, long long units, long long valueCents,
           long long brokerageCents = 0) {
    return {"trades.csv", line, code, date, TradeSide::Sell, units, valueCents, brokerageCents};
}

NamedParcel Naming(DateTime saleDate, const char* code, long long units, DateTime parcelDate,
                   const char* file = "", int line = 0) {
    NamedParcel naming;
    naming.saleDate = saleDate;
    naming.code = code;
    naming.units = units;
    naming.parcelDate = parcelDate;
    naming.file = file;
    naming.line = line;
    return naming;
}

// A match in short: the parcel's line, the units and whether the parcel was named.
struct Taken {
    int parcelLine;
    long long units;
    bool named = false;
    bool operator==(const Taken&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Taken& t) {
    return out << "{line " << t.parcelLine << ", " << t.units << (t.named ? ", named}" : "}");
}

std::vector<Taken> Taking(const TradeMatching& result) {
    std::vector<Taken> taken;
    for (const TradeMatch& m : result.matches)
        taken.push_back({m.parcel.line, m.units, m.named});
    return taken;
}

// Three parcels of one code at $1, $3 and $2 a unit, and a sale that needs some of each.
std::vector<Trade> ThreeParcelsAndASale() {
    return {Buy(1, "BHP", Day(2002, 8, 1), 100, 10000, 1995),
            Buy(2, "BHP", Day(2002, 9, 1), 100, 30000, 2995),
            Buy(3, "BHP", Day(2002, 10, 1), 100, 20000, 1995),
            Sell(4, "BHP", Day(2004, 3, 1), 250, 100000, 2995)};
}

TEST(TradeMatching, ASaleTakesThreeParcelsInTheOrderOfTheMethod) {
    struct Case {
        MatchMethod method;
        std::vector<Taken> taken;
        long long lastCostCents; // half of the last parcel taken
    };
    const Case cases[] = {
        {MatchMethod::Fifo, {{1, 100}, {2, 100}, {3, 50}}, 10000},
        {MatchMethod::Lifo, {{3, 100}, {2, 100}, {1, 50}}, 5000},
        {MatchMethod::Highest, {{2, 100}, {3, 100}, {1, 50}}, 5000},
    };
    for (const Case& c : cases) {
        const TradeMatching result = MatchTrades(ThreeParcelsAndASale(), c.method);
        ASSERT_FALSE(result.refused) << result.refused->Text();
        EXPECT_EQ(Taking(result), c.taken) << static_cast<int>(c.method);
        EXPECT_EQ(result.matches.back().costCents, c.lastCostCents);
        for (const TradeMatch& m : result.matches) {
            EXPECT_EQ(m.method, c.method);
            EXPECT_TRUE(m.incomeYear);
            EXPECT_FALSE(m.before1985);
            EXPECT_EQ(m.sale.line, 4);
        }
    }
}

TEST(TradeMatching, HighestTakesTheEarlierOfEqualPricesFirst) {
    const std::vector<Trade> trades = {
        Buy(1, "NAB", Day(2002, 8, 1), 10, 1000), Buy(2, "NAB", Day(2002, 9, 1), 20, 2000),
        Buy(3, "NAB", Day(2002, 10, 1), 5, 501), Sell(4, "NAB", Day(2004, 3, 1), 20, 3000)};
    const TradeMatching result = MatchTrades(trades, MatchMethod::Highest);
    EXPECT_EQ(Taking(result), (std::vector<Taken>{{3, 5}, {1, 10}, {2, 5}}));
}

TEST(TradeMatching, PartsAreSplitByUnitsWithTheRemainderOnTheLastPart) {
    struct Case {
        const char* what;
        std::vector<Trade> trades;
        std::vector<long long> proceeds, saleBrokerage, cost, buyBrokerage;
    };
    const DateTime bought = Day(2002, 8, 1);
    const DateTime sold = Day(2004, 3, 1);
    const Case cases[] = {
        {"a parcel over three sales",
         {Buy(1, "ANZ", bought, 3, 10000, 1000), Sell(2, "ANZ", sold, 1, 500, 100),
          Sell(3, "ANZ", sold, 1, 500, 100), Sell(4, "ANZ", sold + 1, 1, 500, 100)},
         {500, 500, 500},
         {100, 100, 100},
         {3333, 3333, 3334},
         {333, 333, 334}},
        {"a sale over three parcels",
         {Buy(1, "ANZ", bought, 1, 700, 10), Buy(2, "ANZ", bought, 1, 700, 10),
          Buy(3, "ANZ", bought, 1, 700, 10), Sell(4, "ANZ", sold, 3, 1000, 200)},
         {333, 333, 334},
         {67, 67, 66},
         {700, 700, 700},
         {10, 10, 10}},
        // Each unit's share rounds up to a cent: the parts stop where the amount runs out.
        {"cents fewer than the units",
         {Buy(1, "ANZ", bought, 4, 2, 0), Sell(2, "ANZ", sold, 1, 100),
          Sell(3, "ANZ", sold, 1, 100), Sell(4, "ANZ", sold, 1, 100), Sell(5, "ANZ", sold, 1, 100)},
         {100, 100, 100, 100},
         {0, 0, 0, 0},
         {1, 1, 0, 0},
         {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const TradeMatching result = MatchTrades(c.trades, MatchMethod::Fifo);
        ASSERT_FALSE(result.refused) << c.what;
        std::vector<long long> proceeds, saleBrokerage, cost, buyBrokerage;
        for (const TradeMatch& m : result.matches) {
            proceeds.push_back(m.proceedsCents);
            saleBrokerage.push_back(m.saleBrokerageCents);
            cost.push_back(m.costCents);
            buyBrokerage.push_back(m.buyBrokerageCents);
        }
        EXPECT_EQ(proceeds, c.proceeds) << c.what;
        EXPECT_EQ(saleBrokerage, c.saleBrokerage) << c.what;
        EXPECT_EQ(cost, c.cost) << c.what;
        EXPECT_EQ(buyBrokerage, c.buyBrokerage) << c.what;
    }
}

// Random trades of two codes: every sale's parts add up to it exactly, every parcel's parts to
// no more than it, and to it exactly once its units are all sold.
TEST(TradeMatching, ThePartsOfEveryTradeAddUpToIt) {
    std::mt19937 random(451);
    for (int round = 0; round < 200; ++round) {
        std::vector<Trade> trades;
        std::map<std::string, long long> held;
        DateTime date = Day(2002, 1, 1);
        for (int line = 1; line <= 30; ++line) {
            const char* code = random() % 2 ? "CBA" : "WBC";
            date += static_cast<int>(random() % 60);
            const long long units = 1 + random() % 7;
            const long long value = random() % 2000, brokerage = random() % 30;
            if (random() % 2 && held[code] >= units) {
                trades.push_back(Sell(line, code, date, units, value, brokerage));
                held[code] -= units;
            } else {
                trades.push_back(Buy(line, code, date, units, value, brokerage));
                held[code] += units;
            }
        }
        const auto method = static_cast<MatchMethod>(round % 3);
        const TradeMatching result = MatchTrades(trades, method);
        ASSERT_FALSE(result.refused) << result.refused->Text();

        struct Sum {
            long long units = 0, value = 0, brokerage = 0;
        };
        std::map<int, Sum> sales, parcels;
        for (const TradeMatch& m : result.matches) {
            Sum& s = sales[m.sale.line];
            s.units += m.units, s.value += m.proceedsCents, s.brokerage += m.saleBrokerageCents;
            Sum& p = parcels[m.parcel.line];
            p.units += m.units, p.value += m.costCents, p.brokerage += m.buyBrokerageCents;
            EXPECT_GE(m.proceedsCents, 0);
            EXPECT_GE(m.costCents, 0);
            EXPECT_GE(m.buyBrokerageCents, 0);
            EXPECT_GE(m.saleBrokerageCents, 0);
        }
        for (const Trade& t : trades) {
            if (t.side == TradeSide::Sell && t.date <= Day(2004, 6, 30)) {
                EXPECT_EQ(sales[t.line].units, t.units);
                EXPECT_EQ(sales[t.line].value, t.valueCents);
                EXPECT_EQ(sales[t.line].brokerage, t.brokerageCents);
            } else if (t.side == TradeSide::Buy) {
                const Sum& p = parcels[t.line];
                EXPECT_LE(p.units, t.units);
                EXPECT_LE(p.value, t.valueCents);
                EXPECT_LE(p.brokerage, t.brokerageCents);
                if (p.units == t.units) {
                    EXPECT_EQ(p.value, t.valueCents);
                    EXPECT_EQ(p.brokerage, t.brokerageCents);
                }
            }
        }
    }
}

TEST(TradeMatching, ABuyComesBeforeASellOfTheSameDateWhateverTheFileOrder) {
    const DateTime day = Day(2003, 11, 5);
    // Two files: the sale listed before the buys of its day; the buys of one day in file order.
    std::vector<Trade> trades = {Sell(3, "QAN", day, 150, 60000),
                                 Buy(4, "QAN", day, 100, 39000, 1000),
                                 Buy(9, "QAN", day, 100, 40000, 1000)};
    trades[2].file = "second.csv";
    const TradeMatching result = MatchTrades(trades, MatchMethod::Fifo);
    ASSERT_FALSE(result.refused);
    EXPECT_EQ(Taking(result), (std::vector<Taken>{{4, 100}, {9, 50}}));
    EXPECT_EQ(result.matches[1].parcel.file, "second.csv");
}

TEST(TradeMatching, AParcelBoughtBefore20September1985MakesNoEvent) {
    struct Case {
        DateTime bought;
        bool before1985;
    };
    const Case cases[] = {{Day(1984, 6, 30), true},
                          {Day(1985, 9, 19), true},
                          {Day(1985, 9, 20), false},
                          {Day(1990, 1, 2), false}};
    for (const Case& c : cases) {
        const TradeMatching result = MatchTrades(
            {Buy(1, "WOW", c.bought, 10, 1000), Sell(2, "WOW", Day(2004, 2, 2), 10, 9000)},
            MatchMethod::Fifo);
        ASSERT_EQ(result.matches.size(), 1u) << FormatDate(c.bought);
        EXPECT_EQ(result.matches[0].before1985, c.before1985) << FormatDate(c.bought);
        EXPECT_EQ(MakesEvent(result.matches[0]), !c.before1985) << FormatDate(c.bought);
    }
}

TEST(TradeMatching, NamedParcelsComeFirstAndTheMethodTakesTheRest) {
    const DateTime sold = Day(2004, 3, 1);
    struct Case {
        const char* what;
        std::vector<NamedParcel> named;
        std::vector<Taken> taken;
    };
    const Case cases[] = {
        {"the last parcel named",
         {Naming(sold, "BHP", 100, Day(2002, 10, 1))},
         {{3, 100, true}, {1, 100}, {2, 50}}},
        {"a named parcel the method also takes from is one match",
         {Naming(sold, "BHP", 30, Day(2002, 8, 1))},
         {{1, 100, true}, {2, 100}, {3, 50}}},
        {"two parcels named",
         {Naming(sold, "BHP", 100, Day(2002, 9, 1)), Naming(sold, "BHP", 50, Day(2002, 10, 1))},
         {{2, 100, true}, {3, 50, true}, {1, 100}}},
    };
    for (const Case& c : cases) {
        const TradeMatching result =
            MatchTrades(ThreeParcelsAndASale(), MatchMethod::Fifo, c.named);
        ASSERT_FALSE(result.refused) << c.what << ": " << result.refused->Text();
        EXPECT_EQ(Taking(result), c.taken) << c.what;
    }
}

TEST(TradeMatching, RefusesASaleOfMoreUnitsThanAreHeld) {
    struct Case {
        const char* what;
        std::vector<Trade> trades;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"no parcel at all",
         {Buy(1, "CBA", Day(2002, 1, 1), 100, 100000), Sell(2, "NAB", Day(2003, 8, 1), 40, 4000)},
         2,
         "sale of 40 NAB on 01/08/2003: 40 units more than are held"},
        {"a parcel bought after the sale",
         {Sell(1, "CBA", Day(2003, 8, 1), 100, 4000), Buy(2, "CBA", Day(2003, 8, 2), 100, 100000)},
         1,
         "sale of 100 CBA on 01/08/2003: 100 units more than are held"},
        {"a sale before the income year",
         {Buy(1, "CBA", Day(2002, 1, 1), 100, 100000), Sell(2, "CBA", Day(2002, 8, 1), 60, 4000),
          Sell(3, "CBA", Day(2003, 2, 1), 60, 4000)},
         3,
         "sale of 60 CBA on 01/02/2003: 20 units more than are held"},
    };
    for (const Case& c : cases) {
        const TradeMatching result = MatchTrades(c.trades, MatchMethod::Fifo);
        ASSERT_TRUE(result.refused) << c.what;
        EXPECT_EQ(result.refused->file, "trades.csv") << c.what;
        EXPECT_EQ(result.refused->line, c.line) << c.what;
        EXPECT_EQ(result.refused->message, c.message) << c.what;
        EXPECT_TRUE(result.matches.empty()) << c.what;
    }
}

TEST(TradeMatching, RefusesANamingThatCannotBeMet) {
    const DateTime sold = Day(2004, 3, 1);
    struct Case {
        const char* what;
        std::vector<NamedParcel> named;
        std::string text;
    };
    const Case cases[] = {
        {"more units than the parcel holds",
         {Naming(sold, "BHP", 150, Day(2002, 9, 1), "parcels.csv", 2)},
         "parcels.csv:2: 150 units of BHP bought 01/09/2002 are named for the sale on "
         "01/03/2004 but 100 are held"},
        {"no parcel bought that day, named without a file",
         {Naming(sold, "BHP", 10, Day(2002, 9, 2))},
         "trades.csv:4: 10 units of BHP bought 02/09/2002 are named for the sale on 01/03/2004 "
         "but 0 are held"},
        {"no sale on the date named",
         {Naming(sold - 1, "BHP", 10, Day(2002, 9, 1), "parcels.csv", 7)},
         "parcels.csv:7: 10 units of BHP bought 01/09/2002 are named for a sale on 29/02/2004 "
         "that does not sell them"},
        {"more units than the sale sells",
         {Naming(sold, "BHP", 100, Day(2002, 8, 1), "parcels.csv", 1),
          Naming(sold, "BHP", 100, Day(2002, 9, 1), "parcels.csv", 2),
          Naming(sold, "BHP", 60, Day(2002, 10, 1), "parcels.csv", 3)},
         "parcels.csv:3: 10 units of BHP bought 01/10/2002 are named for a sale on 01/03/2004 "
         "that does not sell them"},
    };
    for (const Case& c : cases) {
        const TradeMatching result =
            MatchTrades(ThreeParcelsAndASale(), MatchMethod::Fifo, c.named);
        ASSERT_TRUE(result.refused) << c.what;
        EXPECT_EQ(result.refused->Text(), c.text) << c.what;
        EXPECT_TRUE(result.matches.empty()) << c.what;
    }
}

TEST(TradeMatching, OnlyTheIncomeYearsSalesMatchForEventsAndLaterOnesAreIgnored) {
    struct Case {
        DateTime sold;
        bool matched;
        bool incomeYear;
    };
    const Case cases[] = {{Day(2003, 6, 30), true, false},
                          {Day(2003, 7, 1), true, true},
                          {Day(2004, 6, 30), true, true},
                          {Day(2004, 7, 1), false, false}};
    for (const Case& c : cases) {
        const TradeMatching result = MatchTrades(
            {Buy(1, "TLS", Day(2001, 5, 1), 100, 50000), Sell(2, "TLS", c.sold, 100, 60000)},
            MatchMethod::Fifo);
        ASSERT_FALSE(result.refused);
        ASSERT_EQ(result.matches.size(), c.matched ? 1u : 0u) << FormatDate(c.sold);
        if (c.matched) {
            EXPECT_EQ(result.matches[0].incomeYear, c.incomeYear) << FormatDate(c.sold);
            EXPECT_EQ(MakesEvent(result.matches[0]), c.incomeYear) << FormatDate(c.sold);
        }
    }
}

TEST(TradeMatching, ASaleBeforeTheIncomeYearUsesUpItsParcels) {
    const std::vector<Trade> trades = {
        Buy(1, "AMP", Day(2002, 8, 1), 100, 50000, 3000),
        Buy(2, "AMP", Day(2002, 9, 1), 100, 60000, 3000),
        Sell(3, "AMP", Day(2003, 3, 1), 150, 90000, 3000),
        Sell(4, "AMP", Day(2003, 9, 1), 50, 40000, 3000),
        // Sold after the income year with nothing held: ignored, not refused.
        Sell(5, "AMP", Day(2004, 7, 1), 500, 40000, 3000),
    };
    const TradeMatching result = MatchTrades(trades, MatchMethod::Fifo);
    ASSERT_FALSE(result.refused);
    ASSERT_EQ(Taking(result), (std::vector<Taken>{{1, 100}, {2, 50}, {2, 50}}));
    EXPECT_FALSE(result.matches[0].incomeYear);
    EXPECT_FALSE(result.matches[1].incomeYear);
    const TradeMatch& last = result.matches[2];
    EXPECT_TRUE(last.incomeYear);
    // The rest of the second parcel: its value and brokerage less the earlier sale's parts.
    EXPECT_EQ(last.costCents, 30000);
    EXPECT_EQ(last.buyBrokerageCents, 1500);
}

TEST(TradeMatching, TheEventOfAMatchIsAPlainSaleOfShares) {
    TradeMatch match;
    match.sale = Sell(12, "BHP", Day(2004, 3, 15), 250, 250099, 2995);
    match.parcel = Buy(3, "BHP", Day(2002, 8, 1), 500, 100000, 1995);
    match.units = 250;
    match.proceedsCents = 123499;
    match.costCents = 50000;
    match.buyBrokerageCents = 998;
    match.saleBrokerageCents = 1497;
    match.incomeYear = true;

    const Event event = EventOfMatch(match);
    EXPECT_EQ(event.kind, wkShares);
    EXPECT_EQ(event.name, "BHP 250 shares bought 01/08/2002");
    EXPECT_EQ(event.typeCode, "SN");
    EXPECT_EQ(event.acquisitionDate.text, "01/08/2002");
    EXPECT_EQ(event.eventDate.text, "15/03/2004");
    EXPECT_EQ(event.proceeds, 1234);
    EXPECT_TRUE(event.rollOver.no);
    EXPECT_FALSE(event.rollOver.yes);
    EXPECT_EQ(event.deceasedEstate, 2);
    EXPECT_EQ(kSaleEventCode, "A1");

    struct Expected {
        const char* text;
        const char* code;
        const char* date;
        Extended amount;
    };
    const Expected expected[] = {
        {"1 - Purchase/Acquisition cost", "1", "01/08/2002", 500.00L},
        {"2A - Incidentals re holding & acquisition", "2A", "01/08/2002", 9.98L},
        {"2B - Incidentals re specific CGT event", "2B", "15/03/2004", 14.97L},
    };
    ASSERT_EQ(event.elements.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const CostElement& e = event.elements[i];
        EXPECT_EQ(e.text, expected[i].text);
        EXPECT_TRUE(e.entered);
        EXPECT_EQ(e.code, expected[i].code);
        EXPECT_EQ(e.dateIncurred, expected[i].date);
        EXPECT_EQ(e.datePaid, expected[i].date);
        EXPECT_NEAR(static_cast<double>(e.amount), static_cast<double>(expected[i].amount), 1e-9);
    }

    // No brokerage on either side: no elements of it; proceeds below a dollar: a nil entered.
    match.buyBrokerageCents = match.saleBrokerageCents = 0;
    match.proceedsCents = 99;
    const Event bare = EventOfMatch(match);
    ASSERT_EQ(bare.elements.size(), 1u);
    EXPECT_EQ(bare.elements[0].code, "1");
    EXPECT_TRUE(IsExplicitZero(bare.proceeds));
}

} // namespace
} // namespace cgt::test
