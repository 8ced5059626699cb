#pragma once
// The model of the net gain column's total that the lowest-gain searches share, and a
// mixed-integer program over it.
//
// Gains are sinks of the losses: the gains of collectables or of other assets, at rate 1
// (indexed and other gains) or at rate 1/2 (discount gains). Collectable losses reach the
// collectable sinks only; other losses reach all four. The total, in half dollars, is twice what
// is left in the rate-1 sinks and once what is left in the rate-1/2 sinks.
//
// The program holds the six flows of losses into sinks, a row per sink (the flows into it at most
// its gains) and per pool (the flows out of it at most its losses), and minimises the total.
// Callers add columns whose values add gains to sinks or losses to pools, and rows of their own.

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "cgt/rules/choice_table.h"

struct glp_prob;

namespace cgt {

enum Sink : std::size_t { CollectableWhole, CollectableHalf, OtherWhole, OtherHalf, kSinks };
using Capacities = std::array<long long, kSinks>;

Sink SinkOf(bool collectable, bool half);
bool Half(Sink sink);

// The losses that reduce gains: collectable losses and other losses (capital losses transferred
// in count with the other losses).
struct Pools {
    long long collectable = 0, other = 0;
};
// The current-year and earlier-year losses of the table, and those transferred in.
Pools PoolsOf(const ChoiceState& state);

// A row of the table that has a gain this year (not deferred), in whole dollars. A row with a
// method to choose has both gains; the others have one gain at one rate.
struct GainRow {
    std::size_t row = 0; // in the table
    bool collectable = false;
    bool choice = false;
    long long indexed = 0, discount = 0; // a row with a method to choose
    long long gain = 0;                  // the others
    bool half = false;                   // the others: a discount gain
};
std::vector<GainRow> GainRows(const std::vector<ChoiceRow>& rows);

// Indexed leaves no more net gain than discount whatever loss the row gets, and needs no more
// loss to reach nil, when the indexed gain is at most half the discount gain.
bool IndexedDominates(const GainRow& g);
// The row's method is still to be chosen: it has two and indexed does not settle it.
bool MethodOpen(const GainRow& g);

// The sink and gain of a row with its method.
Sink SinkOfRow(const GainRow& g, bool indexed);
long long GainOfRow(const GainRow& g, bool indexed);

class LossProgram {
public:
    // The sinks holding `fixed` gains, the pools `pools` losses.
    LossProgram(const Capacities& fixed, Pools pools);
    ~LossProgram();
    LossProgram(const LossProgram&) = delete;
    LossProgram& operator=(const LossProgram&) = delete;

    enum class Kind { Binary, Integer, Continuous };
    // A column from 0 to `upper` costing `halfDollars` a unit; returns its number.
    int AddColumn(Kind kind, double upper, double halfDollars);
    // Each unit of the column adds `amount` of gain to the sink (a negative amount takes away).
    void AddToSink(int column, Sink sink, double amount);
    // Each unit of the column adds `amount` of loss to the pool of other losses.
    void AddToOtherPool(int column, double amount);
    // Gains every answer has in the sink: they raise its room and the total.
    void AddGains(Sink sink, long long amount);
    // A row of the caller's own, `lower` <= sum <= `upper` (equal: an equality; -HUGE_VAL: no
    // lower bound).
    int AddRow(double lower, double upper);
    void Add(int row, int column, double value);

    // The lowest total in half dollars; nothing when the solver fails or gives up past its time.
    // With `acceptFeasible`, the best answer found in the time allowed counts too (see Proven).
    std::optional<double> SolveLowest(bool acceptFeasible = false);
    // Whether the last solve proved its answer the lowest.
    bool Proven() const { return proven_; }
    // With the total held at `lowest` (to within `slack`), the answer that leaves the most loss
    // unapplied: the least applied less the losses that columns add to the pool.
    bool SolveLeastLoss(double lowest, double slack);
    double Value(int column) const;
    // The program with every column continuous: its lowest total, a bound below every answer;
    // nothing when the solver fails.
    std::optional<double> SolveRelaxation();
    double RelaxedValue(int column) const;
    // The value of an integer or binary column.
    long long Whole(int column) const;

    static constexpr int kMilliseconds = 10'000; // then the solver gives up

private:
    static constexpr int kFlows = 6;
    int FlowColumn(int flow) const { return flowColumns_[static_cast<std::size_t>(flow)]; }
    static int SinkRow(Sink sink) { return static_cast<int>(sink) + 1; }
    static constexpr int kCollectablePoolRow = static_cast<int>(kSinks) + 1;
    static constexpr int kOtherPoolRow = static_cast<int>(kSinks) + 2;
    void Load();
    bool Solve(bool acceptFeasible);

    std::unique_ptr<glp_prob, void (*)(glp_prob*)> problem_;
    std::array<int, kFlows> flowColumns_{};
    std::vector<std::pair<int, double>> poolColumns_; // columns adding losses, and how much
    Capacities bound_;
    Pools pools_;
    double constant_ = 0; // the total's part that no column carries, in half dollars
    bool loaded_ = false;
    bool proven_ = false;
    // The constraint matrix, 1-based as GLPK reads it.
    std::vector<int> rowsOf_{0}, columnsOf_{0};
    std::vector<double> values_{0.0};
};

// A binary column for each row of `open`, 1 for indexed: the row's discount gain is in the sink
// of its rate 1/2 unless the column takes it away and gives the indexed gain to the sink of rate
// 1. Returns the columns in the order of `open`.
std::vector<int> AddOpenMethods(LossProgram& program, const std::vector<GainRow>& gains,
                                const std::vector<std::size_t>& open);
// Every row of `gains`: a settled one's gain in the sink of its method (indexed when it has two),
// the open ones as AddOpenMethods adds them.
void AddTableGains(LossProgram& program, const std::vector<GainRow>& gains);

} // namespace cgt
