#pragma once
// How the programs follow Windows' own appearance: the apps' light or dark theme, high contrast, and which of
// Windows' undocumented or newer switches a build of Windows has for them. One pure decision over the facts, so
// that every window of every program decides alike.
#include "common/RegistryKey.h"

#include <cstdint>

namespace qn {

// Where Windows keeps the apps' theme and the taskbar's, below HKEY_CURRENT_USER.
inline constexpr const char* kPersonalizeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// The colours a window takes: its own light look (the look of every program until dark mode), the dark one, or
// the user's high contrast system colours, which win over both.
enum class ColourSet { Light, Dark, HighContrast };

// The dark title bar's attribute of DwmSetWindowAttribute (DWMWA_USE_IMMERSIVE_DARK_MODE); builds 17763 to
// 18984 knew it by the number before the one the SDK gives it.
enum class TitleBarAttribute : std::uint32_t { None = 0, Build17763 = 19, Build18985 = 20 };

struct Appearance {
    ColourSet colours = ColourSet::Light;
    TitleBarAttribute titleBar = TitleBarAttribute::None;
    // Whether uxtheme's menu entries, which exist only by ordinal, are called.
    bool menuEntries = false;
    bool operator==(const Appearance&) const = default;
};

// The decision for `currentUser` (AppsUseLightTheme below kPersonalizeKey: a REG_DWORD of 0 is dark; absent, or
// of another type, light), with high contrast on or off, on Windows build `build` (0: unknown).
Appearance ChooseAppearance(RegistryKey& currentUser, bool highContrast, std::uint32_t build);

// A colour as the system stores it: 0x00BBGGRR.
using SystemColour = std::uint32_t;

// The settings dialog's dark colours: the dialog and its texts, and the fields and their texts.
struct DialogColours {
    SystemColour background;
    SystemColour text;
    SystemColour field;
    SystemColour fieldText;
};
inline constexpr DialogColours kDarkDialog{0x202020, 0xF2F2F2, 0x2B2B2B, 0xF2F2F2};

// The contrast ratio of two colours as WCAG 2 defines it, from 1 (equal) to 21 (black and white).
double ContrastRatio(SystemColour a, SystemColour b);

} // namespace qn
