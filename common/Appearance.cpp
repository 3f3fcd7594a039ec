#include "common/Appearance.h"

#include "common/RegistryValues.h"

#include <algorithm>
#include <cmath>

namespace qn {
namespace {

// The first builds that have each switch: the dark title bar under its first number, under its documented
// number, and uxtheme's SetPreferredAppMode in place of the older AllowDarkModeForApp at the same ordinal.
constexpr std::uint32_t kFirstDarkTitleBar = 17763;
constexpr std::uint32_t kDocumentedDarkTitleBar = 18985;
constexpr std::uint32_t kFirstPreferredAppMode = 18362;

bool AppsUseDarkTheme(RegistryKey& currentUser) {
    const auto key = currentUser.OpenSubkeyFor(kPersonalizeKey, ValueAccess::Query).key;
    const auto light = key ? ReadDword(*key, "AppsUseLightTheme") : std::nullopt;
    return light && *light == 0;
}

double Linear(SystemColour colour, int shift) {
    const double channel = static_cast<double>((colour >> shift) & 0xFF) / 255.0;
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(SystemColour colour) {
    return 0.2126 * Linear(colour, 0) + 0.7152 * Linear(colour, 8) + 0.0722 * Linear(colour, 16);
}

} // namespace

Appearance ChooseAppearance(RegistryKey& currentUser, bool highContrast, std::uint32_t build) {
    Appearance appearance;
    // High contrast takes the user's system colours; the registry is not even asked.
    appearance.colours = highContrast                    ? ColourSet::HighContrast
                         : AppsUseDarkTheme(currentUser) ? ColourSet::Dark
                                                         : ColourSet::Light;
    // Set on every build that has it, also to light: a change while running must take a dark title bar back.
    appearance.titleBar = build >= kDocumentedDarkTitleBar ? TitleBarAttribute::Build18985
                          : build >= kFirstDarkTitleBar    ? TitleBarAttribute::Build17763
                                                           : TitleBarAttribute::None;
    appearance.menuEntries = build >= kFirstPreferredAppMode;
    return appearance;
}

double ContrastRatio(SystemColour a, SystemColour b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace qn
