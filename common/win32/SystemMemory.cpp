#include "common/win32/SystemMemory.h"

#include <windows.h>

namespace qn::win32 {

MemoryStatus QueryMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        return MemoryStatus{};
    }
    // ullTotalPageFile and ullAvailPageFile are, despite their names, the commit limit and what is left of it.
    return MemoryStatus{status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile, status.ullAvailPageFile};
}

} // namespace qn::win32
