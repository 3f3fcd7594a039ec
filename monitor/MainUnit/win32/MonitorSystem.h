#pragma once
#include "common/win32/MessageBoxDialogs.h"
#include "monitor/MainUnit/MonitorPorts.h"

#include <windows.h>

namespace qn::win32 {

// The monitor's view of Windows apart from its own windows.
class MonitorSystem final : public qn::MonitorSystem {
public:
    // `errorOwner` owns the error boxes: the hidden application window.
    void SetErrorOwner(HWND errorOwner) { m_errorOwner = errorOwner; }

    DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) override;
    MemoryStatus QueryMemoryStatus() override;
    std::uint64_t ObtainableBlockMB(std::uint64_t limitMB) override;
    DateTime Now() override;
    NumberSeparators Separators() override;
    std::string ModuleFileName() override;
    std::intptr_t Start(const std::string& verb, const Launch& launch) override;
    void ShowError(const std::string& message) override;
    void EndProcess() override;
    std::optional<UserNotificationState> QueryUserNotificationState() override;
    std::optional<ForegroundWindow> QueryForegroundWindow() override;
    TaskbarTheme QueryTaskbarTheme() override;
    std::optional<HighContrastColors> QueryHighContrast() override;

private:
    MessageBoxDialogs m_dialogs;
    HWND m_errorOwner = nullptr;
};

} // namespace qn::win32
