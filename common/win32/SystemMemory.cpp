#include "common/win32/SystemMemory.h"

#include "common/win32/UniqueHandle.h"

#include <windows.h>

#include <limits>

namespace qn::win32 {
namespace {

bool CanReserve(std::uint64_t bytes) {
    if (bytes == 0 || bytes > std::numeric_limits<SIZE_T>::max()) {
        return false;
    }
    const ReservedRange range(VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), MEM_RESERVE, PAGE_NOACCESS));
    return static_cast<bool>(range);
}

} // namespace

MemoryStatus QueryMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        return MemoryStatus{};
    }
    // ullTotalPageFile and ullAvailPageFile are, despite their names, the commit limit and what is left of it.
    return MemoryStatus{status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile, status.ullAvailPageFile};
}

std::uint64_t LargestReservableMB(std::uint64_t limitMB) {
    // Asking the system is exact where walking the address map is not: Wine, for one, lists ranges as
    // reserved that it still hands out.
    if (CanReserve(limitMB * kMegabyte)) {
        return limitMB;
    }
    std::uint64_t low = 0;        // reservable
    std::uint64_t high = limitMB; // not reservable
    while (low + 1 < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        (CanReserve(middle * kMegabyte) ? low : high) = middle;
    }
    return low;
}

} // namespace qn::win32
