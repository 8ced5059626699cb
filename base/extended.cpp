#include "base/extended.h"

#include <bit>
#include <cstring>
#include <limits>

namespace cgt {

// The codec relies on long double being the x87 80-bit format laid out little-endian in its
// first 10 bytes, as gcc has it on x86-64.
static_assert(std::numeric_limits<Extended>::digits == 64, "long double must be x87 extended");
static_assert(sizeof(Extended) >= 10);
static_assert(std::endian::native == std::endian::little);

ExtendedBytes EncodeExtended(Extended value) {
    ExtendedBytes bytes{};
    std::memcpy(bytes.data(), &value, bytes.size());
    return bytes;
}

Extended DecodeExtended(const std::uint8_t* bytes) {
    // Zero the padding first so the value never carries indeterminate bytes; the bit pattern
    // itself is copied, not interpreted, so no pattern can trap here.
    Extended value;
    std::memset(&value, 0, sizeof value);
    std::memcpy(&value, bytes, std::tuple_size_v<ExtendedBytes>);
    return value;
}

} // namespace cgt
