#include "cgt/rules/knapsack.h"

#include <algorithm>
#include <numeric>

namespace cgt {

namespace {

using Wide = __int128;

class BranchAndBound {
public:
    BranchAndBound(const std::vector<KnapsackItem>& items, long long capacity)
        : items_(items), capacity_(capacity) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].weight <= capacity) order_.push_back(i);
        // Highest profit per unit of weight first; a weightless item before all.
        std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
            return static_cast<Wide>(items[a].profit) * items[b].weight >
                   static_cast<Wide>(items[b].profit) * items[a].weight;
        });
        weightBefore_.assign(order_.size() + 1, 0);
        profitBefore_.assign(order_.size() + 1, 0);
        for (std::size_t k = 0; k < order_.size(); ++k) {
            weightBefore_[k + 1] = weightBefore_[k] + items[order_[k]].weight;
            profitBefore_[k + 1] = profitBefore_[k] + items[order_[k]].profit;
        }
        current_.assign(order_.size(), false);
    }

    KnapsackAnswer Solve() {
        Search(0, capacity_, 0);
        KnapsackAnswer answer;
        answer.profit = best_;
        answer.taken.assign(items_.size(), false);
        for (std::size_t k = 0; k < bestTaken_.size(); ++k)
            if (bestTaken_[k]) answer.taken[order_[k]] = true;
        return answer;
    }

private:
    // The linear relaxation's optimum of items k.. in `room`, rounded down.
    long long Bound(std::size_t k, long long room) const {
        // The last item b such that items k..b-1 fit whole.
        const long long limit = weightBefore_[k] + room;
        const auto end = std::upper_bound(weightBefore_.begin() + static_cast<std::ptrdiff_t>(k),
                                          weightBefore_.end(), limit);
        const std::size_t b = static_cast<std::size_t>(end - weightBefore_.begin()) - 1;
        long long bound = profitBefore_[b] - profitBefore_[k];
        if (b < order_.size()) {
            const KnapsackItem& next = items_[order_[b]];
            const long long left = limit - weightBefore_[b];
            bound += static_cast<long long>(static_cast<Wide>(left) * next.profit / next.weight);
        }
        return bound;
    }

    // The node of items 0..k-1 decided: the items taken so far, with the others left out, are a
    // solution; then the item k taken, if it fits, before it is left out.
    void Search(std::size_t k, long long room, long long profit) {
        if (profit > best_) {
            best_ = profit;
            bestTaken_ = current_;
        }
        if (k == order_.size() || profit + Bound(k, room) <= best_) return;
        const KnapsackItem& item = items_[order_[k]];
        if (item.weight <= room) {
            current_[k] = true;
            Search(k + 1, room - item.weight, profit + item.profit);
            current_[k] = false;
        }
        Search(k + 1, room, profit);
    }

    const std::vector<KnapsackItem>& items_;
    long long capacity_;
    std::vector<std::size_t> order_;
    std::vector<long long> weightBefore_, profitBefore_;
    std::vector<bool> current_, bestTaken_;
    long long best_ = -1;
};

} // namespace

KnapsackAnswer SolveKnapsack(const std::vector<KnapsackItem>& items, long long capacity) {
    return BranchAndBound(items, capacity).Solve();
}

} // namespace cgt
