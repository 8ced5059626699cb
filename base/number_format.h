#pragma once
// Decimal formatting of extended values: fixed and general notation with a given number of
// significant digits. Digits come from the value's 18-significant-digit decimal expansion,
// rounded half away from zero.

#include <optional>
#include <string>
#include <string_view>

#include "base/extended.h"

namespace cgt {

// Fixed notation with `decimals` decimals; when the integer part has more than `precision`
// digits the value is written in general notation with `precision` significant digits.
std::string FormatFixed(Extended value, int precision, int decimals);

// An amount as shown: rounded to `significant` significant digits first, then as FormatFixed
// with that precision, so that the decimals never add a digit beyond them (12345678901.55 with
// 12 digits and 2 decimals shows as 12345678901.60).
std::string FormatSignificant(Extended value, int significant, int decimals);

// General notation: the shortest of fixed or scientific ("1.2345679E8") with at most
// `precision` significant digits, trailing zeros dropped.
std::string FormatGeneral(Extended value, int precision = 15);

// Round to the nearest integer, halves to the even integer.
Extended RoundHalfEven(Extended value);

// The text read as a number: optional blanks, sign, digits with one '.', optional exponent.
std::optional<Extended> ParseNumber(std::string_view text);
// ParseNumber, or `defaultValue` when the text is no number.
Extended TextToFloat(std::string_view text, Extended defaultValue);

} // namespace cgt
