#pragma once
// The display resolution a window is shown at, and sizes for it. The programs run on Windows 7 and later; the
// per-monitor functions of Windows 10 are looked up at run time, and the system-wide DPI stands in before that.
#include <windows.h>

namespace qn::win32 {

// The DPI of the monitor the window is on (per-monitor awareness), or the system DPI.
UINT WindowDpi(HWND window);

// The DPI of the taskbar that holds the notification area, whose icons are drawn for it; the system DPI where
// there is no taskbar.
UINT TaskbarDpi();

// A system metric (SM_CXSMICON...) at `dpi`. Before Windows 10 1607 the system's own, which there is the metric at
// the DPI the program started with: GetSystemMetrics keeps that scale for a per-monitor-aware program.
int SystemMetricForDpi(int index, UINT dpi);

// The outer size of a window of this style whose client area is `client` pixels at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

} // namespace qn::win32
