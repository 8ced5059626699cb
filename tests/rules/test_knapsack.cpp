// The exact knapsack against every subset of small random item sets.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "cgt/rules/knapsack.h"

namespace cgt {
namespace {

long long BestByEverySubset(const std::vector<KnapsackItem>& items, long long capacity) {
    long long best = 0;
    for (unsigned subset = 0; subset < (1U << items.size()); ++subset) {
        long long weight = 0, profit = 0;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (subset >> i & 1U) {
                weight += items[i].weight;
                profit += items[i].profit;
            }
        if (weight <= capacity) best = std::max(best, profit);
    }
    return best;
}

TEST(Knapsack, MatchesEverySubset) {
    std::mt19937 random(1999);
    auto below = [&](long long n) { return static_cast<long long>(random() % n); };
    for (int trial = 0; trial < 500; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        std::vector<KnapsackItem> items(1 + static_cast<std::size_t>(below(12)));
        // Some trials give every item the same profit per weight, as a subset-sum problem.
        const bool proportional = trial % 4 == 0;
        for (KnapsackItem& item : items) {
            item.weight = below(40);
            item.profit = proportional ? 3 * item.weight + 3 : 1 + below(60);
        }
        const long long capacity = below(120);
        const KnapsackAnswer answer = SolveKnapsack(items, capacity);
        EXPECT_EQ(answer.profit, BestByEverySubset(items, capacity));
        long long weight = 0, profit = 0;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (answer.taken[i]) {
                weight += items[i].weight;
                profit += items[i].profit;
            }
        EXPECT_LE(weight, capacity);
        EXPECT_EQ(profit, answer.profit) << "the items taken give the profit said";
    }
}

TEST(Knapsack, NothingFitsOrNothingGiven) {
    EXPECT_EQ(SolveKnapsack({{10, 5}}, 9).profit, 0);
    EXPECT_EQ(SolveKnapsack({{10, 5}}, 9).taken, std::vector<bool>{false});
    EXPECT_EQ(SolveKnapsack({}, 100).profit, 0);
    EXPECT_EQ(SolveKnapsack({{0, 4}, {5, 1}}, 0).profit, 4) << "a weightless item always fits";
}

} // namespace
} // namespace cgt
