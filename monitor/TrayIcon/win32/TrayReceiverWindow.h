#pragma once
// The one hidden receiver window that every tray icon of the process shares (its window class, which other
// programs can see, is "TCallbackWindow"). It is top-level, so that it also gets the shell's "TaskbarCreated"
// broadcast, and it keeps the instance list and the icons' one-shot timers.
#include "common/win32/WindowObject.h"
#include "monitor/TrayIcon/TrayIconCore.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>

namespace qn::win32 {

class TrayReceiverWindow final : public WindowObject, public OneShotTimerPort { // TCallbackWindow
public:
    // The process's receiver, made when the first icon needs it; it lives as long as some icon holds it.
    static std::shared_ptr<TrayReceiverWindow> Shared();

    TrayReceiverWindow();
    TrayInstanceList& Instances() { return m_instances; }

    std::uint32_t StartTimer(std::uint32_t delayMs, std::function<void()> elapsed) override;
    void CancelTimer(std::uint32_t ticket) override;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ShellRestarted();

    TrayInstanceList m_instances;
    UINT m_taskbarCreated;
    std::map<std::uint32_t, std::function<void()>> m_timers;
    std::uint32_t m_nextTicket = 1;
};

} // namespace qn::win32
