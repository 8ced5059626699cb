#pragma once
// The 0/1 knapsack, solved exactly: the items of the most profit whose weights fit a capacity.
//
// Branch and bound (Horowitz and Sahni): the items in order of profit per unit of weight, a
// depth-first search that takes an item before it leaves it out, and at every node the bound of
// Dantzig: the profit so far plus the items that follow taken whole in that order while they
// fit and the next one in the fraction that fits, rounded down. That bound is the optimum of the
// linear relaxation of what is left, so no completion of the node does better; a node whose
// bound does not beat the best found is left. The search ends when every node is searched or
// bounded, so the best found is the optimum. Profits and weights are whole numbers; products are
// formed in 128 bits.

#include <cstddef>
#include <vector>

namespace cgt {

struct KnapsackItem {
    long long weight = 0; // at least 0
    long long profit = 0; // above 0
};

struct KnapsackAnswer {
    long long profit = 0;
    std::vector<bool> taken; // per item, in the order given
};

// The most profitable set of items whose weights add up to no more than `capacity` (at least 0);
// among sets of equal profit, the first found.
KnapsackAnswer SolveKnapsack(const std::vector<KnapsackItem>& items, long long capacity);

} // namespace cgt
