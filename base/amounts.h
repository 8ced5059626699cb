#pragma once
// Amounts as the module stores them: 0 is nothing entered, ExplicitZero an amount entered (or
// calculated) as nil, anything above it an amount.

#include "base/extended.h"

namespace cgt {

// The value an amount field stores when the user typed 0: an amount entered as nil.
inline constexpr Extended ExplicitZero = 0.0011L;
// The one rule for whether an amount is present: above the explicit zero, so that neither 0
// (nothing entered) nor ExplicitZero (an entered or calculated nil) counts.
inline bool AmountEntered(Extended amount) {
    return amount > ExplicitZero;
}
// The explicit zero itself; the comparison tolerates the value passing through a double.
inline bool IsExplicitZero(Extended amount) {
    return amount - ExplicitZero < 1e-12L && ExplicitZero - amount < 1e-12L;
}

} // namespace cgt
