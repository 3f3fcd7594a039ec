#include "monitor/TrayIcon/win32/TrayReceiverWindow.h"

#include <exception>
#include <utility>

namespace qn::win32 {

// The mouse messages the shell passes on, as the portable code names them.
static_assert(tray_mouse::kMove == WM_MOUSEMOVE);
static_assert(tray_mouse::kLeftDown == WM_LBUTTONDOWN);
static_assert(tray_mouse::kLeftUp == WM_LBUTTONUP);
static_assert(tray_mouse::kLeftDoubleClick == WM_LBUTTONDBLCLK);
static_assert(tray_mouse::kRightDown == WM_RBUTTONDOWN);
static_assert(tray_mouse::kRightUp == WM_RBUTTONUP);
static_assert(tray_mouse::kRightDoubleClick == WM_RBUTTONDBLCLK);
static_assert(tray_mouse::kMiddleDown == WM_MBUTTONDOWN);
static_assert(tray_mouse::kMiddleUp == WM_MBUTTONUP);

std::shared_ptr<TrayReceiverWindow> TrayReceiverWindow::Shared() {
    // Only the user-interface thread makes tray icons, so the lookup needs no lock.
    static std::weak_ptr<TrayReceiverWindow> shared;
    std::shared_ptr<TrayReceiverWindow> receiver = shared.lock();
    if (!receiver) {
        receiver = std::make_shared<TrayReceiverWindow>();
        shared = receiver;
    }
    return receiver;
}

TrayReceiverWindow::TrayReceiverWindow() : m_taskbarCreated(::RegisterWindowMessageW(L"TaskbarCreated")) {
    CreateParams params;
    params.className = L"TCallbackWindow";
    // Top-level and never shown: a message-only window would miss the broadcast after the shell restarts.
    params.exStyle = WS_EX_TOOLWINDOW;
    params.style = WS_POPUP;
    CreateWindowObject(params);
}

std::uint32_t TrayReceiverWindow::StartTimer(std::uint32_t delayMs, std::function<void()> elapsed) {
    const std::uint32_t ticket = m_nextTicket++;
    if (::SetTimer(Handle(), ticket, delayMs, nullptr)) {
        m_timers[ticket] = std::move(elapsed);
    }
    return ticket;
}

void TrayReceiverWindow::CancelTimer(std::uint32_t ticket) {
    if (m_timers.erase(ticket)) {
        ::KillTimer(Handle(), ticket);
    }
}

void TrayReceiverWindow::ShellRestarted() {
    // Each icon on its own: one that the shell refuses is reported, and the others still come back.
    for (TrayIconCore* instance : m_instances.Instances()) {
        try {
            instance->ShellRestarted();
        } catch (const std::exception& error) {
            HandleApplicationError(error.what());
        }
    }
}

LRESULT TrayReceiverWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage) {
        DispatchTrayMessage(m_instances, wParam, static_cast<std::uintptr_t>(lParam));
        return 0;
    }
    if (message == m_taskbarCreated && m_taskbarCreated != 0) {
        ShellRestarted();
        return 0;
    }
    if (message == WM_TIMER) {
        const auto ticket = static_cast<std::uint32_t>(wParam);
        ::KillTimer(Handle(), wParam);
        const auto found = m_timers.find(ticket);
        if (found != m_timers.end()) {
            const std::function<void()> elapsed = std::move(found->second);
            m_timers.erase(found);
            elapsed();
        }
        return 0;
    }
    return WindowObject::OnMessage(message, wParam, lParam);
}

} // namespace qn::win32
