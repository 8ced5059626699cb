#pragma once
// The 10-byte extended (80-bit x87) value as it stands in the field store and the data file.

#include <array>
#include <cstdint>

namespace cgt {

using Extended = long double;
using ExtendedBytes = std::array<std::uint8_t, 10>;

// Little-endian 80-bit image: 64-bit significand with explicit integer bit, then sign and
// 15-bit exponent. Any bit pattern decodes without fault (NaN, infinities, unnormals included).
ExtendedBytes EncodeExtended(Extended value);
Extended DecodeExtended(const std::uint8_t* bytes);
inline Extended DecodeExtended(const ExtendedBytes& bytes) {
    return DecodeExtended(bytes.data());
}

} // namespace cgt
