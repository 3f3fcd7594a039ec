#include "monitor/MainUnit/UserBusy.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace qn {

bool CoversItsMonitor(const ForegroundWindow& window) {
    // The system's desktop window (in front where no window is active, under Wine), the shell's desktop
    // (Progman, and WorkerW behind a wallpaper slide show) and the taskbars of the main and the other monitors.
    constexpr std::array<std::string_view, 5> kShellClasses = {"#32769", "Progman", "WorkerW", "Shell_TrayWnd",
                                                               "Shell_SecondaryTrayWnd"};
    if (window.isShellWindow ||
        std::find(kShellClasses.begin(), kShellClasses.end(), window.className) != kShellClasses.end()) {
        return false;
    }
    const Rect& m = window.monitor;
    return m.right > m.left && m.bottom > m.top && window.bounds == m;
}

bool UserIsBusy(std::optional<UserNotificationState> state, const std::optional<ForegroundWindow>& foreground) {
    // Every screen saver built on the system's screen-saver library makes a window of this class.
    constexpr std::string_view kScreenSaverClass = "WindowsScreenSaverClass";
    if (state == UserNotificationState::NotPresent || (foreground && foreground->className == kScreenSaverClass)) {
        return false;
    }
    if (state == UserNotificationState::Busy || state == UserNotificationState::RunningD3dFullScreen ||
        state == UserNotificationState::PresentationMode) {
        return true;
    }
    return foreground && CoversItsMonitor(*foreground);
}

} // namespace qn
