#pragma once
// The lowest net capital gain the rules allow, found exactly.
//
// The model. Deferral is decided first, as the defer button decides it. Every row left that has
// a gain then has a rate: a gain taxed dollar for dollar (an indexed or other gain) has rate 1, a
// discount gain rate 1/2 (its net gain is half of what is left of it after losses). A row that
// needs a method takes its indexed gain at rate 1 or its discount gain at rate 1/2. Collectable
// losses (current year, then earlier years) reduce the gains of collectables only; other losses
// reduce any gain, collectables included; capital losses transferred in count with the other
// losses and are applied before them, as the table's checks want all of them applied. A row
// never gets more loss than its gain. The net
// gain column's total is
//
//     sum over rows of  rate x (gain - losses applied).
//
// The result has the lowest total; among the choices with that total, the one that applies the
// least loss, so that the most is carried forward.
//
// Why it is exact.
// 1. With the methods fixed, the best applying of losses is greedy: every dollar of loss lowers
//    the total by the rate of the row it goes to, so losses go first to rate-1 gains and then to
//    rate-1/2 gains, and at each rate collectable losses first to collectables and other losses
//    to what is left. This is a transportation problem of two sources (collectable and other
//    losses) and four sinks (collectable and other gains at each rate); the collectable source
//    reaches a subset of the sinks the other one reaches, so at each rate filling from the
//    restricted source first never keeps the other source from a sink it could fill, and a
//    dollar moved from a rate-1/2 sink to a rate-1 sink with room never raises the total. The
//    greedy is therefore optimal, and it applies as much loss as any optimal applying does.
// 2. Only the methods remain to be chosen. A row whose indexed gain is at most half its discount
//    gain takes Indexed in every best answer: with any loss applied, indexed leaves no more net
//    gain, and it needs no more loss to reach nil.
// 3. The open collectables (few on any return) are tried in every combination. For each, the
//    collectable losses fill the collectables' sinks as in (1), and the other losses O meet the
//    rate-1 gains W and rate-1/2 gains H that are left. The total, in half dollars, is
//        2W + H - 2O  when W >= O,   and   max(W + H - O, 0)  when W <= O,
//    and every choice with W >= O applies all of O. So the best with W <= O is the least W + H
//    under W <= O, which also applies the least loss: a 0/1 knapsack over the rows taken as
//    indexed (weight I, profit D - I). The best with W >= O is the least 2W + H under W >= O: a
//    0/1 knapsack over the rows left as discount (weight I, profit 2I - D). Both knapsacks are
//    solved exactly (cgt/rules/knapsack.h), the two answers are applied through (1), and the
//    lower total, then the lesser loss, is the best of all: every choice of methods falls under
//    one of the two cases.
// 4. With more open collectables than are tried in combination, the methods of all open rows are
//    the binary variables of a mixed-integer program whose continuous part is the flow of (1),
//    aggregated by sink; the data are whole dollars and the objective is counted in half
//    dollars. GLPK's branch and bound solves it with no gap, first for the lowest total, then
//    with the total held for the least loss. Its methods are applied through (1) in integer
//    arithmetic and the total checked against the program's; should they differ (a numerical
//    failure), the table is left as the apply-all button leaves it and `found` is false.

#include <string>
#include <string_view>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/knapsack.h"

namespace cgt {

// What finding the lowest did: the net capital gain it gives and the one the apply-all button
// gives on the same table (whole dollars, as the line under the table shows them).
struct LowestChoices {
    // False when the search gave up past its limit (see knapsack.h) or the program failed: the
    // apply-all choices stand.
    bool found = false;
    long long netCapitalGain = 0;
    long long applyAllNetCapitalGain = 0;
    long long BelowApplyAll() const { return applyAllNetCapitalGain - netCapitalGain; }
};

// The table as the search starts from it: the applied losses cleared and the deferrals made as
// the defer button makes them (then recalculated).
void ClearForLowestChoices(ChoiceTable& table);

// Every deferral, method and applied loss of the table chosen for the lowest net capital gain;
// the table ends recalculated and passes its own checks.
// `searchLimit` bounds each knapsack's search (see knapsack.h).
LowestChoices MakeLowestChoices(ChoiceTable& table, long long searchLimit = kKnapsackNodeLimit);

// The sentence beside the net capital gain after the button: that it is the lowest, and how far
// below the apply-all choices it is when it is below them; or that it could not be proven.
std::string LowestChoicesNote(const LowestChoices& lowest);

inline constexpr std::string_view kLowestChoicesCaption = "Find the lowest net capital gain";
inline constexpr std::string_view kLowestChoicesQuestion =
    "This step will now allow Tesmo to make the deferment choices and to choose the methods and "
    "apply the losses that give the lowest net capital gain the rules allow. Other losses may be "
    "applied against collectable gains.\r\n\r\nDo you wish to continue?";

} // namespace cgt
