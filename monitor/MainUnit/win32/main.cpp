// Mossik.exe: the resident monitor. One per session; it shows free memory once a second and hands over to the
// reservation tool when a reservation is due.
#include "common/win32/DebugTrace.h"
#include "common/win32/DllSearch.h"
#include "common/win32/DpiAwareWindow.h"
#include "common/win32/ErrorReport.h"
#include "common/win32/UserLanguage.h"
#include "common/win32/ProcessInfo.h"
#include "common/win32/Registry.h"
#include "common/win32/SystemClock.h"
#include "monitor/MainUnit/SettingsStore.h"
#include "monitor/MainUnit/win32/MeterWindow.h"
#include "monitor/MainUnit/win32/MeterWindowPlacement.h"
#include "monitor/MainUnit/win32/MonitorSystem.h"
#include "monitor/MainUnit/win32/SingleInstance.h"

#include <windows.h>

#include <exception>

namespace {

int RunMonitor() {
    using namespace qn::win32;
    // Another monitor, or any window carrying the marker, means this one is not wanted, unless a monitor has just
    // handed over and may still be ending.
    const UniqueHandle singleInstance = ClaimSingleInstance([] {
        Win32RegistryKey currentUser = Win32RegistryKey::CurrentUser();
        return qn::HandoverIsFresh(qn::ReadHandoverNote(currentUser), Now());
    });
    if (!singleInstance) {
        return 0;
    }

    // Each object is declared before the objects that use it, so that it outlives them: the error handler reports
    // through the system adapter, which must still be there while the windows are destroyed.
    MonitorSystem system;
    SetApplicationErrorHandler([&system](const std::string& message) { system.ShowError(message); });
    Win32RegistryKey currentUser = Win32RegistryKey::CurrentUser();

    ApplicationWindow application;
    system.SetErrorOwner(application.Handle());
    MeterWindow meter(application, ProgramIcon(SM_CXICON, SM_CYICON), ProgramIcon(SM_CXSMICON, SM_CYSMICON));

    // The stored position is applied while the meter is still hidden, where no DPI change is announced.
    MeterWindowPlacement placement(meter.Handle(), [&meter] { meter.FitToCurrentDpi(); });
    qn::SettingsStore settings(currentUser, placement);

    qn::Monitor monitor(system, meter, settings, ProcessArguments());
    meter.Attach(monitor);
    monitor.Start();

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    qn::win32::RestrictDllSearchToSystemFolder();
    qn::win32::TraceToDebugger();
    qn::win32::ChooseUserLanguage();
    try {
        return RunMonitor();
    } catch (const std::exception& error) {
        // The application window is gone by now: the box has no owner.
        qn::win32::ReportError(qn::win32::ErrorKind::Monitor, error.what());
        return 0;
    }
}
