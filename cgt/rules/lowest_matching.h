#pragma once
// The parcels the income year's sales take for the lowest net capital gain of the return.
//
// What is settled first. The earlier years' sales were returned in their own years: they take
// their parcels first in, first out, as does what the user names for the income year's sales
// (specific identification). What each parcel has left, and what each of the year's sales still
// needs, follows.
//
// The model. A sale may take units of any parcel of its code bought by its date. For each such
// pair, the event of as many units as the two could share is worked out by the gain worksheet,
// and its row of the choice table gives, per unit, its capital loss or its gains by method. Whole
// units of each pair are the columns of a mixed-integer program over the lowest-gain model
// (cgt/rules/loss_program.h): a loss adds to the other losses, a gain goes to the sink of its
// rate, and a gain with a method to choose takes it as a whole (a binary per pair: one event, one
// method). The rest of the return's table joins as the lowest-gain search sees it, its open
// methods binaries too. Each sale takes exactly what it needs and no parcel gives more than it
// has left; the program's lowest total is the answer of the model, proven unless the solver
// stops at its time limit with the best it found. Whole shares make the search hard for GLPK on
// large imports: with more than kMostSearchedPairs pairs, or when the search stops unproven, the
// program is also solved with every column continuous and its answer made whole (each pair's
// whole shares, then what a sale still needs from its pairs with the largest parts left); the
// continuous answer is nearly whole, as only the few rows of sinks and pools join the pairs of
// a transportation problem, whose answers are whole.
//
// The events. Per-unit amounts are exact but each event's proceeds drop their cents and a
// trade's amounts split to the cent, so the model's total and the events' can differ by cents
// an event. The model's matchings and the first-in one are therefore all made into events and
// the choice table's lowest-gain search run on the return with each; the lower net capital gain
// is taken, then the more loss left to carry forward, first in first out on a tie, so the lowest
// is never above first in, first out. Among answers of the program with the lowest total, the
// program too takes the one that leaves the most loss to carry forward.

#include <optional>
#include <vector>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/trade_matching.h"
#include "cgt/rules/trades.h"

namespace cgt {

// The return's net capital gain with the events of `matching` added to `others`, the choices made
// by the lowest-gain search, and the losses it leaves to carry forward.
struct MatchingOutcome {
    long long netCapitalGain = 0;
    long long lossesCarriedForward = 0;
    // The lower net capital gain, then the more loss carried forward.
    bool operator<(const MatchingOutcome& other) const {
        if (netCapitalGain != other.netCapitalGain) return netCapitalGain < other.netCapitalGain;
        return lossesCarriedForward > other.lossesCarriedForward;
    }
};

struct LowestMatching {
    // As MatchTrades gives it; the income year's matches not named are the method's (Lowest).
    TradeMatching matching;
    // What the matching gives the return, and what first in, first out gives (OutcomeWith).
    MatchingOutcome outcome;
    MatchingOutcome firstIn;
    // The net capital gain is proven the lowest: the program proved its answer, or it is nil
    // (false: the search stopped at its limit or was not made, the year's sales having too many
    // pairs of sale and parcel, and the lowest of what was tried stands).
    bool proven = false;
};

// Most pairs of sale and parcel the program weighs; with more, first in first out stands.
inline constexpr std::size_t kMostLowestPairs = 20'000;
// Most pairs whose program is solved in whole shares; with more, or when that search stops at
// its limit, the relaxation's answer is made whole (unproven).
inline constexpr std::size_t kMostSearchedPairs = 5'000;

// Matches `trades` as MatchTrades would with `Lowest`, choosing the parcels of the income year's
// sales for the lowest net capital gain together with `others` (the choice table of the rest of
// the return). A refusal of the matching is returned as MatchTrades returns it.
LowestMatching MatchForLowestGain(const std::vector<Trade>& trades,
                                  const std::vector<NamedParcel>& named, const ChoiceTable& others,
                                  std::size_t mostPairs = kMostLowestPairs);

MatchingOutcome OutcomeWith(const ChoiceTable& others, const TradeMatching& matching);

// A match's event with its results worked out, as leaving its screens leaves it.
Event ComputedEventOfMatch(const TradeMatch& match);

} // namespace cgt
