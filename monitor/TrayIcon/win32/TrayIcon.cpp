#include "monitor/TrayIcon/win32/TrayIcon.h"

#include "common/win32/Utf.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace qn::win32 {

static_assert(std::size(NOTIFYICONDATAW{}.szTip) == kTipHelpUnits + 1);

TTrayIcon::TTrayIcon(HWND owner)
    : TrayIconCore(m_receiver->Instances(), static_cast<TrayShellPort&>(*this), *m_receiver), m_owner(owner) {
    m_record.cbSize = sizeof m_record;
    // Set from the start: a delete may come before any add was accepted.
    m_record.hWnd = m_receiver->Handle();
    m_record.uID = IconId();
    m_record.uCallbackMessage = kTrayCallbackMessage;
}

TTrayIcon::~TTrayIcon() {
    Release();
}

void TTrayIcon::SetIcon(HICON icon) {
    if (icon && icon == m_icon.get()) {
        return;
    }
    if (!icon) {
        if (!m_icon) {
            return;
        }
        m_icon.reset();
        ImageChanged(false);
        return;
    }
    UniqueIcon copy(::CopyIcon(icon));
    if (!copy) {
        throw std::runtime_error("CopyIcon failed");
    }
    m_icon = std::move(copy);
    ImageChanged(true);
}

bool TTrayIcon::Notify(TrayCall call, std::uint32_t flags, const std::string& tip) {
    m_record.hIcon = m_icon.get();
    const std::wstring wide = Widen(tip);
    const std::size_t length = std::min(wide.size(), std::size(m_record.szTip) - 1);
    std::copy_n(wide.data(), length, m_record.szTip);
    m_record.szTip[length] = L'\0';
    m_record.uFlags = flags;
    DWORD message = NIM_MODIFY;
    if (call == TrayCall::Add) {
        m_record.hWnd = m_receiver->Handle();
        message = NIM_ADD;
    } else if (call == TrayCall::Delete) {
        message = NIM_DELETE;
    }
    return ::Shell_NotifyIconW(message, &m_record) != FALSE;
}

TrayPoint TTrayIcon::CursorPos() {
    POINT at{};
    ::GetCursorPos(&at);
    return {at.x, at.y};
}

void TTrayIcon::ActivateOwner() {
    // Without this the menu would not close when the user clicks outside it.
    if (m_owner) {
        ::SetForegroundWindow(m_owner);
    }
}

} // namespace qn::win32
