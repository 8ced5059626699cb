#include "base/number_format.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace cgt {
namespace {

using Limits = std::numeric_limits<Extended>;

struct FixedCase {
    Extended value;
    int precision, decimals;
    const char* text;
};

// Values are exact in binary unless the rounding position makes the last bits irrelevant.
const FixedCase kFixed[] = {
    {0.5L, 15, 0, "1"},
    {1.5L, 15, 0, "2"},
    {2.5L, 15, 0, "3"},
    {-2.5L, 15, 0, "-3"},
    {0.25L, 15, 1, "0.3"},
    {-0.25L, 15, 1, "-0.3"},
    {0.125L, 12, 2, "0.13"},
    {0.0625L, 12, 2, "0.06"},
    {0.375L, 12, 2, "0.38"},
    {9.9990234375L, 12, 2, "10.00"},
    {1234.5L, 12, 2, "1234.50"},
    {1234.56L, 8, 0, "1235"},
    {-1234.56L, 8, 0, "-1235"},
    {1234.56L, 12, 2, "1234.56"},
    {60012.0L, 8, 0, "60012"},
    {12345678.0L, 8, 0, "12345678"},
    {123456789.0L, 8, 0, "1.2345679E8"},
    {-123456789.0L, 8, 0, "-1.2345679E8"},
    {99999999.5L, 8, 0, "1E8"},
    {1e20L, 15, 0, "1E20"},
    {123456789012345678.0L, 18, 0, "123456789012345678"},
    {18446744073709551616.0L, 18, 0, "1.84467440737095516E19"},
    {0.0L, 8, 0, "0"},
    {-0.0L, 12, 2, "0.00"},
    {-0.25L, 8, 0, "0"},
    {-0.00390625L, 12, 2, "0.00"},
    {0.0011L, 8, 0, "0"},
    {0.0011L, 12, 2, "0.00"},
    {0.0011L, 12, 3, "0.001"},
    {1e-20L, 12, 2, "0.00"},
    {0.75L, 8, 0, "1"},
    {0.4375L, 8, 0, "0"},
    {Limits::infinity(), 8, 0, "INF"},
    {-Limits::infinity(), 12, 2, "-INF"},
    {Limits::quiet_NaN(), 8, 0, "NAN"},
};

TEST(NumberFormat, FixedRoundsHalfAwayFromZero) {
    for (const FixedCase& c : kFixed) {
        EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals), c.text)
            << c.value << " precision " << c.precision << " decimals " << c.decimals;
    }
}

struct GeneralCase {
    Extended value;
    int precision;
    const char* text;
};

const GeneralCase kGeneral[] = {
    {0.0L, 15, "0"},
    {-0.0L, 15, "0"},
    {1.0L, 15, "1"},
    {-1.5L, 15, "-1.5"},
    {100.0L, 15, "100"},
    {1234.56L, 15, "1234.56"},
    {0.1L, 15, "0.1"},
    {0.1L, 18, "0.1"},
    {0.0011L, 15, "0.0011"},
    {1.0L / 3, 15, "0.333333333333333"},
    {2.0L / 3, 15, "0.666666666666667"},
    {-2.0L / 3, 4, "-0.6667"},
    {2.5L, 1, "3"},
    {-2.5L, 1, "-3"},
    {0.125L, 2, "0.13"},
    {123456789.0L, 8, "1.2345679E8"},
    {12345678.0L, 8, "12345678"},
    {99999999.5L, 8, "1E8"},
    {999999999999999.0L, 15, "999999999999999"},
    {9999999999999995.0L, 15, "1E16"},
    {1e15L, 15, "1E15"},
    {1e20L, 15, "1E20"},
    {-1.5e20L, 15, "-1.5E20"},
    {0.00001L, 15, "0.00001"},
    {0.000001L, 15, "1E-6"},
    {1.5e-7L, 15, "1.5E-7"},
    {Limits::max(), 15, "1.18973149535723E4932"},
    {Limits::denorm_min(), 3, "3.65E-4951"},
    {Limits::infinity(), 15, "INF"},
    {-Limits::infinity(), 15, "-INF"},
    {-Limits::quiet_NaN(), 15, "NAN"},
};

TEST(NumberFormat, GeneralUsesFixedOrExponentForm) {
    for (const GeneralCase& c : kGeneral)
        EXPECT_EQ(FormatGeneral(c.value, c.precision), c.text) << c.value << " / " << c.precision;
}

TEST(NumberFormat, BitPatternsTheFpuRefusesFormatAsNan) {
    auto decode = [](std::initializer_list<int> bytes) {
        ExtendedBytes image{};
        std::size_t i = 0;
        for (int b : bytes)
            image.at(i++) = static_cast<std::uint8_t>(b);
        return DecodeExtended(image);
    };
    const Extended unnormal = decode({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F});
    const Extended pseudoInfinity = decode({0, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F});
    const Extended pseudoDenormal = decode({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00});
    EXPECT_EQ(FormatGeneral(unnormal), "NAN");
    EXPECT_EQ(FormatFixed(unnormal, 8, 0), "NAN");
    EXPECT_EQ(FormatGeneral(pseudoInfinity), "NAN");
    // A pseudo-denormal has the value of the smallest normal number.
    EXPECT_EQ(FormatGeneral(pseudoDenormal, 5), FormatGeneral(Limits::min(), 5));
    EXPECT_EQ(FormatGeneral(Limits::min(), 5), "3.3621E-4932");
}

TEST(NumberFormat, RoundHalfEvenIgnoresTheRoundingMode) {
    struct Case {
        Extended value, rounded;
    };
    const Case cases[] = {
        {0.5L, 0},
        {1.5L, 2},
        {2.5L, 2},
        {3.5L, 4},
        {-0.5L, 0},
        {-1.5L, -2},
        {-2.5L, -2},
        {2.25L, 2},
        {2.75L, 3},
        {-2.75L, -3},
        {0.5L - Limits::epsilon() / 4, 0},
        {1e19L, 1e19L},
        {4611686018427387903.5L, 4611686018427387904.0L},
        {60012.0L, 60012},
    };
    for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
        for (const Case& c : cases)
            EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value << " mode " << mode;
    }
    std::fesetround(FE_TONEAREST);
    EXPECT_TRUE(std::isinf(RoundHalfEven(Limits::infinity())));
    EXPECT_TRUE(std::isnan(RoundHalfEven(Limits::quiet_NaN())));
}

TEST(NumberFormat, ParseAcceptsPlainDecimalNumbers) {
    const std::pair<const char*, Extended> cases[] = {
        {"0", 0},
        {"12", 12},
        {"  12  ", 12},
        {"-3.5", -3.5L},
        {"+3.5", 3.5L},
        {".5", 0.5L},
        {"5.", 5},
        {"1e3", 1000},
        {"1E+3", 1000},
        {"2.5e-2", 0.025L},
        {" -0.0011 ", -0.0011L},
        {"00012", 12},
        {"1234.56", 1234.56L},
        {"0.1", 0.1L},
        {"1e-99999", 0},
        {"60012", 60012},
    };
    for (const auto& [text, value] : cases) {
        const auto parsed = ParseNumber(text);
        ASSERT_TRUE(parsed.has_value()) << '"' << text << '"';
        EXPECT_EQ(*parsed, value) << '"' << text << '"';
    }
}

TEST(NumberFormat, ParseRejectsEverythingElse) {
    const std::string_view texts[] = {
        "",        " ",     ".",     "-",     "+.",
        "1e",      "1e+",   "e3",    "1,000", "0x10",
        "inf",     "nan",   "1.2.3", "1 2",   "- 1",
        "1-",      "12abc", "1e3.5", "\t1",   "1\t",
        "1e99999", "--1",   "1e 3",  "$12",   std::string_view("1\0", 2),
    };
    for (std::string_view text : texts)
        EXPECT_EQ(ParseNumber(text), std::nullopt) << '"' << text << '"';
}

TEST(NumberFormat, TextToFloat) {
    EXPECT_EQ(TextToFloat("12.5", -1), 12.5L);
    EXPECT_EQ(TextToFloat(" -3 ", -1), -3.0L);
    EXPECT_EQ(TextToFloat("1,000", -1), -1.0L);
    EXPECT_EQ(TextToFloat("", 7), 7.0L);
}

} // namespace
} // namespace cgt
