#include "common/win32/SystemMemory.h"

#include <windows.h>

namespace qn::win32 {

MemoryStatus QueryMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        return MemoryStatus{};
    }
    return MemoryStatus{status.ullTotalPhys, status.ullAvailPhys};
}

} // namespace qn::win32
