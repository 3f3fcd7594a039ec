#pragma once
#include "common/win32/UniqueHandle.h"
#include "monitor/MainUnit/TrayFigure.h"

#include <windows.h>

namespace qn::win32 {

// The tray figure as an icon of `size` by `size` pixels: its colours, a border, and its digits filling what the
// border leaves; every pixel opaque. Null where the system could not make it.
UniqueIcon DrawTrayFigure(const TrayFigure& figure, int size);

} // namespace qn::win32
