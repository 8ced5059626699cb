#include "base/extended.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace cgt {
namespace {

using Limits = std::numeric_limits<Extended>;

ExtendedBytes Bytes(std::initializer_list<int> values) {
    ExtendedBytes bytes{};
    std::size_t i = 0;
    for (int v : values)
        bytes.at(i++) = static_cast<std::uint8_t>(v);
    return bytes;
}

TEST(Extended, ValuesSurviveEncodeAndDecode) {
    const Extended values[] = {0.0L,
                               -0.0L,
                               1.0L,
                               -1.0L,
                               0.0011L,
                               1234.56L,
                               60012.0L,
                               -987654321.125L,
                               1e4000L,
                               -1e-4000L,
                               Limits::max(),
                               Limits::min(),
                               Limits::denorm_min(),
                               Limits::min() / 3,
                               Limits::infinity(),
                               -Limits::infinity()};
    for (Extended v : values) {
        SCOPED_TRACE(testing::Message() << v);
        const ExtendedBytes bytes = EncodeExtended(v);
        const Extended back = DecodeExtended(bytes);
        EXPECT_EQ(back, v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
        EXPECT_EQ(EncodeExtended(back), bytes);
    }
    const Extended nan = DecodeExtended(EncodeExtended(Limits::quiet_NaN()));
    EXPECT_TRUE(std::isnan(nan));
}

TEST(Extended, ByteImageIsLittleEndianX87) {
    struct Case {
        Extended value;
        ExtendedBytes bytes;
    };
    const Case cases[] = {
        {1.0L, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {60012.0L, Bytes({0, 0, 0, 0, 0, 0, 0x6C, 0xEA, 0x0E, 0x40})},
        {-2.0L, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0})},
        {0.0L, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {-0.0L, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})},
        {Limits::infinity(), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
        {Limits::denorm_min(), Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value);
        EXPECT_EQ(EncodeExtended(c.value), c.bytes);
        const Extended decoded = DecodeExtended(c.bytes);
        EXPECT_EQ(std::memcmp(&decoded, c.bytes.data(), c.bytes.size()), 0);
    }
}

TEST(Extended, PatternsTheFpuRefusesAreCopiedUnchanged) {
    // Unnormal, pseudo-denormal, pseudo-infinity, pseudo-NaN, signalling NaN: a data file may
    // hold any of them, and writing it back must reproduce the bytes.
    const ExtendedBytes patterns[] = {
        Bytes({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F}),
        Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00}),
        Bytes({0, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F}),
        Bytes({1, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0xFF}),
        Bytes({1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}),
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
    };
    for (const ExtendedBytes& bytes : patterns) {
        const Extended value = DecodeExtended(bytes.data());
        EXPECT_EQ(EncodeExtended(value), bytes);
    }
}

} // namespace
} // namespace cgt
