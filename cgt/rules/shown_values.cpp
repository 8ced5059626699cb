#include "cgt/rules/shown_values.h"

#include <cmath>
#include <string>

#include "base/amounts.h"
#include "base/number_format.h"

namespace cgt {

namespace {

// A field shows nothing for a value this small.
constexpr Extended kShowsNothing = 0.001L;
// Whole numbers below this are written and read back exactly.
constexpr Extended kExactWhole = 1e15L;

// The shown text read back as the field reads its value: zero is the explicit zero.
Extended ReadBack(const std::string& text) {
    if (text == "0" || text == "0.00") return ExplicitZero;
    return ParseNumber(text).value_or(0);
}

} // namespace

Extended ShownDollars(Extended value) {
    if (!(std::fabs(value) > kShowsNothing)) return 0;
    // A whole number shows its own digits.
    if (std::fabs(value) < kExactWhole && value == std::trunc(value)) return value;
    return ReadBack(FormatFixed(value, 18, 0));
}

Extended ShownTwoDecimals(Extended value) {
    if (value > 0.005L) {
        const Extended whole = std::trunc(value);
        value = whole + RoundHalfEven((value - whole) * 100) / 100;
    }
    if (!(std::fabs(value) > kShowsNothing)) return 0;
    return ReadBack(FormatFixed(value, 18, 2));
}

Extended RoundedDollars(Extended value) {
    return ShownDollars(RoundHalfEven(value));
}

Extended ReadFieldNumber(std::string_view text) {
    std::string number;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '-' || c == '.') number += c;
    // A minus sign anywhere but first stands for a negative value.
    if (const auto minus = number.find('-', 1); minus != std::string::npos) {
        std::erase(number, '-');
        number.insert(0, 1, '-');
    }
    if (number == "0" || number == "0.00" || number == "000.00" || number == "0.000")
        return ExplicitZero;
    if (number.empty() || number == "-") return 0;
    return ParseNumber(number).value_or(0);
}

} // namespace cgt
