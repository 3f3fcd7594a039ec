#include "common/win32/Dpi.h"

#include "common/win32/SystemFunction.h"

namespace qn::win32 {
namespace {

// user32 functions of Windows 10 that older systems lack.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

UINT ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow =
        SystemFunction<GetDpiForWindowFn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) {
            return dpi;
        }
    }
    return ScreenDpi();
}

UINT TaskbarDpi() {
    // The primary taskbar holds the notification area.
    return WindowDpi(FindWindowW(L"Shell_TrayWnd", nullptr));
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi =
        SystemFunction<GetSystemMetricsForDpiFn>(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
    if (forDpi) {
        if (const int metric = forDpi(index, dpi); metric > 0) {
            return metric;
        }
    }
    return GetSystemMetrics(index);
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi =
        SystemFunction<AdjustWindowRectExForDpiFn>(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
    RECT bounds{0, 0, client.cx, client.cy};
    // Without the per-monitor function the frame is the system's, which is the one the window gets there.
    if (!adjustForDpi || !adjustForDpi(&bounds, style, FALSE, exStyle, dpi)) {
        AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
    }
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

} // namespace qn::win32
