#pragma once
// A value that a calculation writes into an entry field and reads back is the value as the
// field shows it. These give that value without a field: a whole-dollar amount field shows no
// decimals, a field with two decimals (amounts with cents, index numbers, percentages) rounds
// the fraction, halves to even; a value of 0.001 or less shows nothing and reads back as 0, and
// a field showing zero reads back as ExplicitZero.

#include <string_view>

#include "base/extended.h"

namespace cgt {

Extended ShownDollars(Extended value);
Extended ShownTwoDecimals(Extended value);

// The module's rounding to a whole number (halves to even), as shown in a whole-dollar field.
Extended RoundedDollars(Extended value);

// The value an entry field reads from its text, as a field that stores its text (a percentage
// such as "40.00%") leaves it: the minus sign, digits and decimal point of the text; zero is the
// explicit zero, no digits 0.
Extended ReadFieldNumber(std::string_view text);

} // namespace cgt
