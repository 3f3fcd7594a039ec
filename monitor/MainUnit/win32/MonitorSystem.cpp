#include "monitor/MainUnit/win32/MonitorSystem.h"

#include "common/win32/ErrorReport.h"
#include "common/RegistryValues.h"
#include "common/win32/ProcessInfo.h"
#include "common/win32/Registry.h"
#include "common/win32/ShellLaunch.h"
#include "common/win32/SystemClock.h"
#include "common/win32/SystemFunction.h"
#include "common/win32/SystemLocale.h"
#include "common/win32/SystemMemory.h"
#include "common/win32/Utf.h"
#include "monitor/Gauges/win32/Gauge.h"

#include <shellapi.h>

#include <iterator>

namespace qn::win32 {
namespace {

static_assert(static_cast<int>(UserNotificationState::NotPresent) == QUNS_NOT_PRESENT);
static_assert(static_cast<int>(UserNotificationState::Busy) == QUNS_BUSY);
static_assert(static_cast<int>(UserNotificationState::RunningD3dFullScreen) == QUNS_RUNNING_D3D_FULL_SCREEN);
static_assert(static_cast<int>(UserNotificationState::PresentationMode) == QUNS_PRESENTATION_MODE);
static_assert(static_cast<int>(UserNotificationState::AcceptsNotifications) == QUNS_ACCEPTS_NOTIFICATIONS);
static_assert(static_cast<int>(UserNotificationState::QuietTime) == QUNS_QUIET_TIME);
// QUNS_APP (7) of Windows 8 is given by the headers only to programs that require Windows 8.
static_assert(kLastShellError == SE_ERR_DLLNOTFOUND);

Rect RectOf(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

} // namespace

DialogAnswer MonitorSystem::ShowMessage(const std::string& text, const std::string& title, unsigned style) {
    return m_dialogs.ShowMessage(text, title, style);
}

MemoryStatus MonitorSystem::QueryMemoryStatus() {
    return win32::QueryMemoryStatus();
}

std::uint64_t MonitorSystem::ObtainableBlockMB(std::uint64_t limitMB) {
    // The monitor has more of its address space in use than the reservation tool at its start: what it finds is,
    // if anything, less than the tool could have.
    return LargestReservableMB(limitMB);
}

DateTime MonitorSystem::Now() {
    return win32::Now();
}

NumberSeparators MonitorSystem::Separators() {
    return UserNumberSeparators();
}

std::string MonitorSystem::ModuleFileName() {
    return win32::ModuleFileName();
}

std::intptr_t MonitorSystem::Start(const std::string& verb, const Launch& launch) {
    // Both hand-overs start a program of the monitor's own folder.
    return ShellOpen(verb, launch.file, launch.parameters, launch.directory, SW_SHOW, ZoneCheck::Skip);
}

void MonitorSystem::ShowError(const std::string& message) {
    ReportError(ErrorKind::Monitor, message, ErrorOrigin{.owner = m_errorOwner});
}

void MonitorSystem::EndProcess() {
    ExitProcess(0);
}

std::optional<UserNotificationState> MonitorSystem::QueryUserNotificationState() {
    // Windows Vista and later; shell32 is loaded already for the tray icon.
    using QueryFunction = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*);
    static const auto query =
        SystemFunction<QueryFunction>(GetModuleHandleW(L"shell32.dll"), "SHQueryUserNotificationState");
    QUERY_USER_NOTIFICATION_STATE state{};
    if (!query || FAILED(query(&state))) {
        return std::nullopt;
    }
    return static_cast<UserNotificationState>(state);
}

std::optional<ForegroundWindow> MonitorSystem::QueryForegroundWindow() {
    const HWND window = GetForegroundWindow();
    if (!window) {
        return std::nullopt;
    }
    ForegroundWindow facts;
    wchar_t className[256] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    facts.className = Narrow(className);
    facts.isShellWindow = window == GetShellWindow();
    RECT bounds{};
    if (GetWindowRect(window, &bounds)) {
        facts.bounds = RectOf(bounds);
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (const HMONITOR on = MonitorFromWindow(window, MONITOR_DEFAULTTONULL); on && GetMonitorInfoW(on, &monitor)) {
        facts.monitor = RectOf(monitor.rcMonitor);
    }
    return facts;
}

TaskbarTheme MonitorSystem::QueryTaskbarTheme() {
    // Windows 10 and later; before them, and where the value is not there, the taskbar is dark.
    Win32RegistryKey currentUser = Win32RegistryKey::CurrentUser();
    const auto key =
        currentUser
            .OpenSubkeyFor("Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", ValueAccess::Query)
            .key;
    const auto light = key ? ReadDword(*key, "SystemUsesLightTheme") : std::nullopt;
    return light.value_or(0) != 0 ? TaskbarTheme::Light : TaskbarTheme::Dark;
}

std::optional<HighContrastColors> MonitorSystem::QueryHighContrast() {
    return SystemHighContrastColors();
}

} // namespace qn::win32
