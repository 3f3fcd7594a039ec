#include "monitor/MainUnit/UserBusy.h"

#include <gtest/gtest.h>

#include <optional>

namespace qn {
namespace {

constexpr Rect kMonitor{0, 0, 1920, 1080};
constexpr Rect kSecondMonitor{1920, 0, 3840, 1080};

ForegroundWindow Window(const char* className, Rect bounds, Rect monitor = kMonitor) {
    return ForegroundWindow{className, false, bounds, monitor};
}

struct BusyCase {
    const char* what;
    std::optional<UserNotificationState> state;
    std::optional<ForegroundWindow> foreground;
    bool busy;
};

std::ostream& operator<<(std::ostream& out, const BusyCase& c) {
    return out << c.what;
}

class UserIsBusyTest : public testing::TestWithParam<BusyCase> {};

TEST_P(UserIsBusyTest, TheShellOrAWindowCoveringItsMonitorSaysSo) {
    EXPECT_EQ(UserIsBusy(GetParam().state, GetParam().foreground), GetParam().busy) << GetParam().what;
}

using S = UserNotificationState;
const ForegroundWindow kEditor = Window("Notepad", {100, 100, 900, 700});

INSTANTIATE_TEST_SUITE_P(
    Cases, UserIsBusyTest,
    testing::Values(
        BusyCase{"full-screen program by the shell", S::Busy, kEditor, true},
        BusyCase{"Direct3D full screen", S::RunningD3dFullScreen, std::nullopt, true},
        BusyCase{"presentation", S::PresentationMode, kEditor, true},
        BusyCase{"accepts notifications", S::AcceptsNotifications, kEditor, false},
        BusyCase{"quiet time is no reason to wait", S::QuietTime, kEditor, false},
        BusyCase{"a Store app in front", S::App, std::nullopt, false},
        BusyCase{"nothing in front", std::nullopt, std::nullopt, false},
        // The shell says nothing of a borderless full-screen window (Wine, or no such function): the window does.
        BusyCase{"borderless full screen", S::AcceptsNotifications, Window("Game", kMonitor), true},
        BusyCase{"without the shell's function", std::nullopt, Window("Game", kMonitor), true},
        BusyCase{"on the second monitor", std::nullopt, Window("Game", kSecondMonitor, kSecondMonitor), true},
        BusyCase{"maximised with its frame", std::nullopt, Window("Notepad", {-8, -8, 1928, 1048}), false},
        BusyCase{"maximised, taskbar hidden", std::nullopt, Window("Notepad", {-8, -8, 1928, 1088}), false},
        BusyCase{"a monitor's size on another monitor", std::nullopt, Window("Game", kMonitor, kSecondMonitor), false},
        BusyCase{"the desktop", std::nullopt, Window("Progman", kMonitor), false},
        BusyCase{"the system's desktop window", std::nullopt, Window("#32769", kMonitor), false},
        BusyCase{"the desktop behind a slide show", std::nullopt, Window("WorkerW", kMonitor), false},
        BusyCase{"the shell's window by any name", std::nullopt, ForegroundWindow{"Other", true, kMonitor, kMonitor},
                 false},
        BusyCase{"the taskbar", std::nullopt, Window("Shell_TrayWnd", kMonitor), false},
        BusyCase{"another monitor's taskbar", std::nullopt, Window("Shell_SecondaryTrayWnd", kMonitor), false},
        BusyCase{"no monitor found", std::nullopt, Window("Game", {}, {}), false}));

} // namespace
} // namespace qn
