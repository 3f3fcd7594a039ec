#pragma once
#include "common/DateTime.h"
#include "common/Dialogs.h"
#include "common/MemoryUnits.h"
#include "common/NumberFormat.h"
#include "monitor/MainUnit/MenuCommands.h"
#include "monitor/MainUnit/MonitorTexts.h"
#include "monitor/MainUnit/TrayFigure.h"
#include "monitor/MainUnit/UserBusy.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qn {

// The largest result by which the shell says that it could not start a program (its error SE_ERR_DLLNOTFOUND;
// MonitorSystem.cpp ties it to the system's name): a start succeeded when its result is greater.
inline constexpr std::intptr_t kLastShellError = 32;

// What to start, and where, for a hand-over from the monitor at `monitorPath`.
struct Launch {
    std::string file;
    std::string parameters;
    std::string directory;
};
// `sizeMB`: the size the run reserves; 0 leaves it to the reservation tool's default.
Launch ReservationLaunch(std::string_view monitorPath, std::int32_t sizeMB = 0);
Launch SettingsLaunch(std::string_view monitorPath);

// What the monitor needs of the system, apart from its windows.
class MonitorSystem : public DialogPort {
public:
    virtual MemoryStatus QueryMemoryStatus() = 0;
    // The largest block of whole megabytes up to `limitMB` that a process of the monitor's kind could obtain in one
    // piece now: the reservation tool, of the same build, can obtain about as much.
    virtual std::uint64_t ObtainableBlockMB(std::uint64_t limitMB) = 0;
    virtual DateTime Now() = 0;
    virtual NumberSeparators Separators() = 0;
    // The full path of the monitor's executable.
    virtual std::string ModuleFileName() = 0;
    // Starts one of the product's programs from the monitor's folder, without the shell's question about where
    // the file came from; returns the shell's result, greater than kLastShellError on success. An empty verb is
    // the default.
    virtual std::intptr_t Start(const std::string& verb, const Launch& launch) = 0;
    // The monitor's error box that reports an error with `message`, owned by the hidden application window and
    // titled with the instance marker.
    virtual void ShowError(const std::string& message) = 0;
    // Ends the process at once with exit code 0; nothing of the monitor runs after it.
    virtual void EndProcess() = 0;
    // The shell's notification state; nothing where the system lacks the function or it fails.
    virtual std::optional<UserNotificationState> QueryUserNotificationState() = 0;
    // The window in the foreground; nothing when there is none.
    virtual std::optional<ForegroundWindow> QueryForegroundWindow() = 0;
    // The taskbar's theme; dark where Windows says nothing.
    virtual TaskbarTheme QueryTaskbarTheme() = 0;
    // The user's high contrast colours; nothing while high contrast is off.
    virtual std::optional<HighContrastColors> QueryHighContrast() = 0;
};

// The monitor's windows and components as its logic drives them.
class MonitorView {
public:
    virtual ~MonitorView() = default;
    // The hidden application window: its title becomes the instance marker and it stays hidden.
    virtual void MarkApplicationWindow() = 0;
    virtual void SetMeterVisible(bool visible) = 0;
    // Puts the meter window above all normal windows, or takes it back.
    virtual void ApplyTopmost(bool topmost) = 0;
    virtual void SetMeterTitle(const std::string& title) = 0;
    // The meter's value as a screen reader hears it.
    virtual void SetMeterReading(const std::string& reading) = 0;
    // The gauge; setting the maximum may raise the gauge's range error.
    virtual void SetGaugeMaximum(std::int32_t kilobytes) = 0;
    virtual void SetGaugeProgress(std::int32_t kilobytes) = 0;
    virtual void SetGaugeHint(const std::string& hint) = 0;
    // The once-a-second timer; starting a running timer changes nothing.
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;
    virtual void SetChecked(MenuCommand entry, bool checked) = 0;
    virtual void SetEnabled(MenuCommand entry, bool enabled) = 0;
    // The notification-area icon; showing it may raise the tray icon's error. An add the shell refuses is tried
    // again by the icon itself, whose last refusal reaches the application's error handler.
    virtual void ShowTrayIcon() = 0;
    virtual void RemoveTrayIcon() = 0;
    // The tray icon shows this figure instead of the program icon, drawn at the size the shell asks for.
    virtual void ShowTrayFigure(const TrayFigure& figure) = 0;
    // A balloon notification of the tray icon: information icon, no sound, gone by itself.
    virtual void ShowTrayBalloon(const std::string& title, const std::string& text) = 0;
    // The global hot key: a shortcut code registered under an index, and its removal.
    virtual void AddHotKey(int index, std::int32_t shortcut) = 0;
    virtual void RemoveHotKey(int index) = 0;
    // Asks the meter window to close; its close query stores the position and the monitor ends.
    virtual void CloseMeter() = 0;
};

} // namespace qn
