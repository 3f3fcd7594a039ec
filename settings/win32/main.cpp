// Dunfel.exe: the settings program. Writes the values the monitor only reads, then brings the monitor back.
#include "common/PathUtil.h"
#include "common/Texts.h"
#include "common/win32/DebugTrace.h"
#include "common/win32/DllSearch.h"
#include "common/win32/ErrorReport.h"
#include "common/win32/UserLanguage.h"
#include "common/win32/ProcessInfo.h"
#include "common/win32/Registry.h"
#include "common/win32/ShellLaunch.h"
#include "common/win32/SystemClock.h"
#include "common/win32/SystemMemory.h"
#include "common/win32/Utf.h"
#include "common/win32/Win32Error.h"
#include "settings/win32/SettingsDialog.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace {

class ShellMonitorLauncher final : public qn::MonitorLauncher {
public:
    // The monitor's hidden application window carries the marker while it runs.
    bool MonitorRunning() override {
        return FindWindowW(nullptr, qn::win32::Widen(qn::kInstanceMarker).c_str()) != nullptr;
    }
    bool WaitUntilNoMonitorRuns(std::uint32_t ms) override {
        constexpr DWORD kPollMs = 100;
        const ULONGLONG deadline = GetTickCount64() + ms;
        while (MonitorRunning()) {
            if (GetTickCount64() >= deadline) {
                return false;
            }
            Sleep(kPollMs);
        }
        return true;
    }
    std::optional<std::string> StartMonitor(const std::string& path, const std::string& directory) override {
        // The monitor of this program's own folder.
        const std::intptr_t result =
            qn::win32::ShellOpen("open", path, "", directory, SW_SHOWNORMAL, qn::win32::ZoneCheck::Skip);
        if (result > SE_ERR_DLLNOTFOUND) {
            return std::nullopt;
        }
        // The shell's own codes up to 32 are the system's error codes of the same causes (2: file not found).
        const DWORD lastError = GetLastError();
        const DWORD code = lastError != ERROR_SUCCESS ? lastError : static_cast<DWORD>(result);
        const std::string reason = qn::win32::SystemMessage(code);
        return reason.empty() ? std::to_string(code) : reason;
    }
    void ShowError(const std::string& message) override {
        qn::win32::ReportError(qn::win32::ErrorKind::SettingsProgram, message);
    }
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    qn::win32::RestrictDllSearchToSystemFolder();
    qn::win32::TraceToDebugger();
    qn::win32::ChooseUserLanguage();
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    try {
        qn::win32::Win32RegistryKey currentUser = qn::win32::Win32RegistryKey::CurrentUser();
        qn::win32::SettingsDialog dialog(currentUser, qn::win32::QueryMemoryStatus().totalPhys,
                                         qn::DirectoryKeepingRoot(qn::win32::ModuleFileName()));
        dialog.Run(instance);
    } catch (const std::exception& error) {
        qn::win32::ReportError(qn::win32::ErrorKind::SettingsProgram, error.what());
    }
    // OK or Cancel, the monitor that opened this program has ended itself and comes back now.
    ShellMonitorLauncher launcher;
    qn::win32::Win32RegistryKey currentUser = qn::win32::Win32RegistryKey::CurrentUser();
    qn::RestartMonitor(launcher, qn::win32::ModuleFileName(),
                       qn::HandoverIsFresh(qn::ReadHandoverNote(currentUser), qn::win32::Now()));
    return 0;
}
