#pragma once
#include "common/MemoryUnits.h"

namespace qn::win32 {

// Physical memory and commit from GlobalMemoryStatusEx.
MemoryStatus QueryMemoryStatus();

} // namespace qn::win32
