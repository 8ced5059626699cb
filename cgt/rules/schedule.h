#pragma once
// The CGT schedule: row 1 of worksheet 469. The gains, losses applied, gains after losses, the
// discount and the carried-forward losses are worked out from the choice table; the small
// business concessions, the 15-year exemption and the scrip-for-scrip labels come from the
// screens after it, and the net capital gain is recomputed whenever they change. The host reads
// tags 169, 174 and 175.

#include <span>

#include "cgt/rules/choice_table.h"

namespace cgt {

// Fills the schedule row from the choice table (labels of other screens kept) and writes tags
// 169, 174 and 175. Deferred rows count nothing.
void ComputeSchedule(const CellTable& table, const ChoiceState& state);

// With the schedule row open in the scratch tags: the totals of the discount and concessions,
// the net capital gains per method and in total, and tag 174 (ExplicitZero when there are gains
// but the net capital gain is nil).
void RecomputeNetCapitalGain();

// The schedule labels in the order `cgt compute` prints them: the amounts of 711–749 and
// 1100–1134, the letter 1135, the check boxes 1136 and 1167, the amounts 1137–1139.
std::span<const int> ScheduleLabels();

} // namespace cgt
