#include "store/key_digest.h"

#include "store/file_cipher.h"

#include <algorithm>
#include <utility>

namespace cgt::keydigest {

// Generated with integer arithmetic (Machin's formula), not typed.
const std::array<std::uint8_t, 256> kPiFraction = {
    0x24, 0x3F, 0x6A, 0x88, 0x85, 0xA3, 0x08, 0xD3, 0x13, 0x19, 0x8A, 0x2E, 0x03, 0x70, 0x73, 0x44,
    0xA4, 0x09, 0x38, 0x22, 0x29, 0x9F, 0x31, 0xD0, 0x08, 0x2E, 0xFA, 0x98, 0xEC, 0x4E, 0x6C, 0x89,
    0x45, 0x28, 0x21, 0xE6, 0x38, 0xD0, 0x13, 0x77, 0xBE, 0x54, 0x66, 0xCF, 0x34, 0xE9, 0x0C, 0x6C,
    0xC0, 0xAC, 0x29, 0xB7, 0xC9, 0x7C, 0x50, 0xDD, 0x3F, 0x84, 0xD5, 0xB5, 0xB5, 0x47, 0x09, 0x17,
    0x92, 0x16, 0xD5, 0xD9, 0x89, 0x79, 0xFB, 0x1B, 0xD1, 0x31, 0x0B, 0xA6, 0x98, 0xDF, 0xB5, 0xAC,
    0x2F, 0xFD, 0x72, 0xDB, 0xD0, 0x1A, 0xDF, 0xB7, 0xB8, 0xE1, 0xAF, 0xED, 0x6A, 0x26, 0x7E, 0x96,
    0xBA, 0x7C, 0x90, 0x45, 0xF1, 0x2C, 0x7F, 0x99, 0x24, 0xA1, 0x99, 0x47, 0xB3, 0x91, 0x6C, 0xF7,
    0x08, 0x01, 0xF2, 0xE2, 0x85, 0x8E, 0xFC, 0x16, 0x63, 0x69, 0x20, 0xD8, 0x71, 0x57, 0x4E, 0x69,
    0xA4, 0x58, 0xFE, 0xA3, 0xF4, 0x93, 0x3D, 0x7E, 0x0D, 0x95, 0x74, 0x8F, 0x72, 0x8E, 0xB6, 0x58,
    0x71, 0x8B, 0xCD, 0x58, 0x82, 0x15, 0x4A, 0xEE, 0x7B, 0x54, 0xA4, 0x1D, 0xC2, 0x5A, 0x59, 0xB5,
    0x9C, 0x30, 0xD5, 0x39, 0x2A, 0xF2, 0x60, 0x13, 0xC5, 0xD1, 0xB0, 0x23, 0x28, 0x60, 0x85, 0xF0,
    0xCA, 0x41, 0x79, 0x18, 0xB8, 0xDB, 0x38, 0xEF, 0x8E, 0x79, 0xDC, 0xB0, 0x60, 0x3A, 0x18, 0x0E,
    0x6C, 0x9E, 0x0E, 0x8B, 0xB0, 0x1E, 0x8A, 0x3E, 0xD7, 0x15, 0x77, 0xC1, 0xBD, 0x31, 0x4B, 0x27,
    0x78, 0xAF, 0x2F, 0xDA, 0x55, 0x60, 0x5C, 0x60, 0xE6, 0x55, 0x25, 0xF3, 0xAA, 0x55, 0xAB, 0x94,
    0x57, 0x48, 0x98, 0x62, 0x63, 0xE8, 0x14, 0x40, 0x55, 0xCA, 0x39, 0x6A, 0x2A, 0xAB, 0x10, 0xB6,
    0xB4, 0xCC, 0x5C, 0x34, 0x11, 0x41, 0xE8, 0xCE, 0xA1, 0x54, 0x86, 0xAF, 0x7C, 0x72, 0xE9, 0x93,
};

namespace {

constexpr std::uint32_t kWordFill = 0x55555555u;

// The mixing round shared by MixWords and EncipherWideBlock.
void MixHalf(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c, std::uint32_t& d) {
    a += d, d += a, a ^= a >> 7;
    b += a, a += b, b ^= b << 13;
    c += b, b += c, c ^= c >> 17;
    d += c, c += d, d ^= d << 9;
    a += d, d += a, a ^= a >> 3;
    b += a, a += b, b ^= b << 7;
    c += b, b += c, c ^= d >> 15; // d, not c
    d += c, c += d, d ^= d << 11;
}

std::uint32_t LoadWord(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

void StoreWord(std::uint8_t* p, std::uint32_t w) {
    p[0] = static_cast<std::uint8_t>(w);
    p[1] = static_cast<std::uint8_t>(w >> 8);
    p[2] = static_cast<std::uint8_t>(w >> 16);
    p[3] = static_cast<std::uint8_t>(w >> 24);
}

} // namespace

DigestState StartDigest() {
    DigestState state;
    state.p = 0;
    state.d = kPiFraction;
    state.k = 0;
    state.w.fill(kWordFill);
    return state;
}

void FeedByte(DigestState& state, std::uint8_t c) {
    state.d[static_cast<std::size_t>(state.p)] ^= c;
    state.p = (state.p + 1) % 256;
    // Byte k of the little-endian image of the words.
    state.w[static_cast<std::size_t>(state.k / 4)] ^= std::uint32_t{c} << (8 * (state.k % 4));
    if (++state.k == 8) {
        MixWords(state.w);
        state.k = 0;
    }
}

std::vector<std::uint8_t> FinishDigest(DigestState& state) {
    std::vector<std::uint8_t> finish(static_cast<std::size_t>(8 - state.k), 0);
    finish.front() = 0x01;
    for (std::uint8_t c : finish)
        FeedByte(state, c);
    return finish;
}

void MixWords(std::array<std::uint32_t, 4>& w) {
    std::uint32_t r1 = w[3], r2 = w[2], r3 = w[1], r4 = w[0];
    for (int i = 0; i < 4; ++i)
        MixHalf(r1, r2, r3, r4);
    w = {r1, r2, r3, r4};
}

WideSubkeys WideKeySchedule(const std::array<std::uint32_t, 4>& key) {
    static constexpr std::uint32_t kSalts[4] = {0x55555555u, 0xAAAAAAAAu, 0x33333333u, 0xCCCCCCCCu};
    std::array<std::uint32_t, 32> words{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::uint32_t s = kSalts[i];
        std::uint32_t a = key[0], b = s, c = key[1], d = s, e = key[2], f = s, g = key[3], h = s;
        for (int n = 0; n < 8; ++n) {
            a ^= b << 11, d += a, b += c;
            b ^= c >> 2, e += b, c += d;
            c ^= d << 8, f += c, d += e;
            d ^= e >> 16, g += d, e += f;
            e ^= f << 10, h += e, f += g;
            f ^= g >> 4, a += f, g += h;
            g ^= h << 8, b += g, h += a;
            h ^= a >> 9, c += h, a += b;
        }
        const std::uint32_t out[8] = {a, b, c, d, e, f, g, h};
        std::copy(std::begin(out), std::end(out), words.begin() + static_cast<long>(8 * i));
    }
    WideSubkeys subkeys{};
    for (std::size_t j = 0; j < subkeys.size(); ++j)
        subkeys[j] = {words[2 * j], words[2 * j + 1]};
    return subkeys;
}

void EncipherWideBlock(std::uint8_t* block16, const WideSubkeys& subkeys, int rounds) {
    rounds = std::clamp(rounds, 4, 16);
    std::uint32_t r0 = LoadWord(block16), r1 = LoadWord(block16 + 4);
    std::uint32_t l0 = LoadWord(block16 + 8), l1 = LoadWord(block16 + 12);
    for (int j = 0; j < rounds; ++j) {
        const auto& subkey = subkeys[static_cast<std::size_t>(j)];
        std::uint32_t aa = r0, bb = subkey[0], cc = r1, dd = subkey[1];
        MixHalf(aa, bb, cc, dd);
        std::swap(aa, cc);
        std::swap(bb, dd);
        MixHalf(aa, bb, cc, dd);
        const std::uint32_t n0 = bb ^ aa ^ l0, n1 = dd ^ cc ^ l1;
        l0 = r0, l1 = r1;
        r0 = n0, r1 = n1;
    }
    StoreWord(block16, l0);
    StoreWord(block16 + 4, l1);
    StoreWord(block16 + 8, r0);
    StoreWord(block16 + 12, r1);
}

} // namespace cgt::keydigest

namespace cgt {

FileKey DeriveFileKey(std::string_view text) {
    using namespace keydigest;
    DigestState state = StartDigest();
    for (char c : text)
        FeedByte(state, static_cast<std::uint8_t>(c));
    FinishDigest(state);
    const WideSubkeys subkeys = WideKeySchedule(state.w);
    for (std::size_t offset = 0; offset < state.d.size(); offset += 16) {
        EncipherWideBlock(state.d.data() + offset, subkeys, 8);
    }
    FileKey key;
    std::copy_n(state.d.begin(), key.size(), key.begin());
    return key;
}

} // namespace cgt
