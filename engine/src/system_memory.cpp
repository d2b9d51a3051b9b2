#include "system_memory.h"

#include <limits>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace numbrook::detail {
namespace {

std::uint64_t physicalMemory() {
#if defined(_WIN32)
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (GlobalMemoryStatusEx(&status)) return status.ullTotalPhys;
#else
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0) {
        return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    }
#endif
    return std::uint64_t{4} << 30;
}

}  // namespace

bool shuffleFitsInMemory(std::uint64_t values, std::uint64_t items) {
    // Items are 32-bit indexes.
    if (items > std::numeric_limits<std::uint32_t>::max()) return false;
    constexpr std::uint64_t kBytesPerItem = 2 * sizeof(std::uint32_t);
    constexpr std::uint64_t kBytesPerValue = 16 + sizeof(std::size_t);
    const std::uint64_t needed = items * kBytesPerItem + values * kBytesPerValue;
    // Leave half of the machine to everything else.
    return needed <= physicalMemory() / 2;
}

}  // namespace numbrook::detail
