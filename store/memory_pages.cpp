#include "store/memory_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace cgt {

namespace {

// Below this a buffer's few pages are not worth a system call.
constexpr std::size_t kPrefaultBytes = 256 * 1024;

} // namespace

void PrefaultForWriting(void* data, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    if (data == nullptr || bytes < kPrefaultBytes) return;
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data) & ~(pageSize - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data) + bytes;
    // A failure (an older kernel) leaves the pages to be mapped on first write.
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace cgt
