#include "store/file_cipher.h"
#include "store/key_digest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace cgt {
namespace {

using keydigest::kPiFraction;

// 16^e mod m.
std::uint64_t PowMod16(std::uint64_t e, std::uint64_t m) {
    std::uint64_t result = 1 % m, base = 16 % m;
    for (; e > 0; e >>= 1) {
        if (e & 1) result = result * base % m;
        base = base * base % m;
    }
    return result;
}

// Fractional part of sum over k of 16^(n-k) / (8k + j) (Bailey-Borwein-Plouffe).
double BbpSeries(int j, std::uint64_t n) {
    double s = 0;
    for (std::uint64_t k = 0; k <= n; ++k) {
        const std::uint64_t m = 8 * k + static_cast<std::uint64_t>(j);
        s += static_cast<double>(PowMod16(n - k, m)) / static_cast<double>(m);
        s -= std::floor(s);
    }
    for (std::uint64_t k = n + 1; k <= n + 20; ++k) {
        s += std::pow(16.0, static_cast<double>(n) - static_cast<double>(k)) /
             static_cast<double>(8 * k + static_cast<std::uint64_t>(j));
    }
    return s - std::floor(s);
}

// The byte of pi's hexadecimal fraction that starts at hex digit n.
int PiByteAtHexDigit(std::uint64_t n) {
    double x = 4 * BbpSeries(1, n) - 2 * BbpSeries(4, n) - BbpSeries(5, n) - BbpSeries(6, n);
    x -= std::floor(x);
    return static_cast<int>(x * 256);
}

TEST(KeyDigest, PiTableMatchesDigitExtraction) {
    EXPECT_EQ(kPiFraction[0], 0x24);
    EXPECT_EQ(kPiFraction[1], 0x3F);
    for (std::size_t i = 0; i < kPiFraction.size(); ++i) {
        EXPECT_EQ(kPiFraction[i], PiByteAtHexDigit(2 * i)) << "byte " << i;
    }
}

TEST(KeyDigest, KeyTextKeepsDigitsOnly) {
    const struct {
        const char* identifier;
        const char* digits;
    } cases[] = {
        {"", ""},
        {"abc-def", ""},
        {"123 456 789", "123456789"},
        {"12-34/5.6", "123456"},
        {"\t9\xff 8\n", "98"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyTextOf(c.identifier), c.digits) << c.identifier;
}

TEST(KeyDigest, IdentifiersWithTheSameDigitsShareTheKey) {
    EXPECT_EQ(DeriveFileKey(KeyTextOf("abc-def")), DeriveFileKey(""));
    EXPECT_EQ(DeriveFileKey(KeyTextOf("123 456 782")), DeriveFileKey(KeyTextOf("123-456-782")));
    EXPECT_EQ(DeriveFileKey(KeyTextOf(" 12.345,678 ")), DeriveFileKey("12345678"));
}

TEST(KeyDigest, FinishingBytesCompleteTheLastGroupOfEight) {
    for (std::size_t length = 0; length <= 17; ++length) {
        SCOPED_TRACE(length);
        keydigest::DigestState state = keydigest::StartDigest();
        for (std::size_t i = 0; i < length; ++i) {
            keydigest::FeedByte(state, static_cast<std::uint8_t>('0' + i % 10));
        }
        const std::vector<std::uint8_t> finish = keydigest::FinishDigest(state);
        std::vector<std::uint8_t> expected(8 - length % 8, 0);
        expected[0] = 0x01;
        EXPECT_EQ(finish, expected);
        EXPECT_EQ(state.k, 0);
        EXPECT_EQ(static_cast<std::size_t>(state.p), length + finish.size());
        EXPECT_EQ(state.d[length], kPiFraction[length] ^ 0x01);
    }
}

TEST(KeyDigest, BytesFillTheLittleEndianImageOfTheFirstTwoWords) {
    keydigest::DigestState state = keydigest::StartDigest();
    for (std::uint8_t c = 1; c <= 7; ++c)
        keydigest::FeedByte(state, c);
    const std::array<std::uint32_t, 4> image = {
        0x55555555u ^ 0x04030201u, 0x55555555u ^ 0x00070605u, 0x55555555u, 0x55555555u};
    EXPECT_EQ(state.w, image);
    EXPECT_EQ(state.k, 7);
    EXPECT_EQ(state.d[0], kPiFraction[0] ^ 1);
    EXPECT_EQ(state.d[6], kPiFraction[6] ^ 7);

    // The eighth byte completes the image and mixes the words.
    keydigest::FeedByte(state, 8);
    std::array<std::uint32_t, 4> mixed = image;
    mixed[1] ^= 0x08000000u;
    keydigest::MixWords(mixed);
    EXPECT_EQ(state.w, mixed);
    EXPECT_EQ(state.k, 0);
}

TEST(KeyDigest, PositionWrapsAfter256Bytes) {
    keydigest::DigestState state = keydigest::StartDigest();
    for (int i = 0; i < 257; ++i)
        keydigest::FeedByte(state, 0x10);
    EXPECT_EQ(state.p, 1);
    EXPECT_EQ(state.d[0], kPiFraction[0]); // 0x10 twice
    EXPECT_EQ(state.d[1], kPiFraction[1] ^ 0x10);
}

// Expected values below come from a separate reference written from the algorithm's
// description.
TEST(KeyDigest, MixingStepsKnownAnswers) {
    std::array<std::uint32_t, 4> w = {0x01234567u, 0x89ABCDEFu, 0xFEDCBA98u, 0x76543210u};
    keydigest::MixWords(w);
    EXPECT_EQ(w,
              (std::array<std::uint32_t, 4>{0x420384FBu, 0x4D39782Cu, 0xAE375A78u, 0xCCA13F80u}));

    const keydigest::WideSubkeys subkeys =
        keydigest::WideKeySchedule({0x03020100u, 0x07060504u, 0x0B0A0908u, 0x0F0E0D0Cu});
    EXPECT_EQ(subkeys[0], (std::array<std::uint32_t, 2>{0x27646E17u, 0xBA3365D3u}));
    EXPECT_EQ(subkeys[15], (std::array<std::uint32_t, 2>{0x7CC33EB8u, 0x4184A9FBu}));

    const struct {
        int rounds;
        const char* cipher;
    } cases[] = {
        {4, "813BECD38DF32E3BC554CC3935C23732"},
        {2, "813BECD38DF32E3BC554CC3935C23732"}, // clamped to 4
        {8, "87D5E852CF17CC091E2C3C0517ED6A78"},
        {16, "23A4F5D95E72C00778B4B87212245EBD"},
        {20, "23A4F5D95E72C00778B4B87212245EBD"}, // clamped to 16
    };
    for (const auto& c : cases) {
        std::uint8_t block[16];
        for (int i = 0; i < 16; ++i)
            block[i] = static_cast<std::uint8_t>(i);
        keydigest::EncipherWideBlock(block, subkeys, c.rounds);
        char hex[33];
        for (int i = 0; i < 16; ++i)
            std::snprintf(hex + 2 * i, 3, "%02X", block[i]);
        EXPECT_STREQ(hex, c.cipher) << c.rounds << " rounds";
    }
}

std::string Hex(const FileKey& key) {
    std::string out;
    char buf[3];
    for (std::uint8_t b : key) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
    }
    return out;
}

TEST(KeyDigest, DerivedKeysKnownAnswers) {
    const struct {
        const char* text;
        const char* key;
    } cases[] = {
        {"", "0BD132AA831C56AC1F92E61084A342D2"},
        {"1", "E5DE63E9183FBA5258AD8EAB98BBB6D7"},
        {"123", "8BE043B89B17FADBED7E90416728FD22"},
        {"12345678", "B71BCCFC7A8C64AAE7E3B7C6716AD7D6"},
        {"123456789", "C19B40CFE741E4DD0F903F1A60C9AF50"},
        {"0123456789012345678901234567", "9F629C153A4716F6679D8F0E1DC70A5B"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(DeriveFileKey(c.text)), c.key) << c.text;
}

TEST(KeyDigest, DifferentTextsGiveDifferentKeys) {
    const char* texts[] = {"", "0", "00", "1", "10", "01", "123456789", "123456788", "987654321"};
    std::set<FileKey> keys;
    for (const char* text : texts) {
        EXPECT_EQ(DeriveFileKey(text), DeriveFileKey(text)) << text;
        keys.insert(DeriveFileKey(text));
    }
    EXPECT_EQ(keys.size(), std::size(texts));
}

} // namespace
} // namespace cgt
