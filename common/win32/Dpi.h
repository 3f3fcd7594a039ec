#pragma once
// The display resolution a window is shown at, and sizes for it. The programs run on Windows 7 and later; the
// per-monitor functions of Windows 10 are looked up at run time, and the system-wide DPI stands in before that.
#include <windows.h>

namespace qn::win32 {

// The DPI of the monitor the window is on (per-monitor awareness), or the system DPI.
UINT WindowDpi(HWND window);

// The outer size of a window of this style whose client area is `client` pixels at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

} // namespace qn::win32
