#pragma once
// The display for the end-to-end tests: the resolution that programs started from now on find, device pixels as
// the test itself sees them, and what the screen shows.
#include "common/win32/UniqueHandle.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace qn::e2e {

// Sets the current user's display resolution ("Control Panel\Desktop" LogPixels), which a program reads when it
// starts; the earlier value comes back at the end of the scope.
class ScopedDpi {
public:
    explicit ScopedDpi(DWORD dpi);
    ScopedDpi(const ScopedDpi&) = delete;
    ScopedDpi& operator=(const ScopedDpi&) = delete;
    ~ScopedDpi();

private:
    std::optional<DWORD> m_previous;
};

// This thread sees every window in device pixels (per-monitor awareness), whatever the windows' own awareness.
void SeeDevicePixels();

// What the screen shows of a window's client area, top row first: all of it, or `width` x `height` pixels from its
// top-left corner. The one way the tests read the screen: blitted into a bitmap of their own, every handle owned.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
ScreenPixels CaptureClientArea(HWND window);
ScreenPixels CaptureClientArea(HWND window, int width, int height);

} // namespace qn::e2e
