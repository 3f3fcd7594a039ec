// The monitor's real windows in this process: the popup menu's captions, check marks and enabled states after
// start-up, which another process cannot read.
#include "common/DisplayScale.h"
#include "common/Language.h"
#include "common/win32/Utf.h"
#include "monitor/MainUnit/win32/MeterWindow.h"
#include "monitor/MainUnit/win32/MeterWindowPlacement.h"
#include "monitor/MainUnit/win32/MonitorSystem.h"
#include "monitor/MainUnit/win32/TrayFigureIcon.h"
#include "tests/unit/monitor/MainUnit/MonitorFakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <ostream>
#include <set>
#include <vector>

namespace qn::win32 {
namespace {

using testing_support::StoredSettings;
using testing_support::StoredValues;

struct ItemState {
    std::wstring caption;
    bool separator;
    bool checked;
    bool grayed;
    bool operator==(const ItemState&) const = default;
    friend void PrintTo(const ItemState& item, std::ostream* out) {
        *out << (item.separator ? "separator" : Narrow(item.caption)) << (item.checked ? " checked" : "")
             << (item.grayed ? " grayed" : "");
    }
};

std::vector<ItemState> ReadMenu(HMENU menu) {
    std::vector<ItemState> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = 128;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        // Separators count as grayed on some systems; only commands are compared on that.
        items.push_back(
            {caption, separator, (info.fState & MFS_CHECKED) != 0, !separator && (info.fState & MFS_GRAYED) != 0});
    }
    return items;
}

// The menu as the table it is built from describes it, with these commands checked and these grayed.
std::vector<ItemState> TableMenu(const std::set<MenuCommand>& checked, const std::set<MenuCommand>& grayed = {}) {
    std::vector<ItemState> items;
    for (const MenuCommand command : kMenuLayout) {
        const bool separator = command == MenuCommand::None;
        items.push_back({separator ? L"" : Widen(MenuCaption(command)), separator, checked.contains(command),
                         grayed.contains(command)});
    }
    return items;
}

class MeterMenuTest : public testing::Test {
protected:
    std::vector<ItemState> MenuAfterStartUp() {
        ApplicationWindow application;
        MeterWindow meter(application, LoadIconW(nullptr, IDI_APPLICATION));
        MeterWindowPlacement placement(meter.Handle());
        StoredSettings settings(placement, stored);
        MonitorSystem system;
        Monitor monitor(system, meter, settings.store, {"C"});
        meter.Attach(monitor);
        monitor.Start();
        std::vector<ItemState> items = ReadMenu(meter.MenuHandle());
        meter.RemoveTrayIcon();
        return items;
    }
    StoredValues stored;
};

TEST_F(MeterMenuTest, FirstStartShowsTheMeterAndLeavesEverySwitchOff) {
    EXPECT_EQ(MenuAfterStartUp(), TableMenu({MenuCommand::Meter}));
}

TEST_F(MeterMenuTest, InEnglishEachEntrySaysWhatItDoes) {
    struct Restore {
        ~Restore() { SetTextLanguage(Language::Japanese); }
    } restore;
    SetTextLanguage(Language::English);
    std::vector<std::wstring> captions;
    for (const ItemState& item : MenuAfterStartUp()) {
        if (!item.separator) {
            captions.push_back(item.caption);
        }
    }
    EXPECT_THAT(captions,
                testing::ElementsAre(L"Free memory now", L"Settings", L"Show the meter", L"Always on top",
                                     L"Free memory periodically", L"Free memory when low", L"About Nimbi", L"Exit"));
}

TEST_F(MeterMenuTest, StoredSwitchesSetTheChecksAndAHiddenMeterGreysAlwaysOnTop) {
    stored = {{"Show", 1}, {"Top", 1}, {"Time", 1}, {"Memory", 1}};
    EXPECT_EQ(MenuAfterStartUp(),
              TableMenu({MenuCommand::AlwaysOnTop, MenuCommand::Periodic, MenuCommand::ReserveWhenLow},
                        {MenuCommand::AlwaysOnTop}));
}

// Moved to a monitor at 200 %: the window takes the rectangle the system suggests, and the gauge fills its new
// client area with the font at that resolution.
TEST(MeterDpiTest, ADpiChangeTakesTheSuggestedRectangleAndScalesTheGauge) {
    ApplicationWindow application;
    MeterWindow meter(application, LoadIconW(nullptr, IDI_APPLICATION));
    ASSERT_EQ(meter.Dpi(), 96u);
    EXPECT_EQ(meter.Gauge().Font().height, 12);
    RECT suggested{300, 200, 300 + 470, 200 + 90};
    SendMessageW(meter.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT bounds{};
    GetWindowRect(meter.Handle(), &bounds);
    EXPECT_TRUE(EqualRect(&bounds, &suggested));
    EXPECT_EQ(meter.Dpi(), 192u);
    EXPECT_EQ(meter.Gauge().Font().height, 24);
    RECT client{};
    GetClientRect(meter.Handle(), &client);
    RECT gauge{};
    GetClientRect(meter.Gauge().Handle(), &gauge);
    EXPECT_TRUE(EqualRect(&gauge, &client));
}

// A hidden window placed on a monitor of another scale hears nothing of it: after the placement, the meter sized
// for another DPI (192 here) takes the size and font of its monitor's, keeping its top-left corner.
TEST(MeterDpiTest, AfterAPlacementTheMeterFitsTheDpiOfItsMonitor) {
    ApplicationWindow application;
    MeterWindow meter(application, LoadIconW(nullptr, IDI_APPLICATION));
    const UINT monitorDpi = meter.Dpi();
    RECT sizedFor192{300, 200, 300 + 470, 200 + 90};
    SendMessageW(meter.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&sizedFor192));
    meter.FitToCurrentDpi();
    EXPECT_EQ(meter.Gauge().Font().height, ScaleForDpi(12, monitorDpi));
    RECT client{};
    GetClientRect(meter.Handle(), &client);
    EXPECT_EQ(client.right, ScaleForDpi(230, monitorDpi));
    RECT bounds{};
    GetWindowRect(meter.Handle(), &bounds);
    EXPECT_EQ(bounds.left, 300);
}

// The pixels of an icon's colour image, 0xAARRGGBB, top row first.
std::vector<std::uint32_t> IconPixels(HICON icon, int size) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return {};
    }
    const UniqueBitmap color(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    const WindowDc screen(nullptr);
    GetDIBits(screen.get(), color.get(), 0, size, pixels.data(), &format, DIB_RGB_COLORS);
    return pixels;
}

// Drawn at each size the shell asks for at the display's scale: every pixel opaque, the digits there in their ink,
// and a figure on a dark taskbar unlike one on a light taskbar.
TEST(TrayFigureIconTest, EverySizeShowsItsDigitsAndTheThemesDiffer) {
    for (const int size : {16, 20, 24, 32}) {
        // Where each figure's ink falls on a dark taskbar: other digits, other ink.
        std::vector<std::vector<bool>> inkOf;
        for (const int percent : {7, 58, 100}) {
            std::vector<std::uint32_t> themes[2];
            for (const TaskbarTheme theme : {TaskbarTheme::Dark, TaskbarTheme::Light}) {
                const TrayFigure figure = TrayFigureOf(percent, theme, false);
                const UniqueIcon icon = DrawTrayFigure(figure, size);
                ASSERT_TRUE(icon) << size;
                const std::vector<std::uint32_t> pixels = IconPixels(icon.get(), size);
                ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size) * size);
                EXPECT_TRUE(std::ranges::all_of(pixels, [](std::uint32_t p) { return p >> 24 == 0xFF; })) << size;
                // RgbColor is 0x00BBGGRR, a DIB's pixel 0xAARRGGBB.
                const std::uint32_t ink =
                    0xFF000000u | (figure.ink & 0xFF) << 16 | (figure.ink & 0xFF00) | (figure.ink >> 16 & 0xFF);
                EXPECT_GE(std::ranges::count(pixels, ink), size) << percent << " at " << size << " px is blank";
                themes[theme == TaskbarTheme::Dark ? 0 : 1] = pixels;
                if (theme == TaskbarTheme::Dark) {
                    inkOf.emplace_back();
                    std::ranges::transform(pixels, std::back_inserter(inkOf.back()), [&](auto p) { return p == ink; });
                }
            }
            EXPECT_NE(themes[0], themes[1]) << percent << " at " << size;
        }
        EXPECT_TRUE(inkOf[0] != inkOf[1] && inkOf[1] != inkOf[2] && inkOf[0] != inkOf[2]) << size;
    }
}

// In high contrast the gauge and the tray figure show only the user's system colours: the fill in the highlight, the
// rest in the window's colour, the frame in the window's text, the figure in each part's text colour; low memory
// in the hot-link colour.
TEST(HighContrastTest, TheGaugeAndTheTrayFigureShowOnlyTheSystemColours) {
    const HighContrastColors system{RGB(10, 20, 30), RGB(250, 240, 230), RGB(0, 120, 215), RGB(255, 255, 0),
                                    RGB(200, 0, 200)};
    const auto dib = [](COLORREF c) { return 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); };
    ApplicationWindow application;
    MeterWindow meter(application, LoadIconW(nullptr, IDI_APPLICATION));
    TGauge gauge(meter.Handle(), RECT{0, 0, 120, 30});
    gauge.SetProgress(50);
    gauge.SetContrastColors(system);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, 120, -30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const UniqueBitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(bitmap && dc);
    {
        const SelectedObject selected(dc.get(), bitmap.get());
        gauge.Paint(dc.get());
        GdiFlush();
    }
    const auto* pixel = static_cast<const std::uint32_t*>(bits);
    const int fillEnd = ProportionalLength(50, 119);
    std::set<std::uint32_t> fill, rest;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            const std::uint32_t p = pixel[y * 120 + x] | 0xFF000000u;
            if (x == 0 || y == 0 || x == 119 || y == 29) {
                EXPECT_EQ(p, dib(system.windowText)) << "frame at " << x << "," << y;
            } else {
                (x < fillEnd ? fill : rest).insert(p);
            }
        }
    }
    EXPECT_EQ(fill, (std::set{dib(system.highlight), dib(system.highlightText)})) << "the filled part, \"50%\" on it";
    EXPECT_EQ(rest, (std::set{dib(system.window), dib(system.windowText)}));

    for (const bool low : {false, true}) {
        const UniqueIcon icon = DrawTrayFigure(TrayFigureInContrast(57, system, low), 32);
        const std::vector<std::uint32_t> pixels = IconPixels(icon.get(), 32);
        EXPECT_EQ(std::set(pixels.begin(), pixels.end()),
                  (std::set{dib(system.window), dib(low ? system.hotlight : system.windowText)}));
    }
}

} // namespace
} // namespace qn::win32
