#pragma once
// The steps of the key digest, exposed for tests.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace cgt::keydigest {

// The first 256 bytes of the fractional part of pi in hexadecimal.
extern const std::array<std::uint8_t, 256> kPiFraction;

struct DigestState {
    int p = 0;
    std::array<std::uint8_t, 256> d{};
    int k = 0;
    std::array<std::uint32_t, 4> w{};
};

DigestState StartDigest();
void FeedByte(DigestState& state, std::uint8_t c);
// Feeds the finishing bytes; returns them.
std::vector<std::uint8_t> FinishDigest(DigestState& state);

void MixWords(std::array<std::uint32_t, 4>& w);

using WideSubkeys = std::array<std::array<std::uint32_t, 2>, 16>;
WideSubkeys WideKeySchedule(const std::array<std::uint32_t, 4>& key);
void EncipherWideBlock(std::uint8_t* block16, const WideSubkeys& subkeys, int rounds);

} // namespace cgt::keydigest
