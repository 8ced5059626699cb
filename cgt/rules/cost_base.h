#pragma once
// The cost base already known (section 2 of an event): a cost base, adjusted cost base or
// reduced cost base at a given date, optionally of an asset that replaced an earlier one through
// a roll-over. When the indexed cost base may be entered, the deceased-estate answer, and the
// entry checks, as functions of the event.

#include <optional>

#include "cgt/rules/event.h"
#include "cgt/rules/refusal.h"

namespace cgt {

// The deceased-estate answer is a number: 1 Yes, 2 No.
inline constexpr int kDeceasedEstateYes = 1;
inline constexpr int kDeceasedEstateNo = 2;

// The roll-over date as the screen's questions depend on it.
enum class RollOverDate {
    None,         // empty or not a valid date: neither the deceased-estate nor the time question
    Other,        // a valid date other than 21/09/1999: the deceased-estate question
    IndexationEnd // 21/09/1999: both questions
};
RollOverDate RollOverDateKind(const Event& event);

// The indexed cost base may be entered when the screen is shown: the asset was acquired before
// 21/09/1999, or later with indexation allowed; or the asset that was rolled over was acquired
// before 21/09/1999, or on that day before 11.45am.
bool IndexedCostBaseOpenOnShow(const Event& event);
// After the roll-over date was left: it lies before 21/09/1999.
bool IndexedCostBaseOpenAfterRollOverDate(const Event& event);

// Leaving the screen other than by Prev, after its entries were stored. `deceasedAnswered`: one
// of the deceased-estate boxes is checked. Nothing is checked without a registered asset.
std::optional<Refusal> CheckCostBase(const Event& event, bool deceasedAnswered);

} // namespace cgt
