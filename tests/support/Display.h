#pragma once
// The display resolution for the end-to-end tests: the one programs started from now on find, and device pixels
// as the test itself sees them.
#include "common/win32/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
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

// The pixels of a window's client area as they stand on the screen, top row first, each 0x00RRGGBB.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
ScreenPixels CaptureClientArea(HWND window);

} // namespace qn::e2e
