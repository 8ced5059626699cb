#pragma once
// The CGT schedule, Parts A to K, in whole dollars. The gains, losses applied, gains after
// losses, the discount and the carried-forward losses are worked out from the choice table; the
// small business concessions, the 15-year exemption and the scrip-for-scrip labels come from the
// screens after it, and the net capital gain is worked out again whenever they change. The host
// reads the return's three results.

#include <array>
#include <string>

#include "base/extended.h"
#include "cgt/rules/choice_table.h"

namespace cgt {

// Amounts by method: indexation, discount, other.
using MethodAmounts = std::array<Extended, 3>;

struct Schedule {
    // Part A: capital gains from CGT assets and events, by asset group (collectables after the
    // collectable losses applied), and their total.
    MethodAmounts nonActiveShares{}, nonActiveRealEstate{}, nonActiveOther{}, collectables{};
    MethodAmounts activeShares{}, activeRealEstate{}, activeOther{}, totalGains{};
    // Part B: current year capital losses.
    Extended lossesShares = 0, lossesRealEstate = 0, lossesOther = 0, lossesTotal = 0;
    // Part D: capital losses applied, of this year, of earlier years, transferred in, in all.
    MethodAmounts currentLossesApplied{}, priorLossesApplied{}, transferredLossesApplied{};
    MethodAmounts lossesApplied{};
    Extended currentLossesAppliedTotal = 0, priorLossesAppliedTotal = 0;
    Extended transferredLossesAppliedTotal = 0, lossesAppliedTotal = 0;
    // Part E: gains after losses.
    MethodAmounts nonActiveAfterLosses{}, activeAfterLosses{}, afterLosses{};
    // Part F: the CGT discount.
    Extended discountNonActive = 0, discountActive = 0;
    // Part G: small business concessions.
    MethodAmounts activeAssetReduction{}, retirementExemption{}, smallBusinessRollOver{};
    // Part H: the concessions in all and the net capital gain.
    MethodAmounts concessions{}, netGain{};
    Extended netGainTotal = 0;
    // Part I: unapplied net capital losses carried forward.
    Extended carriedCollectableLosses = 0, carriedOtherLosses = 0;
    // Part J: the small business 15-year exemption.
    Extended fifteenYearExemptGains = 0;
    std::string fifteenYearAssetCode;
    // Part K: scrip for scrip roll-over.
    bool scripRollOverChosen = false, scripRollOverNotChosen = false;
    Extended scripOriginalCostBase = 0, scripReplacementValue = 0, scripCashConsideration = 0;
};

// The return's results that the host reads. A nil the calculations worked out is ExplicitZero.
struct ReturnResults {
    Extended totalCurrentYearGains = 0;
    Extended netCapitalGain = 0;
    Extended lossesCarriedForward = 0;
};

inline constexpr const char* kScheduleName = "Capital gains tax (CGT) schedule 2001";

// Parts A, B, D, E, F and I from the choice table (the other parts kept), the three results,
// and Part H again. Deferred rows count nothing. The discount takes the half dollar of an odd
// discount gain, so the net capital gain is the choice table's line.
void ComputeSchedule(const ChoiceTable& table, Schedule& schedule, ReturnResults& results);

// Part H from Parts E, F and G: the totals of the discount and concessions, the net capital gains
// per method and in total, and the net capital gain (ExplicitZero when there are gains but the
// net capital gain is nil).
void RecomputeNetCapitalGain(Schedule& schedule, ReturnResults& results);

} // namespace cgt
