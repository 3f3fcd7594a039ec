#pragma once
#include "common/MemoryUnits.h"

namespace qn::win32 {

// Physical memory and commit from GlobalMemoryStatusEx.
MemoryStatus QueryMemoryStatus();

// The largest range of whole megabytes up to `limitMB` that this process could set aside in one piece now; the
// range is given back at once. A 32-bit process is bounded by its address space, a 64-bit one by the job or
// system limits on it.
std::uint64_t LargestReservableMB(std::uint64_t limitMB);

} // namespace qn::win32
