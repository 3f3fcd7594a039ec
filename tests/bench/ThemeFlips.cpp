// ThemeFlips.exe: turns the taskbar's theme (SystemUsesLightTheme) light and dark again COUNT times, INTERVAL ms
// apart, and announces each turn as Windows does (WM_SETTINGCHANGE with "ImmersiveColorSet"), so that a monitor
// showing the tray figure draws a new icon each time: scripts/long-run-monitor.sh watches that nothing of the old
// ones is left. Leaves the value as it found it.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr const wchar_t* kPersonalize = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr const wchar_t* kLightTheme = L"SystemUsesLightTheme";

void Announce() {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                        SMTO_ABORTIFHUNG, 2000, &result);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: ThemeFlips.exe <count> <interval ms>\n", stderr);
        return 2;
    }
    const long count = std::wcstol(argv[1], nullptr, 10);
    const DWORD interval = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        std::fputs("the theme's key cannot be opened\n", stderr);
        return 1;
    }
    DWORD before = 0;
    DWORD size = sizeof before;
    const bool hadValue =
        RegQueryValueExW(key, kLightTheme, nullptr, nullptr, reinterpret_cast<BYTE*>(&before), &size) == ERROR_SUCCESS;
    for (long i = 0; i < count; ++i) {
        const DWORD light = (before + 1 + static_cast<DWORD>(i)) % 2;
        RegSetValueExW(key, kLightTheme, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&light), sizeof light);
        Announce();
        Sleep(interval);
    }
    if (hadValue) {
        RegSetValueExW(key, kLightTheme, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before), sizeof before);
    } else {
        RegDeleteValueW(key, kLightTheme);
    }
    Announce();
    RegCloseKey(key);
    std::printf("%ld turns\n", count);
    return 0;
}
