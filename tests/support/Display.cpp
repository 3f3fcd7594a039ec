#include "tests/support/Display.h"

namespace qn::e2e {
namespace {

constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";
constexpr const wchar_t* kLogPixels = L"LogPixels";

void SetLogPixels(const std::optional<DWORD>& dpi) {
    win32::UniqueRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    if (dpi) {
        RegSetValueExW(key.get(), kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*dpi), sizeof *dpi);
    } else {
        RegDeleteValueW(key.get(), kLogPixels);
    }
}

// Blits a device context's pixels into a top-down 32-bit image.
ScreenPixels Capture(HDC source, int x, int y, int width, int height) {
    ScreenPixels result;
    if (width <= 0 || height <= 0) {
        return result;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const win32::UniqueGdiObject bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win32::UniqueMemoryDc memory(CreateCompatibleDC(source));
    if (!bitmap || !memory) {
        return result;
    }
    const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    SelectObject(memory.get(), old);
    const auto* data = static_cast<const std::uint32_t*>(bits);
    result.width = width;
    result.height = height;
    result.pixels.assign(data, data + static_cast<std::size_t>(width) * height);
    for (std::uint32_t& pixel : result.pixels) {
        pixel &= 0xFFFFFF;
    }
    return result;
}

} // namespace

ScopedDpi::ScopedDpi(DWORD dpi) {
    win32::UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
        DWORD value = 0;
        DWORD size = sizeof value;
        DWORD type = REG_NONE;
        if (RegQueryValueExW(key.get(), kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD) {
            m_previous = value;
        }
    }
    SetLogPixels(dpi);
}

ScopedDpi::~ScopedDpi() {
    SetLogPixels(m_previous);
}

void SeeDevicePixels() {
    using SetContext = HANDLE(WINAPI*)(HANDLE);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto set =
        reinterpret_cast<SetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
    if (set) {
        set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))); // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    }
}

ScreenPixels CaptureClientArea(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const HDC screen = GetDC(nullptr);
    ScreenPixels result = Capture(screen, origin.x, origin.y, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    return result;
}

} // namespace qn::e2e
