#pragma once
// The returns whose `cgt compute` results are kept in tests/golden/: each return's name (its data
// file NAME.TAX and its results NAME.json, NAME.auto.json with --auto) and its taxpayer's
// identifier, the key of the data file.

#include <array>
#include <string_view>

namespace cgt::golden {

struct GoldenReturn {
    std::string_view name;
    std::string_view identifier;
};

// Written by write_golden_returns (tests/tools/write_golden_returns.cpp).
inline constexpr std::array kWrittenReturns{
    GoldenReturn{"investor", "210 431 786"},   GoldenReturn{"trusts", "481 273 605"},
    GoldenReturn{"business", "562 304 181"},   GoldenReturn{"takeover", "615 482 077"},
    GoldenReturn{"unfinished", "376 052 928"},
};

// The shipped sample, read from samples/.
inline constexpr GoldenReturn kSampleReturn{"sample2004", "123 456 782"};

} // namespace cgt::golden
