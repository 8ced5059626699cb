#include "store/file_cipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace cgt {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes RandomBytes(std::size_t n, std::mt19937& rng) {
    Bytes out(n);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(rng());
    return out;
}

FileKey RandomKey(std::mt19937& rng) {
    FileKey key{};
    for (auto& b : key)
        b = static_cast<std::uint8_t>(rng());
    return key;
}

// Deciphers and checks the bound on the output; a rejection must be the format error.
void DecipherWithinBounds(const Bytes& input, const FileKey& key) {
    try {
        const Bytes plain = DecipherBytes(input, key);
        ASSERT_GE(input.size(), 8u);
        const std::size_t blocks = input.size() / 8;
        EXPECT_GE(plain.size(), 8 * (blocks - 1));
        EXPECT_LT(plain.size(), 8 * blocks);
    } catch (const CipherError& e) {
        EXPECT_STREQ(e.what(), "Invalid file format");
    }
}

TEST(CipherMalformed, RandomInputs) {
    std::mt19937 rng(17);
    for (int i = 0; i < 2000; ++i) {
        // Separate allocations of exact size let AddressSanitizer see any overrun.
        DecipherWithinBounds(RandomBytes(rng() % 70, rng), RandomKey(rng));
    }
}

TEST(CipherMalformed, TruncatedAndDamagedFiles) {
    std::mt19937 rng(19);
    const FileKey key = RandomKey(rng);
    const Bytes plain = RandomBytes(61, rng);
    const Bytes cipher = EncipherBytes(plain, key);
    for (std::size_t length = 0; length <= cipher.size(); ++length) {
        DecipherWithinBounds(Bytes(cipher.begin(), cipher.begin() + length), key);
    }
    for (std::size_t at = 0; at < cipher.size(); ++at) {
        Bytes damaged = cipher;
        damaged[at] ^= 0x80;
        DecipherWithinBounds(damaged, key);
    }
}

TEST(CipherMalformed, EveryPlainSizeRoundTrips) {
    std::mt19937 rng(23);
    const FileKey key = RandomKey(rng);
    for (std::size_t size = 0; size <= 40; ++size) {
        const Bytes plain = RandomBytes(size, rng);
        EXPECT_EQ(DecipherBytes(EncipherBytes(plain, key), key), plain) << size;
    }
    TripleDesBlocks(nullptr, 0, key, CipherDirection::Encipher);
}

} // namespace
} // namespace cgt
