#pragma once
// The cost base already known (section 2 of an event): a cost base, adjusted cost base or
// reduced cost base at a given date, optionally of an asset that replaced an earlier one through
// a roll-over. When the indexed cost base may be entered, the deceased-estate answer, and the
// entry checks, as functions of the open row's scratch tags.

#include <optional>

#include "cgt/rules/event_checks.h"

namespace cgt {

// The deceased-estate answer (tag 731) is a number: 1 Yes, 2 No. A value of another type is
// cleared (a number of another subtype keeps its value); an empty answer becomes No.
inline constexpr int kDeceasedEstateYes = 1;
inline constexpr int kDeceasedEstateNo = 2;
void NormaliseDeceasedEstate();
// The stored answer: kDeceasedEstateYes, kDeceasedEstateNo or 0.
int DeceasedEstateAnswer();
void StoreDeceasedEstateAnswer(bool yes);

// The roll-over date (tag 730) as the screen's questions depend on it.
enum class RollOverDate {
    None,         // empty or not a valid date: neither the deceased-estate nor the time question
    Other,        // a valid date other than 21/09/1999: the deceased-estate question
    IndexationEnd // 21/09/1999: both questions
};
RollOverDate RollOverDateKind();

// The indexed cost base (tag 734) may be entered when the screen is shown: the asset was
// acquired before 21/09/1999, or later with tag 728 set; or the asset that was rolled over was
// acquired before 21/09/1999, or on that day before 11.45am (tag 733).
bool IndexedCostBaseOpenOnShow();
// After the roll-over date was left: it lies before 21/09/1999.
bool IndexedCostBaseOpenAfterRollOverDate();

// Leaving the screen other than by Prev, after its entries were stored. `deceasedAnswered`: one
// of the deceased-estate boxes is checked. Nothing is checked without a registered asset.
std::optional<Refusal> CheckCostBase(bool deceasedAnswered);

} // namespace cgt
