// Number, date and extended-value readers fed random and truncated input. Every text sits in a
// heap block of exactly its length, so a read past its end is caught.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <regex.h>

#include "base/dates.h"
#include "base/extended.h"
#include "base/number_format.h"

namespace cgt {
namespace {

class ExactBuffer {
public:
    explicit ExactBuffer(std::string_view text) : size_(text.size()), data_(new char[size_]) {
        std::memcpy(data_.get(), text.data(), size_);
    }
    std::string_view view() const { return {data_.get(), size_}; }

private:
    std::size_t size_;
    std::unique_ptr<char[]> data_;
};

std::string RandomText(std::mt19937& rng, std::string_view alphabet) {
    std::uniform_int_distribution<int> length(0, 16);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text(length(rng), '\0');
    for (char& c : text)
        c = alphabet.empty() ? static_cast<char>(byte(rng)) : alphabet[pick(rng)];
    return text;
}

// Three fields of blanks and digits with separators, mostly of the date form and now and
// then off it by a character, with the date the text stands for when it is one.
struct DateText {
    std::string text;
    std::optional<DateTime> date;
};

DateText RandomDateText(std::mt19937& rng) {
    std::uniform_int_distribution<int> blanks(0, 2), dayDigits(0, 3), yearDigits(0, 5);
    std::uniform_int_distribution<int> percent(0, 99), digit(0, 9);
    DateText result;
    std::string& text = result.text;
    int value[3] = {}, count[3] = {};
    bool wellFormed = true;
    for (int field = 0; field < 3; ++field) {
        text.append(blanks(rng), ' ');
        count[field] = field < 2 ? dayDigits(rng) : yearDigits(rng);
        for (int n = 0; n < count[field]; ++n) {
            const int d = digit(rng);
            text += static_cast<char>('0' + d);
            value[field] = value[field] * 10 + d;
        }
        const bool slash = percent(rng) < 90;
        if (field < 2) text += slash ? '/' : '-';
        wellFormed = wellFormed && count[field] >= 1 && count[field] <= (field < 2 ? 2 : 4) &&
                     (field == 2 || slash);
    }
    text.append(blanks(rng), ' ');
    if (percent(rng) < 10) {
        text.insert(percent(rng) % (text.size() + 1), 1, "x\0/.-"[digit(rng) % 5]);
        wellFormed = false;
    }
    if (wellFormed) {
        const int year = count[2] <= 2 ? ExpandYear(value[2], 2026) : value[2];
        result.date = EncodeDate(year, value[1], value[0]);
    }
    return result;
}

// The number grammar as a POSIX expression, the oracle for the hand-written reader.
bool WellFormedNumber(const std::string& text) {
    static const std::unique_ptr<regex_t, void (*)(regex_t*)> expression(
        [] {
            auto* compiled = new regex_t;
            const int rc =
                regcomp(compiled, "^ *[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)? *$",
                        REG_EXTENDED | REG_NOSUB);
            EXPECT_EQ(rc, 0);
            return compiled;
        }(),
        [](regex_t* compiled) {
            regfree(compiled);
            delete compiled;
        });
    if (text.find('\0') != std::string::npos) return false;
    return regexec(expression.get(), text.c_str(), 0, nullptr, 0) == 0;
}

void CheckNumber(std::string_view text) {
    const ExactBuffer buffer(text);
    const auto parsed = ParseNumber(buffer.view());
    const std::string copy(text);
    const bool wellFormed = WellFormedNumber(copy);
    if (wellFormed && !parsed) {
        // Only an exponent too large for the extended range is refused.
        EXPECT_TRUE(std::isinf(std::strtold(copy.c_str(), nullptr))) << '"' << copy << '"';
    } else {
        EXPECT_EQ(parsed.has_value(), wellFormed) << '"' << copy << '"';
    }
}

void CheckDate(std::string_view text) {
    const ExactBuffer buffer(text);
    const auto parsed = ParseDate(buffer.view(), 2026);
    if (!parsed) return;
    EXPECT_EQ(text.find_first_not_of("0123456789/ "), std::string_view::npos) << text;
    const std::string formatted = FormatDate(*parsed);
    ASSERT_EQ(formatted.size(), 10u) << text;
    EXPECT_EQ(ParseDate(formatted, 2026), parsed) << text;
}

TEST(ParseMalformed, RandomTextsNeverReadOutOfBounds) {
    std::mt19937 rng(20040630);
    for (std::string_view alphabet : {std::string_view(), std::string_view("0123456789 .+-eE")}) {
        for (int i = 0; i < 20000; ++i) {
            const std::string text = RandomText(rng, alphabet);
            CheckNumber(text);
            CheckDate(text);
        }
    }
    int dates = 0;
    for (int i = 0; i < 20000; ++i) {
        const DateText sample = RandomDateText(rng);
        const ExactBuffer buffer(sample.text);
        const auto parsed = ParseDate(buffer.view(), 2026);
        EXPECT_EQ(parsed, sample.date) << '"' << sample.text << '"';
        dates += parsed.has_value();
    }
    EXPECT_GT(dates, 300); // the sample reaches the accepting paths
}

TEST(ParseMalformed, TruncatedTextsNeverReadOutOfBounds) {
    const std::string_view numbers[] = {"  -1234.5e+12  ", "+.5E-3", "60012"};
    for (std::string_view full : numbers)
        for (std::size_t n = 0; n <= full.size(); ++n)
            CheckNumber(full.substr(0, n));

    // Of the prefixes of a date only those that end inside the year are dates.
    const std::string_view date = "30/06/2004";
    for (std::size_t n = 0; n <= date.size(); ++n) {
        const ExactBuffer buffer(date.substr(0, n));
        EXPECT_EQ(ParseDate(buffer.view(), 2026).has_value(), n >= 7) << date.substr(0, n);
    }
    const std::string_view padded = " 1/ 7/03 ";
    for (std::size_t n = 0; n <= padded.size(); ++n)
        CheckDate(padded.substr(0, n));
}

void CheckFormats(Extended value) {
    const std::string general = FormatGeneral(value, 18);
    const std::string fixed = FormatFixed(value, 12, 2);
    if (general == "NAN" || general == "INF" || general == "-INF") {
        EXPECT_EQ(fixed, general);
        return;
    }
    EXPECT_EQ(general.find_first_not_of("0123456789.-E"), std::string::npos) << general;
    EXPECT_EQ(fixed.find_first_not_of("0123456789.-E"), std::string::npos) << fixed;
    const auto back = ParseNumber(general);
    if (!back) {
        // Rounded to 18 digits the largest values lie beyond the extended range.
        EXPECT_GT(std::fabs(value), std::numeric_limits<Extended>::max() * (1 - 1e-17L)) << general;
        return;
    }
    if (std::isnormal(value)) {
        EXPECT_LE(std::fabs(*back - value), std::fabs(value) * 1e-17L) << general;
    }
    const Extended rounded = RoundHalfEven(value);
    EXPECT_LE(std::fabs(rounded - value), 0.5L) << general;
}

TEST(ParseMalformed, AnyExtendedBitPatternFormats) {
    // Every class of the 80-bit format: exponent 0, 1, middle, largest finite and all ones,
    // with and without the integer bit, fraction zero, one and full, both signs.
    for (int exponent : {0, 1, 0x3FFF, 0x7FFE, 0x7FFF}) {
        for (bool integerBit : {false, true}) {
            for (std::uint64_t fraction : {0ull, 1ull, 0x7FFFFFFFFFFFFFFFull}) {
                for (bool negative : {false, true}) {
                    const std::uint64_t significand = fraction | (integerBit ? 1ull << 63 : 0);
                    ExtendedBytes bytes{};
                    std::memcpy(bytes.data(), &significand, 8);
                    bytes[8] = static_cast<std::uint8_t>(exponent & 0xFF);
                    bytes[9] = static_cast<std::uint8_t>(exponent >> 8 | (negative ? 0x80 : 0));
                    CheckFormats(DecodeExtended(bytes));
                }
            }
        }
    }

    std::mt19937 rng(38168);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 20000; ++i) {
        ExtendedBytes bytes{};
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(byte(rng));
        CheckFormats(DecodeExtended(bytes.data()));
    }
}

} // namespace
} // namespace cgt
