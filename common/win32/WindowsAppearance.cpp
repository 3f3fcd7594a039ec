#include "common/win32/WindowsAppearance.h"

#include "common/Trace.h"
#include "common/win32/Registry.h"
#include "common/win32/SystemFunction.h"

#include <string_view>

namespace qn::win32 {
namespace {

// System DLLs that stay loaded for the process's life once a window has needed them; the search is restricted to
// the system folder at each program's start.
HMODULE SystemModule(const wchar_t* name) {
    const HMODULE loaded = ::GetModuleHandleW(name);
    return loaded ? loaded : ::LoadLibraryW(name);
}

// A missing entry is traced once per process, not at every window and every change.
void TraceMissing(bool& traced, std::string_view what, DWORD code = 0) {
    if (!traced) {
        traced = true;
        Trace(TraceLevel::Info, what, code);
    }
}

// uxtheme's PreferredAppMode: AllowDark follows the apps' theme, Default keeps the menus light.
constexpr int kAppModeDefault = 0;
constexpr int kAppModeAllowDark = 1;
constexpr WORD kSetPreferredAppMode = 135;
constexpr WORD kFlushMenuThemes = 136;

} // namespace

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

std::uint32_t WindowsBuild() {
    // GetVersionEx answers what the manifest claims to support; the kernel's own answer is the build itself.
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    static const auto getVersion = SystemFunction<GetVersion>(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!getVersion || getVersion(&version) != 0 || version.dwMajorVersion < 10) {
        return 0;
    }
    return version.dwBuildNumber;
}

Appearance CurrentAppearance() {
    Win32RegistryKey currentUser = Win32RegistryKey::CurrentUser();
    return ChooseAppearance(currentUser, HighContrastOn(), WindowsBuild());
}

void ApplyTitleBar(HWND window, const Appearance& appearance) {
    static bool traced = false;
    if (appearance.titleBar == TitleBarAttribute::None) {
        TraceMissing(traced, "no dark title bar before Windows 10 build 17763");
        return;
    }
    using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    static const auto setAttribute = SystemFunction<SetAttribute>(SystemModule(L"dwmapi.dll"), "DwmSetWindowAttribute");
    if (!setAttribute) {
        TraceMissing(traced, "DwmSetWindowAttribute missing: title bar stays light", ::GetLastError());
        return;
    }
    const BOOL dark = appearance.colours == ColourSet::Dark;
    const HRESULT result =
        setAttribute(window, static_cast<DWORD>(appearance.titleBar), &dark, static_cast<DWORD>(sizeof dark));
    if (FAILED(result)) {
        Trace(TraceLevel::Warning, "dark title bar refused", static_cast<std::uint32_t>(result));
        return;
    }
    // A title bar that shows is drawn again only when its frame changes.
    if (::IsWindowVisible(window)) {
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void ApplyMenuEntries(const Appearance& appearance) {
    // Before build 18362 the same ordinals are other functions with other arguments: never called there.
    static bool traced = false;
    if (!appearance.menuEntries) {
        TraceMissing(traced, "no dark menus before Windows 10 build 18362");
        return;
    }
    const HMODULE uxtheme = SystemModule(L"uxtheme.dll");
    using SetPreferredAppMode = int(WINAPI*)(int);
    using FlushMenuThemes = void(WINAPI*)();
    static const auto setMode = SystemFunction<SetPreferredAppMode>(uxtheme, MAKEINTRESOURCEA(kSetPreferredAppMode));
    static const auto flush = SystemFunction<FlushMenuThemes>(uxtheme, MAKEINTRESOURCEA(kFlushMenuThemes));
    if (!setMode || !flush) {
        TraceMissing(traced, "uxtheme's menu entries missing: menus stay light", ::GetLastError());
        return;
    }
    // High contrast keeps Windows' own menus in the user's colours.
    setMode(appearance.colours == ColourSet::Dark ? kAppModeAllowDark : kAppModeDefault);
    flush();
}

void SetControlTheme(HWND control, const wchar_t* subApp, const wchar_t* idList) {
    using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    static const auto setTheme = SystemFunction<SetTheme>(SystemModule(L"uxtheme.dll"), "SetWindowTheme");
    static bool traced = false;
    if (!setTheme) {
        TraceMissing(traced, "SetWindowTheme missing: controls keep their theme", ::GetLastError());
        return;
    }
    if (const HRESULT result = setTheme(control, subApp, idList); FAILED(result)) {
        Trace(TraceLevel::Warning, "control theme refused", static_cast<std::uint32_t>(result));
    }
}

bool ColoursChanged(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOLORCHANGE) {
        return true;
    }
    if (message != WM_SETTINGCHANGE) {
        return false;
    }
    // Windows names the change of the apps' light or dark theme so.
    return wParam == SPI_SETHIGHCONTRAST ||
           (lParam && std::wstring_view(reinterpret_cast<const wchar_t*>(lParam)) == L"ImmersiveColorSet");
}

} // namespace qn::win32
