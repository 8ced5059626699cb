#include "cgt/rules/index_numbers.h"

#include <cmath>

#include "base/number_format.h"

namespace cgt {

namespace {

constexpr int kFirstIndexYear = 1985;
constexpr int kLastIndexYear = 2001; // later years all give kIndexNumberFrom2002
constexpr double kIndexNumberFrom2002 = 123.4;
constexpr Extended kIndexNumberBefore1985 = 71.3L;

} // namespace

const std::array<std::array<double, 4>, kIndexTableRows> IndexTable = {{
    {123.4, 123.4, 123.4, 123.4}, // 2004
    {123.4, 123.4, 123.4, 123.4}, // 2003
    {123.4, 123.4, 123.4, 123.4}, // 2002
    {123.4, 123.4, 123.4, 123.4}, // 2001
    {123.4, 123.4, 123.4, 123.4}, // 2000
    {121.8, 122.3, 123.4, 123.4}, // 1999
    {120.3, 121.0, 121.3, 121.9}, // 1998
    {120.5, 120.2, 119.7, 120.0}, // 1997
    {119.0, 119.8, 120.1, 120.3}, // 1996
    {114.7, 116.2, 117.6, 118.5}, // 1995
    {110.4, 111.2, 111.9, 112.8}, // 1994
    {108.9, 109.3, 109.8, 110.0}, // 1993
    {107.6, 107.3, 107.4, 107.9}, // 1992
    {105.8, 106.0, 106.6, 107.6}, // 1991
    {100.9, 102.5, 103.3, 106.0}, // 1990
    {92.9, 95.2, 97.4, 99.2},     // 1989
    {87.0, 88.5, 90.2, 92.0},     // 1988
    {81.4, 82.6, 84.0, 85.5},     // 1987
    {74.4, 75.6, 77.6, 79.8},     // 1986
    {0.0, 0.0, 71.3, 72.7},       // 1985
}};

Extended GetIndexNumber(DateTime date) {
    int year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    if (year > kLastIndexYear) return kIndexNumberFrom2002;
    if (year < kFirstIndexYear) return kIndexNumberBefore1985;
    const int quarter = (month - 1) / 3; // 0-based column
    return IndexTable[kIndexIncomeYear - year][quarter];
}

double IndexationFactor(Extended eventIndex, Extended costIndex) {
    if (costIndex == 0) costIndex = eventIndex;
    // Both zero (an event in the first half of 1985) leaves nothing to index.
    if (costIndex == 0) return 1.0;
    const double quotient = static_cast<double>(eventIndex / costIndex);
    if (!(quotient >= 1.0)) return 1.0;
    // The factor is what the "0.000" format shows, read back as a number.
    const std::optional<Extended> rounded = ParseNumber(FormatFixed(quotient, 18, 3));
    return rounded ? static_cast<double>(*rounded) : quotient;
}

Extended IndexedAmount(Extended amount, double factor) {
    return RoundHalfEven(amount * static_cast<Extended>(factor));
}

} // namespace cgt
