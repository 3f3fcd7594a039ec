#include "tests/support/Display.h"

#include <cstdint>

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
    return CaptureClientArea(window, client.right, client.bottom);
}

ScreenPixels CaptureClientArea(HWND window, int width, int height) {
    ScreenPixels result;
    if (width <= 0 || height <= 0) {
        return result;
    }
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    const win32::WindowDc screen(nullptr);
    void* bits = nullptr;
    const win32::UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) {
        return result;
    }
    {
        const win32::SelectedObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), origin.x, origin.y, SRCCOPY);
        GdiFlush();
    }
    // A 32-bit DIB holds 0x00RRGGBB; the tests compare COLORREFs, as GetPixel and RGB give them.
    const auto* data = static_cast<const std::uint32_t*>(bits);
    result.width = width;
    result.height = height;
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        result.pixels.push_back(RGB(data[i] >> 16 & 0xFF, data[i] >> 8 & 0xFF, data[i] & 0xFF));
    }
    return result;
}

} // namespace qn::e2e
