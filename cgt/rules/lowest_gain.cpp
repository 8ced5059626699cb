#include "cgt/rules/lowest_gain.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "cgt/rules/loss_program.h"

namespace cgt {

namespace {

// ---- The best applying of losses with the methods fixed ------------------------------------

// How much of each pool goes to each sink: rate-1 sinks first; at each rate collectable losses to
// collectables first, then other losses to what is left (other gains first, then collectables).
struct Flow {
    Capacities collectable{}; // collectable losses per sink
    Capacities other{};       // other losses per sink
};

Flow GreedyFlow(const Capacities& capacity, Pools pools) {
    Flow flow;
    Capacities room = capacity;
    auto take = [](long long& pool, long long& space) {
        const long long amount = std::min(pool, space);
        pool -= amount;
        space -= amount;
        return amount;
    };
    for (const auto& [collectableSink, otherSink] :
         {std::pair{CollectableWhole, OtherWhole}, std::pair{CollectableHalf, OtherHalf}}) {
        flow.collectable[collectableSink] = take(pools.collectable, room[collectableSink]);
        flow.other[otherSink] = take(pools.other, room[otherSink]);
        flow.other[collectableSink] = take(pools.other, room[collectableSink]);
    }
    return flow;
}

// The net gain column's total in half dollars, and the loss applied.
struct Outcome {
    long long halfDollars = 0;
    long long lossApplied = 0;
};

Outcome OutcomeOf(const Capacities& capacity, const Flow& flow) {
    Outcome outcome;
    for (std::size_t s = 0; s < kSinks; ++s) {
        const long long applied = flow.collectable[s] + flow.other[s];
        const long long left = capacity[s] - applied;
        outcome.halfDollars += Half(static_cast<Sink>(s)) ? left : 2 * left;
        outcome.lossApplied += applied;
    }
    return outcome;
}

Capacities CapacitiesOf(const std::vector<GainRow>& gains, const std::vector<bool>& indexed) {
    Capacities capacity{};
    for (std::size_t k = 0; k < gains.size(); ++k)
        capacity[SinkOfRow(gains[k], indexed[k])] += GainOfRow(gains[k], indexed[k]);
    return capacity;
}

// The capacities of the rows whose method is not open, with their methods in `indexed`.
Capacities FixedCapacities(const std::vector<GainRow>& gains, const std::vector<std::size_t>& open,
                           const std::vector<bool>& indexed) {
    std::vector<bool> isOpen(gains.size(), false);
    for (std::size_t k : open)
        isOpen[k] = true;
    Capacities capacity{};
    for (std::size_t k = 0; k < gains.size(); ++k)
        if (!isOpen[k])
            capacity[SinkOfRow(gains[k], indexed[k])] += GainOfRow(gains[k], indexed[k]);
    return capacity;
}

// ---- The methods: a mixed-integer program --------------------------------------------------

// The program of the rows whose method is open (`open`), beside the fixed sinks' capacities: a
// binary column per open row (1: indexed), which takes its discount gain away and gives its
// indexed gain instead.
class MethodProgram {
public:
    MethodProgram(const std::vector<GainRow>& gains, const std::vector<std::size_t>& open,
                  const Capacities& fixed, Pools pools)
        : program_(fixed, pools), columns_(AddOpenMethods(program_, gains, open)) {}

    // The lowest total in half dollars and the methods giving it; nothing when the solver fails.
    std::optional<long long> SolveLowest() {
        const std::optional<double> lowest = program_.SolveLowest();
        if (!lowest) return std::nullopt;
        return std::llround(*lowest);
    }

    // With the total held at `lowest`, the methods that apply the least loss. The totals are
    // whole half dollars: anything below lowest + 1 is lowest.
    bool SolveLeastLoss(long long lowest) {
        return program_.SolveLeastLoss(static_cast<double>(lowest), 0.5);
    }

    std::vector<bool> Indexed() const {
        std::vector<bool> indexed;
        for (int column : columns_)
            indexed.push_back(program_.Value(column) > 0.5);
        return indexed;
    }

private:
    LossProgram program_;
    std::vector<int> columns_;
};

// ---- Writing the choices -------------------------------------------------------------------

// The methods, and each pool's losses spread over the rows of each sink in table order.
void WriteChoices(ChoiceTable& table, const std::vector<GainRow>& gains,
                  const std::vector<bool>& indexed, const Flow& flow, long long transferred) {
    Flow left = flow;
    auto write = [](ChoiceAmount& cell, long long amount) {
        if (amount > 0) cell = ChoiceAmount::General(static_cast<Extended>(amount));
    };
    for (std::size_t k = 0; k < gains.size(); ++k) {
        const GainRow& g = gains[k];
        ChoiceRow& row = table.rows[g.row];
        if (g.choice) row.method = indexed[k] ? Method::Indexed : Method::Discount;
        const Sink sink = SinkOfRow(g, indexed[k]);
        long long room = GainOfRow(g, indexed[k]);
        const long long collectable = std::min(room, left.collectable[sink]);
        left.collectable[sink] -= collectable;
        room -= collectable;
        write(row.collectableApplied, collectable);
        // The other losses' share: capital losses transferred in first, as all must be applied.
        const long long other = std::min(room, left.other[sink]);
        left.other[sink] -= other;
        const long long fromTransferred = std::min(other, transferred);
        transferred -= fromTransferred;
        write(row.transferredApplied, fromTransferred);
        write(row.otherApplied, other - fromTransferred);
    }
}

struct Choice {
    std::vector<bool> indexed; // per gain row
    Outcome outcome;
    Flow flow;
};

Choice Evaluate(const std::vector<GainRow>& gains, std::vector<bool> indexed, Pools pools) {
    Choice choice;
    choice.indexed = std::move(indexed);
    const Capacities capacity = CapacitiesOf(gains, choice.indexed);
    choice.flow = GreedyFlow(capacity, pools);
    choice.outcome = OutcomeOf(capacity, choice.flow);
    return choice;
}

bool Better(const Choice& a, const std::optional<Choice>& b) {
    if (!b) return true;
    if (a.outcome.halfDollars != b->outcome.halfDollars)
        return a.outcome.halfDollars < b->outcome.halfDollars;
    return a.outcome.lossApplied < b->outcome.lossApplied;
}

// The rows whose method is open, by the kind of gain: collectables take collectable losses
// first, so their methods are tried in every combination when they are few.
struct OpenRows {
    std::vector<std::size_t> collectable, other;
};
inline constexpr std::size_t kCombinedCollectables = 8;

// The methods of the open rows of other assets, with the methods of every other row fixed in
// `indexed`. The other losses O meet the gains at rate 1, W, and at rate 1/2, H, that the
// collectable losses leave, and the total is, in half dollars,
//     2W + H - 2O  when W >= O,   max(W + H - O, 0)  when W <= O.
// With W at most O the lowest total and the least loss both come from the least W + H: a
// knapsack over the rows taken as indexed (weight I, profit D - I, room O - W0). With W at least
// O every choice applies all of O and the lowest 2W + H is wanted: the rows left as discount
// form a knapsack (weight I, profit 2I - D, room the indexed gains less O - W0). The better of
// the two answers is the best of all.
bool ChooseOtherMethods(const std::vector<GainRow>& gains, const std::vector<std::size_t>& open,
                        std::vector<bool> indexed, Pools pools, long long searchLimit,
                        std::optional<Choice>& best) {
    bool proven = true;
    for (std::size_t k : open)
        indexed[k] = false;
    const Capacities fixed = FixedCapacities(gains, open, indexed);
    const long long toWhole = std::min(pools.collectable, fixed[CollectableWhole]);
    const long long whole = fixed[OtherWhole] + fixed[CollectableWhole] - toWhole;
    auto consider = [&](std::vector<bool> methods) {
        Choice choice = Evaluate(gains, std::move(methods), pools);
        if (Better(choice, best)) best = std::move(choice);
    };

    if (const long long room = pools.other - whole; room >= 0) { // W at most O
        std::vector<KnapsackItem> items;
        std::vector<std::size_t> rows;
        for (std::size_t k : open)
            if (gains[k].discount > gains[k].indexed) {
                items.push_back({gains[k].indexed, gains[k].discount - gains[k].indexed});
                rows.push_back(k);
            }
        const KnapsackAnswer answer = SolveKnapsack(items, room, searchLimit);
        proven = proven && answer.proven;
        std::vector<bool> methods = indexed;
        for (std::size_t i = 0; i < rows.size(); ++i)
            methods[rows[i]] = answer.taken[i];
        consider(std::move(methods));
    }
    long long indexedGains = 0;
    for (std::size_t k : open)
        indexedGains += gains[k].indexed;
    const long long needed = pools.other - whole; // W at least O
    if (needed <= 0) {
        consider(indexed); // every open row discount
    } else if (indexedGains >= needed) {
        std::vector<KnapsackItem> items;
        for (std::size_t k : open)
            items.push_back({gains[k].indexed, 2 * gains[k].indexed - gains[k].discount});
        const KnapsackAnswer answer = SolveKnapsack(items, indexedGains - needed, searchLimit);
        proven = proven && answer.proven;
        std::vector<bool> methods = indexed;
        for (std::size_t i = 0; i < open.size(); ++i)
            methods[open[i]] = !answer.taken[i];
        consider(std::move(methods));
    }
    return proven;
}

// Through the mixed-integer program: the methods of every open row at once.
std::optional<Choice> ProgramChoice(const std::vector<GainRow>& gains,
                                    const std::vector<std::size_t>& open, std::vector<bool> indexed,
                                    Pools pools) {
    MethodProgram program(gains, open, FixedCapacities(gains, open, indexed), pools);
    const std::optional<long long> lowest = program.SolveLowest();
    if (!lowest || !program.SolveLeastLoss(*lowest)) return std::nullopt;
    const std::vector<bool> chosen = program.Indexed();
    for (std::size_t k = 0; k < open.size(); ++k)
        indexed[open[k]] = chosen[k];
    Choice choice = Evaluate(gains, std::move(indexed), pools);
    if (choice.outcome.halfDollars != *lowest) return std::nullopt;
    return choice;
}

// The methods that give the lowest total, then apply the least loss; nothing when a search gives
// up, the solver fails or its answer does not check.
std::optional<Choice> LowestChoice(const std::vector<GainRow>& gains, Pools pools,
                                   long long searchLimit) {
    std::vector<bool> indexed(gains.size(), false);
    OpenRows open;
    for (std::size_t k = 0; k < gains.size(); ++k) {
        if (!gains[k].choice) continue;
        if (IndexedDominates(gains[k]))
            indexed[k] = true;
        else
            (gains[k].collectable ? open.collectable : open.other).push_back(k);
    }
    if (open.collectable.size() > kCombinedCollectables) {
        std::vector<std::size_t> all = open.collectable;
        all.insert(all.end(), open.other.begin(), open.other.end());
        return ProgramChoice(gains, all, std::move(indexed), pools);
    }
    std::optional<Choice> best;
    const std::size_t combinations = std::size_t{1} << open.collectable.size();
    for (std::size_t mask = 0; mask < combinations; ++mask) {
        for (std::size_t i = 0; i < open.collectable.size(); ++i)
            indexed[open.collectable[i]] = (mask >> i) & 1U;
        if (!ChooseOtherMethods(gains, open.other, indexed, pools, searchLimit, best))
            return std::nullopt;
    }
    return best;
}

} // namespace

void ClearForLowestChoices(ChoiceTable& table) {
    for (ChoiceRow& row : table.rows)
        row.collectableApplied = row.priorCollectableApplied = row.otherApplied =
            row.transferredApplied = ChoiceAmount();
    AutoDefer(table); // recalculates: the current-year losses count only rows not deferred
}

LowestChoices MakeLowestChoices(ChoiceTable& table, long long searchLimit) {
    LowestChoices result;
    ChoiceTable applyAll = table;
    MakeAllChoices(applyAll);
    result.applyAllNetCapitalGain = applyAll.state.netCapitalGain;

    ClearForLowestChoices(table);
    const ChoiceState& state = table.state;
    // Capital losses transferred in reduce gains as other losses do; they go first, since the
    // table's checks want all of them applied.
    const Pools pools = PoolsOf(state);
    const std::vector<GainRow> gains = GainRows(table.rows);
    const std::optional<Choice> choice = LowestChoice(gains, pools, searchLimit);
    if (!choice) {
        table = std::move(applyAll);
        result.netCapitalGain = result.applyAllNetCapitalGain;
        return result;
    }
    WriteChoices(table, gains, choice->indexed, choice->flow, state.transferredInLosses);
    RecalculateChoices(table);
    result.found = true;
    result.netCapitalGain = table.state.netCapitalGain;
    return result;
}

std::string LowestChoicesNote(const LowestChoices& lowest) {
    if (!lowest.found)
        return "The lowest net capital gain could not be proven in the time allowed; the choices "
               "are those of \"Let Tesmo make all choices\".";
    std::string note = "This is the lowest net capital gain the rules allow";
    if (lowest.BelowApplyAll() > 0)
        note += ", " + DollarsText(lowest.BelowApplyAll()) +
                " below what \"Let Tesmo make all choices\" gives";
    return note + ".";
}

} // namespace cgt
