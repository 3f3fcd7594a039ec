#include "common/Appearance.h"
#include "tests/unit/support/FakeRegistry.h"

#include <gtest/gtest.h>

#include <optional>

namespace qn {
namespace {

using Bar = TitleBarAttribute;
enum class Stored { Dark, Light, Absent, Text }; // AppsUseLightTheme 0, 1, absent, REG_SZ "0"

struct Row {
    Stored stored;
    bool highContrast;
    std::uint32_t build;
    Appearance expected;
};

constexpr auto L = ColourSet::Light;
constexpr auto D = ColourSet::Dark;
constexpr auto H = ColourSet::HighContrast;

// clang-format off
const Row kRows[] = {
    {Stored::Dark,   false, 17134, {D, Bar::None, false}},
    {Stored::Dark,   false, 17763, {D, Bar::Build17763, false}},
    {Stored::Dark,   false, 18362, {D, Bar::Build17763, true}},
    {Stored::Dark,   false, 19041, {D, Bar::Build18985, true}},
    {Stored::Dark,   false, 22631, {D, Bar::Build18985, true}},
    {Stored::Dark,   true,  17134, {H, Bar::None, false}},
    {Stored::Dark,   true,  17763, {H, Bar::Build17763, false}},
    {Stored::Dark,   true,  18362, {H, Bar::Build17763, true}},
    {Stored::Dark,   true,  19041, {H, Bar::Build18985, true}},
    {Stored::Dark,   true,  22631, {H, Bar::Build18985, true}},
    {Stored::Light,  false, 17134, {L, Bar::None, false}},
    {Stored::Light,  false, 17763, {L, Bar::Build17763, false}},
    {Stored::Light,  false, 18362, {L, Bar::Build17763, true}},
    {Stored::Light,  false, 19041, {L, Bar::Build18985, true}},
    {Stored::Light,  false, 22631, {L, Bar::Build18985, true}},
    {Stored::Light,  true,  17134, {H, Bar::None, false}},
    {Stored::Light,  true,  19041, {H, Bar::Build18985, true}},
    {Stored::Light,  true,  22631, {H, Bar::Build18985, true}},
    {Stored::Absent, false, 17134, {L, Bar::None, false}},
    {Stored::Absent, false, 17763, {L, Bar::Build17763, false}},
    {Stored::Absent, false, 18362, {L, Bar::Build17763, true}},
    {Stored::Absent, false, 19041, {L, Bar::Build18985, true}},
    {Stored::Absent, false, 22631, {L, Bar::Build18985, true}},
    {Stored::Absent, true,  18362, {H, Bar::Build17763, true}},
    {Stored::Absent, true,  22631, {H, Bar::Build18985, true}},
    {Stored::Text,   false, 17134, {L, Bar::None, false}},
    {Stored::Text,   false, 17763, {L, Bar::Build17763, false}},
    {Stored::Text,   false, 18362, {L, Bar::Build17763, true}},
    {Stored::Text,   false, 19041, {L, Bar::Build18985, true}},
    {Stored::Text,   false, 22631, {L, Bar::Build18985, true}},
    {Stored::Text,   true,  17763, {H, Bar::Build17763, false}},
    {Stored::Text,   true,  22631, {H, Bar::Build18985, true}},
};
// clang-format on

TEST(AppearanceTest, TitleBarMenuEntriesAndColoursFollowTheThemeHighContrastAndBuild) {
    for (const Row& row : kRows) {
        fake::Registry registry;
        if (row.stored == Stored::Dark || row.stored == Stored::Light) {
            registry.Put(kPersonalizeKey, "AppsUseLightTheme", regtype::kDword,
                         {static_cast<std::uint8_t>(row.stored == Stored::Light), 0, 0, 0});
        } else if (row.stored == Stored::Text) {
            registry.Put(kPersonalizeKey, "AppsUseLightTheme", regtype::kString, {'0', 0, 0, 0});
        }
        const Appearance chosen = ChooseAppearance(registry.Root(), row.highContrast, row.build);
        SCOPED_TRACE(testing::Message() << "stored " << static_cast<int>(row.stored) << ", high contrast "
                                        << row.highContrast << ", build " << row.build);
        EXPECT_EQ(chosen.colours, row.expected.colours);
        EXPECT_EQ(chosen.titleBar, row.expected.titleBar);
        EXPECT_EQ(chosen.menuEntries, row.expected.menuEntries);
        EXPECT_EQ(registry.OpenKeys(), 0);
    }
}

TEST(AppearanceTest, DarkDialogTextsKeepAContrastOfAtLeastFourAndAHalf) {
    EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 0.01);
    EXPECT_GE(ContrastRatio(kDarkDialog.text, kDarkDialog.background), 4.5);
    EXPECT_GE(ContrastRatio(kDarkDialog.fieldText, kDarkDialog.field), 4.5);
}

} // namespace
} // namespace qn
