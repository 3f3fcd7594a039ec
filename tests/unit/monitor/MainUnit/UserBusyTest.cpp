#include "monitor/MainUnit/UserBusy.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

TEST(UserIsBusyTest, TheShellOrAWindowCoveringExactlyItsMonitorSaysSo) {
    using S = UserNotificationState;
    const Rect screen{0, 0, 1920, 1080};
    const Rect second{1920, 0, 3840, 1080};
    const auto window = [&](const char* className, Rect bounds, Rect monitor, bool shell = false) {
        return std::optional<ForegroundWindow>(ForegroundWindow{className, shell, bounds, monitor});
    };
    const auto editor = window("Notepad", {100, 100, 900, 700}, screen);
    const struct {
        std::optional<S> state;
        std::optional<ForegroundWindow> foreground;
        bool busy;
    } cases[] = {
        {S::Busy, editor, true},
        {S::RunningD3dFullScreen, std::nullopt, true},
        {S::PresentationMode, editor, true},
        {S::QuietTime, editor, false},
        {std::nullopt, std::nullopt, false},
        // The shell says nothing of a borderless full-screen window (Wine), or lacks the function: the window does.
        {S::AcceptsNotifications, window("Game", screen, screen), true},
        {std::nullopt, window("Game", second, second), true},
        {std::nullopt, window("Notepad", {-8, -8, 1928, 1088}, screen), false}, // maximised, frame outside
        {std::nullopt, window("Game", screen, second), false},
        {std::nullopt, window("#32769", screen, screen), false}, // the system's desktop window
        {std::nullopt, window("WorkerW", screen, screen), false},
        {std::nullopt, window("Other", screen, screen, true), false}, // the shell's desktop by any name
        {std::nullopt, window("Shell_TrayWnd", screen, screen), false},
        {std::nullopt, window("Game", {}, {}), false}, // on no monitor
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(UserIsBusy(cases[i].state, cases[i].foreground), cases[i].busy) << i;
    }
}

} // namespace
} // namespace qn
