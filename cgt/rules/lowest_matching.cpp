#include "cgt/rules/lowest_matching.h"

#include <cmath>
#include <map>
#include <utility>

#include "base/worksheet_kinds.h"
#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/gain_worksheet.h"
#include "cgt/rules/loss_program.h"
#include "cgt/rules/lowest_gain.h"

namespace cgt {

namespace {

using TradeKey = std::pair<std::string, int>; // file and line

TradeKey KeyOf(const Trade& trade) {
    return {trade.file, trade.line};
}

// What the first-in matching leaves the method to choose: the units each of the year's sales
// still needs and each parcel still has.
struct Need {
    const Trade* sale;
    long long units;
};
struct Left {
    const Trade* buy;
    long long units;
};
struct Settled {
    std::vector<Need> sales;                          // in the order of the sales
    std::map<std::string, std::vector<Left>> parcels; // by code, in the order bought
};

Settled SettledBy(const std::vector<Trade>& trades, const TradeMatching& firstIn) {
    std::map<TradeKey, long long> used;   // parcel: units the earlier years and namings took
    std::map<TradeKey, long long> needed; // sale of the year: units the method takes
    Settled settled;
    for (const TradeMatch& m : firstIn.matches) {
        if (!m.incomeYear || m.named) used[KeyOf(m.parcel)] += m.units;
        if (!m.incomeYear) continue;
        auto [need, first] = needed.try_emplace(KeyOf(m.sale), 0);
        if (!m.named) need->second += m.units;
    }
    for (const Trade& trade : trades) {
        if (trade.side == TradeSide::Buy) {
            const long long left = trade.units - used[KeyOf(trade)];
            if (left > 0) settled.parcels[trade.code].push_back({&trade, left});
        } else if (const auto need = needed.find(KeyOf(trade));
                   need != needed.end() && need->second > 0) {
            settled.sales.push_back({&trade, need->second});
        }
    }
    return settled;
}

// A sale and a parcel it may take from, as the program sees them: the event of all the units
// the two could share has a loss, or a gain at one rate, or both gains of a method to choose.
struct Pair {
    std::size_t sale = 0;
    const Left* parcel = nullptr;
    long long most = 0; // units the two could share
    long long loss = 0; // whole dollars
    std::optional<GainRow> gain;
};

// Whether a sale may take from a parcel: of its code (as grouped) and bought by its date.
bool MayTake(const Need& need, const Left& parcel) {
    return parcel.buy->date <= need.sale->date;
}

std::size_t PairsOf(const Settled& settled) {
    std::size_t pairs = 0;
    for (const Need& need : settled.sales)
        if (const auto parcels = settled.parcels.find(need.sale->code);
            parcels != settled.parcels.end())
            for (const Left& parcel : parcels->second)
                pairs += MayTake(need, parcel) ? 1 : 0;
    return pairs;
}

Pair PairOf(std::size_t sale, const Need& need, const Left& parcel) {
    Pair pair;
    pair.sale = sale;
    pair.parcel = &parcel;
    pair.most = std::min(need.units, parcel.units);
    TradeMatch match;
    match.sale = *need.sale;
    match.parcel = *parcel.buy;
    match.units = pair.most;
    match.proceedsCents = ShareOfCents(need.sale->valueCents, need.sale->units, pair.most);
    match.costCents = ShareOfCents(parcel.buy->valueCents, parcel.buy->units, pair.most);
    match.buyBrokerageCents =
        ShareOfCents(parcel.buy->brokerageCents, parcel.buy->units, pair.most);
    match.saleBrokerageCents = ShareOfCents(need.sale->brokerageCents, need.sale->units, pair.most);
    match.incomeYear = true;
    match.before1985 = parcel.buy->date < CgtStartDate();
    if (!MakesEvent(match)) return pair; // disregarded: neither gain nor loss
    ChoiceTable alone;
    AddEventToTable(alone, ComputedEventOfMatch(match));
    for (const ChoiceRow& row : alone.rows)
        pair.loss += row.loss.Dollars();
    if (const std::vector<GainRow> gains = GainRows(alone.rows); !gains.empty())
        pair.gain = gains.front();
    return pair;
}

// The columns of a pair: its units, split by method when it has a method to choose.
struct PairColumns {
    int units = 0;    // all its units, or those taken as indexed
    int discount = 0; // a pair with a method to choose: the units taken as discount
};

class MatchingProgram {
public:
    MatchingProgram(const ChoiceTable& others, const Settled& settled)
        : program_(Capacities{}, PoolsOf(others.state)) {
        AddTableGains(program_, GainRows(others.rows));
        for (std::size_t s = 0; s < settled.sales.size(); ++s) {
            const Need& need = settled.sales[s];
            const auto parcels = settled.parcels.find(need.sale->code);
            if (parcels == settled.parcels.end()) continue;
            for (const Left& parcel : parcels->second)
                if (MayTake(need, parcel)) pairs_.push_back(PairOf(s, need, parcel));
        }
    }

    // The parcels chosen for each sale, as namings: the program's answer when it is small
    // enough to search, and the relaxation's rounded to whole shares; none when the solver
    // finds nothing.
    std::vector<std::vector<NamedParcel>> Solve(const Settled& settled) {
        AddRows(settled);
        std::vector<std::vector<NamedParcel>> answers;
        if (pairs_.size() <= kMostSearchedPairs) {
            if (std::optional<std::vector<long long>> units = SolveWhole()) {
                answers.push_back(Namings(settled, *units));
                if (proven_) return answers;
            }
        }
        if (std::optional<std::vector<long long>> units = SolveRounded(settled))
            answers.push_back(Namings(settled, *units));
        return answers;
    }

    bool Proven() const { return proven_; }

private:
    // Each sale takes what it needs; no parcel gives more than it has left.
    void AddRows(const Settled& settled) {
        std::vector<int> saleRows;
        for (const Need& need : settled.sales) {
            const double units = static_cast<double>(need.units);
            saleRows.push_back(program_.AddRow(units, units));
        }
        std::map<const Left*, int> parcelRows;
        for (const Pair& pair : pairs_) {
            auto [row, added] = parcelRows.try_emplace(pair.parcel, 0);
            if (added) row->second = program_.AddRow(0.0, static_cast<double>(pair.parcel->units));
            const PairColumns columns = AddPair(pair);
            columns_.push_back(columns);
            for (int column : {columns.units, columns.discount}) {
                if (column == 0) continue;
                program_.Add(saleRows[pair.sale], column, 1.0);
                program_.Add(row->second, column, 1.0);
            }
        }
    }

    // The program's answer in whole shares; among the lowest, the one that leaves the most loss
    // to carry forward (the lowest found stands when that search fails).
    std::optional<std::vector<long long>> SolveWhole() {
        const std::optional<double> lowest = program_.SolveLowest(true);
        if (!lowest) return std::nullopt;
        proven_ = program_.Proven();
        std::vector<long long> units = Units();
        const double slack = 1e-7 + 1e-9 * std::fabs(*lowest);
        if (proven_ && program_.SolveLeastLoss(*lowest, slack)) units = Units();
        return units;
    }

    // The relaxation's answer made whole: each pair's whole shares first, then what each sale
    // still needs from the pairs with the largest parts left, then from any parcel it may take
    // from with shares left, the earliest bought first.
    std::optional<std::vector<long long>> SolveRounded(const Settled& settled) {
        if (!program_.SolveRelaxation()) return std::nullopt;
        std::vector<double> relaxed;
        for (const PairColumns& columns : columns_)
            relaxed.push_back(
                program_.RelaxedValue(columns.units) +
                (columns.discount != 0 ? program_.RelaxedValue(columns.discount) : 0));
        std::vector<long long> units(pairs_.size(), 0);
        std::map<const Left*, long long> left;
        for (std::size_t p = 0; p < pairs_.size(); ++p)
            left.try_emplace(pairs_[p].parcel, pairs_[p].parcel->units);
        std::vector<long long> wanted;
        for (const Need& need : settled.sales)
            wanted.push_back(need.units);
        for (std::size_t p = 0; p < pairs_.size(); ++p) {
            const long long whole = std::min({static_cast<long long>(std::floor(relaxed[p] + 1e-6)),
                                              left[pairs_[p].parcel], wanted[pairs_[p].sale]});
            if (whole <= 0) continue;
            units[p] = whole;
            left[pairs_[p].parcel] -= whole;
            wanted[pairs_[p].sale] -= whole;
        }
        // The pairs of each sale: by the part of a share left, the largest first, then in the
        // order bought.
        std::vector<std::size_t> order(pairs_.size());
        for (std::size_t p = 0; p < order.size(); ++p)
            order[p] = p;
        auto part = [&](std::size_t p) { return relaxed[p] - std::floor(relaxed[p] + 1e-6); };
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return part(a) > part(b); });
        for (std::size_t p : order) {
            long long& need = wanted[pairs_[p].sale];
            const long long more = std::min(need, left[pairs_[p].parcel]);
            if (more <= 0 || part(p) <= 1e-6) continue;
            units[p] += more;
            need -= more;
            left[pairs_[p].parcel] -= more;
        }
        for (std::size_t p = 0; p < pairs_.size(); ++p) {
            long long& need = wanted[pairs_[p].sale];
            const long long more = std::min(need, left[pairs_[p].parcel]);
            if (more <= 0) continue;
            units[p] += more;
            need -= more;
            left[pairs_[p].parcel] -= more;
        }
        for (long long need : wanted)
            if (need != 0) return std::nullopt;
        return units;
    }

    // The units of each pair in the program's answer.
    std::vector<long long> Units() const {
        std::vector<long long> units;
        for (const PairColumns& columns : columns_) {
            long long taken = program_.Whole(columns.units);
            if (columns.discount != 0) taken += program_.Whole(columns.discount);
            units.push_back(taken);
        }
        return units;
    }

    // The pairs taken, as namings of the parcels in the order of the sales.
    std::vector<NamedParcel> Namings(const Settled& settled,
                                     const std::vector<long long>& units) const {
        std::vector<NamedParcel> chosen;
        for (std::size_t s = 0; s < settled.sales.size(); ++s)
            for (std::size_t p = 0; p < pairs_.size(); ++p) {
                if (pairs_[p].sale != s || units[p] <= 0) continue;
                const Trade& sale = *settled.sales[s].sale;
                const Trade& buy = *pairs_[p].parcel->buy;
                NamedParcel naming;
                naming.saleDate = sale.date;
                naming.code = sale.code;
                naming.units = units[p];
                naming.parcelDate = buy.date;
                naming.parcelFile = buy.file;
                naming.parcelLine = buy.line;
                naming.chosen = true;
                chosen.push_back(std::move(naming));
            }
        return chosen;
    }

    PairColumns AddPair(const Pair& pair) {
        using Kind = LossProgram::Kind;
        const double most = static_cast<double>(pair.most);
        PairColumns columns;
        if (!pair.gain) {
            columns.units = program_.AddColumn(Kind::Integer, most, 0.0);
            if (pair.loss > 0)
                program_.AddToOtherPool(columns.units, static_cast<double>(pair.loss) / most);
            return columns;
        }
        const GainRow& g = *pair.gain;
        const double perUnit = 1.0 / most;
        auto addGain = [&](double gain, bool half) {
            const Sink sink = SinkOf(g.collectable, half);
            const double amount = gain * perUnit;
            const int column = program_.AddColumn(Kind::Integer, most, (half ? 1 : 2) * amount);
            program_.AddToSink(column, sink, amount);
            return column;
        };
        if (!MethodOpen(g)) {
            columns.units =
                addGain(static_cast<double>(GainOfRow(g, true)), g.choice ? false : g.half);
            return columns;
        }
        // One event, one method: the units go all to indexed or all to discount.
        columns.units = addGain(static_cast<double>(g.indexed), false);
        columns.discount = addGain(static_cast<double>(g.discount), true);
        const int indexed = program_.AddColumn(Kind::Binary, 1.0, 0.0);
        const int indexedOnly = program_.AddRow(-HUGE_VAL, 0.0);
        program_.Add(indexedOnly, columns.units, 1.0);
        program_.Add(indexedOnly, indexed, -most);
        const int discountOnly = program_.AddRow(-HUGE_VAL, most);
        program_.Add(discountOnly, columns.discount, 1.0);
        program_.Add(discountOnly, indexed, most);
        return columns;
    }

    LossProgram program_;
    std::vector<Pair> pairs_;
    std::vector<PairColumns> columns_;
    bool proven_ = false;
};

} // namespace

Event ComputedEventOfMatch(const TradeMatch& match) {
    Event event = EventOfMatch(match);
    TakeGainResults(ComputeGainWorksheet(event, GainVariantOf(wkShares)), event.results);
    return event;
}

MatchingOutcome OutcomeWith(const ChoiceTable& others, const TradeMatching& matching) {
    ChoiceTable table = others;
    for (const TradeMatch& match : matching.matches)
        if (MakesEvent(match)) AddEventToTable(table, ComputedEventOfMatch(match));
    MakeLowestChoices(table);
    const UnappliedLosses& left = table.state.unapplied;
    return {table.state.netCapitalGain,
            left.priorCollectable + left.priorOther + left.currentCollectable + left.currentOther};
}

LowestMatching MatchForLowestGain(const std::vector<Trade>& trades,
                                  const std::vector<NamedParcel>& named, const ChoiceTable& others,
                                  std::size_t mostPairs) {
    LowestMatching lowest;
    lowest.matching = MatchTrades(trades, MatchMethod::Lowest, named);
    if (lowest.matching.refused) return lowest;
    lowest.firstIn = lowest.outcome = OutcomeWith(others, lowest.matching);

    const Settled settled = SettledBy(trades, lowest.matching);
    if (settled.sales.empty()) {
        lowest.proven = true; // nothing to choose
        return lowest;
    }
    if (PairsOf(settled) > mostPairs) return lowest;
    ChoiceTable start = others;
    ClearForLowestChoices(start);
    MatchingProgram program(start, settled);
    for (const std::vector<NamedParcel>& chosen : program.Solve(settled)) {
        std::vector<NamedParcel> namings = named;
        namings.insert(namings.end(), chosen.begin(), chosen.end());
        TradeMatching matching = MatchTrades(trades, MatchMethod::Lowest, namings);
        if (matching.refused) continue;
        if (const MatchingOutcome outcome = OutcomeWith(others, matching);
            outcome < lowest.outcome) {
            lowest.matching = std::move(matching);
            lowest.outcome = outcome;
        }
    }
    // Nothing is below a nil net capital gain.
    lowest.proven = program.Proven() || lowest.outcome.netCapitalGain == 0;
    return lowest;
}

} // namespace cgt
