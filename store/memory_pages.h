#pragma once
// Large buffers that are about to be written in full: their pages are mapped in one call
// instead of one fault per page.

#include <cstddef>
#include <vector>

namespace cgt {

// Asks the system to map the pages of [data, data + bytes) for writing now. Only advice: where
// the system cannot, the pages are mapped as they are first written.
void PrefaultForWriting(void* data, std::size_t bytes);

// Reserves room for `count` elements and maps its pages; the vector must be empty.
template <typename T> void ReservePrefaulted(std::vector<T>& v, std::size_t count) {
    v.reserve(count);
    PrefaultForWriting(v.data(), v.capacity() * sizeof(T));
}

} // namespace cgt
