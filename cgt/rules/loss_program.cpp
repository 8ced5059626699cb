#include "cgt/rules/loss_program.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>

namespace cgt {

namespace {

// The sinks the flows fill: collectable losses into the two collectable sinks, other losses
// into all four.
constexpr std::array<Sink, 6> kFlowSinks = {CollectableWhole, CollectableHalf, CollectableWhole,
                                            CollectableHalf,  OtherWhole,      OtherHalf};
constexpr int kCollectableFlows = 2;

double HalfDollarsOf(Sink sink) {
    return Half(sink) ? 1.0 : 2.0;
}

} // namespace

Sink SinkOf(bool collectable, bool half) {
    return collectable ? (half ? CollectableHalf : CollectableWhole)
                       : (half ? OtherHalf : OtherWhole);
}

bool Half(Sink sink) {
    return sink == CollectableHalf || sink == OtherHalf;
}

Pools PoolsOf(const ChoiceState& state) {
    return {state.currentCollectableLosses + state.priorCollectableLosses,
            state.currentOtherLosses + state.priorOtherLosses + state.transferredInLosses};
}

std::vector<GainRow> GainRows(const std::vector<ChoiceRow>& rows) {
    std::vector<GainRow> gains;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ChoiceRow& r = rows[i];
        if (r.Deferred()) continue;
        GainRow g;
        g.row = i;
        g.collectable = IsCollectableType(r.type);
        const long long indexed = r.indexed.Dollars(), discount = r.discount.Dollars();
        if (r.NeedsChoice()) {
            g.choice = true;
            g.indexed = std::max(indexed, 0LL);
            g.discount = std::max(discount, 0LL);
        } else if (indexed > 0) { // as the table reads a row without a choice
            g.gain = indexed;
        } else if (discount > 0) {
            g.gain = discount;
            g.half = true;
        } else if (const long long other = r.other.Dollars(); other > 0) {
            g.gain = other;
        } else {
            continue;
        }
        gains.push_back(g);
    }
    return gains;
}

bool IndexedDominates(const GainRow& g) {
    return 2 * g.indexed <= g.discount;
}

bool MethodOpen(const GainRow& g) {
    return g.choice && !IndexedDominates(g);
}

Sink SinkOfRow(const GainRow& g, bool indexed) {
    return SinkOf(g.collectable, g.choice ? !indexed : g.half);
}
long long GainOfRow(const GainRow& g, bool indexed) {
    return g.choice ? (indexed ? g.indexed : g.discount) : g.gain;
}

LossProgram::LossProgram(const Capacities& fixed, Pools pools)
    : problem_(glp_create_prob(), glp_delete_prob), bound_(fixed), pools_(pools) {
    glp_prob* p = problem_.get();
    glp_set_obj_dir(p, GLP_MIN);
    glp_add_rows(p, static_cast<int>(kSinks) + 2);
    for (std::size_t s = 0; s < kSinks; ++s)
        constant_ += HalfDollarsOf(static_cast<Sink>(s)) * static_cast<double>(fixed[s]);
    for (int f = 0; f < kFlows; ++f) {
        const Sink sink = kFlowSinks[static_cast<std::size_t>(f)];
        const int column = AddColumn(Kind::Continuous, HUGE_VAL, -HalfDollarsOf(sink));
        flowColumns_[static_cast<std::size_t>(f)] = column;
        Add(SinkRow(sink), column, 1.0);
        Add(f < kCollectableFlows ? kCollectablePoolRow : kOtherPoolRow, column, 1.0);
    }
}

LossProgram::~LossProgram() = default;

int LossProgram::AddColumn(Kind kind, double upper, double halfDollars) {
    glp_prob* p = problem_.get();
    const int column = glp_add_cols(p, 1);
    if (kind == Kind::Binary) {
        glp_set_col_kind(p, column, GLP_BV);
    } else {
        if (kind == Kind::Integer) glp_set_col_kind(p, column, GLP_IV);
        glp_set_col_bnds(p, column, std::isinf(upper) ? GLP_LO : GLP_DB, 0.0,
                         std::isinf(upper) ? 0.0 : upper);
        if (!std::isinf(upper) && upper == 0.0) glp_set_col_bnds(p, column, GLP_FX, 0.0, 0.0);
    }
    glp_set_obj_coef(p, column, halfDollars);
    return column;
}

void LossProgram::AddToSink(int column, Sink sink, double amount) {
    Add(SinkRow(sink), column, -amount);
}

void LossProgram::AddToOtherPool(int column, double amount) {
    Add(kOtherPoolRow, column, -amount);
    poolColumns_.emplace_back(column, amount);
}

void LossProgram::AddGains(Sink sink, long long amount) {
    bound_[sink] += amount;
    constant_ += HalfDollarsOf(sink) * static_cast<double>(amount);
}

int LossProgram::AddRow(double lower, double upper) {
    glp_prob* p = problem_.get();
    const int row = glp_add_rows(p, 1);
    const int type = lower == upper ? GLP_FX : std::isinf(lower) ? GLP_UP : GLP_DB;
    glp_set_row_bnds(p, row, type, std::isinf(lower) ? 0.0 : lower, upper);
    return row;
}

void LossProgram::Add(int row, int column, double value) {
    rowsOf_.push_back(row);
    columnsOf_.push_back(column);
    values_.push_back(value);
}

void LossProgram::Load() {
    if (loaded_) return;
    loaded_ = true;
    glp_prob* p = problem_.get();
    for (std::size_t s = 0; s < kSinks; ++s)
        glp_set_row_bnds(p, SinkRow(static_cast<Sink>(s)), GLP_UP, 0.0,
                         static_cast<double>(bound_[s]));
    glp_set_row_bnds(p, kCollectablePoolRow, GLP_UP, 0.0, static_cast<double>(pools_.collectable));
    glp_set_row_bnds(p, kOtherPoolRow, GLP_UP, 0.0, static_cast<double>(pools_.other));
    glp_set_obj_coef(p, 0, constant_);
    glp_load_matrix(p, static_cast<int>(values_.size()) - 1, rowsOf_.data(), columnsOf_.data(),
                    values_.data());
}

bool LossProgram::Solve(bool acceptFeasible) {
    Load();
    glp_iocp parameters;
    glp_init_iocp(&parameters);
    parameters.msg_lev = GLP_MSG_OFF;
    parameters.presolve = GLP_ON;
    parameters.mip_gap = 0.0;
    // Totals run to some 10^10 half dollars: a relative tolerance must stay below one.
    parameters.tol_obj = 1e-13;
    parameters.tm_lim = kMilliseconds;
    const int outcome = glp_intopt(problem_.get(), &parameters);
    const int status = glp_mip_status(problem_.get());
    proven_ = outcome == 0 && status == GLP_OPT;
    if (proven_) return true;
    // Past the time limit the best answer found so far stands, unproven.
    return acceptFeasible && (outcome == 0 || outcome == GLP_ETMLIM) &&
           (status == GLP_FEAS || status == GLP_OPT);
}

std::optional<double> LossProgram::SolveLowest(bool acceptFeasible) {
    if (!Solve(acceptFeasible)) return std::nullopt;
    return glp_mip_obj_val(problem_.get());
}

bool LossProgram::SolveLeastLoss(double lowest, double slack) {
    glp_prob* p = problem_.get();
    const int row = glp_add_rows(p, 1);
    const int columns = glp_get_num_cols(p);
    std::vector<int> indices(1);
    std::vector<double> coefficients(1);
    for (int j = 1; j <= columns; ++j) {
        indices.push_back(j);
        coefficients.push_back(glp_get_obj_coef(p, j));
    }
    glp_set_mat_row(p, row, columns, indices.data(), coefficients.data());
    glp_set_row_bnds(p, row, GLP_UP, 0.0, lowest + slack - glp_get_obj_coef(p, 0));
    glp_set_obj_coef(p, 0, 0.0);
    for (int j = 1; j <= columns; ++j)
        glp_set_obj_coef(p, j, 0.0);
    for (int column : flowColumns_)
        glp_set_obj_coef(p, column, 1.0);
    for (const auto& [column, amount] : poolColumns_)
        glp_set_obj_coef(p, column, glp_get_obj_coef(p, column) - amount);
    return Solve(false);
}

std::optional<double> LossProgram::SolveRelaxation() {
    Load();
    glp_smcp parameters;
    glp_init_smcp(&parameters);
    parameters.msg_lev = GLP_MSG_OFF;
    parameters.presolve = GLP_ON;
    parameters.tm_lim = kMilliseconds;
    if (glp_simplex(problem_.get(), &parameters) != 0 || glp_get_status(problem_.get()) != GLP_OPT)
        return std::nullopt;
    return glp_get_obj_val(problem_.get());
}

double LossProgram::RelaxedValue(int column) const {
    return glp_get_col_prim(problem_.get(), column);
}

double LossProgram::Value(int column) const {
    return glp_mip_col_val(problem_.get(), column);
}

long long LossProgram::Whole(int column) const {
    return std::llround(Value(column));
}

std::vector<int> AddOpenMethods(LossProgram& program, const std::vector<GainRow>& gains,
                                const std::vector<std::size_t>& open) {
    std::vector<int> columns;
    for (std::size_t k : open) {
        const GainRow& g = gains[k];
        const Sink whole = SinkOf(g.collectable, false), half = SinkOf(g.collectable, true);
        program.AddGains(half, g.discount);
        // Half dollars: 2 x indexed when indexed, the discount gain otherwise.
        const int column = program.AddColumn(LossProgram::Kind::Binary, 1.0,
                                             static_cast<double>(2 * g.indexed - g.discount));
        program.AddToSink(column, whole, static_cast<double>(g.indexed));
        program.AddToSink(column, half, -static_cast<double>(g.discount));
        columns.push_back(column);
    }
    return columns;
}

void AddTableGains(LossProgram& program, const std::vector<GainRow>& gains) {
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < gains.size(); ++k) {
        if (MethodOpen(gains[k]))
            open.push_back(k);
        else
            program.AddGains(SinkOfRow(gains[k], true), GainOfRow(gains[k], true));
    }
    AddOpenMethods(program, gains, open);
}

} // namespace cgt
