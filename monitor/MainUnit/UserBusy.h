#pragma once
// Whether the user is busy with something an automatic reservation must not disturb: a full-screen program (a
// game, a video) or a presentation. A run that takes all memory would make it stall for seconds.
#include "monitor/MainUnit/PositionRecord.h"

#include <optional>
#include <string>

namespace qn {

// The shell's answer to SHQueryUserNotificationState, with the system's values.
enum class UserNotificationState {
    NotPresent = 1, // a screen saver runs, the session is locked or another user's is in front
    Busy = 2,       // a full-screen program runs
    RunningD3dFullScreen = 3,
    PresentationMode = 4,
    AcceptsNotifications = 5,
    QuietTime = 6,
    App = 7, // a Windows Store app is in front
};

// The window in the foreground, as far as the busy test looks at it.
struct ForegroundWindow {
    std::string className;
    bool isShellWindow = false; // the desktop's own window, as the system names it
    Rect bounds;                // the window's rectangle, in screen coordinates
    Rect monitor;               // the whole monitor the window is on, taskbar included
};

// A full-screen or borderless full-screen program: the window's rectangle is exactly its monitor's. A maximised
// window with a frame is larger than the work area by its borders and never exactly the monitor; the desktop
// and the taskbar cover their monitor without being anything the user is busy with.
bool CoversItsMonitor(const ForegroundWindow& window);

// Busy while the shell says so, or while the foreground window covers its monitor. `state` is nothing where the
// system lacks the shell's function; then the window alone decides. A user who is away is not busy: the shell
// saying so, or a screen saver in the foreground (it covers the monitor exactly), lets a due run go ahead.
bool UserIsBusy(std::optional<UserNotificationState> state, const std::optional<ForegroundWindow>& foreground);

} // namespace qn
