#include "monitor/TrayIcon/win32/TrayIcon.h"

#include "common/win32/Utf.h"
#include "common/win32/Win32Error.h"

#include <algorithm>
#include <iterator>

namespace qn::win32 {

static_assert(kTrayCallbackMessage == WM_USER + 200);
static_assert(kTrayFlagsNoTip == (NIF_MESSAGE | NIF_ICON));
static_assert(kTrayFlagsWithTip == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
static_assert(static_cast<DWORD>(TrayCall::Add) == NIM_ADD);
static_assert(static_cast<DWORD>(TrayCall::Modify) == NIM_MODIFY);
static_assert(static_cast<DWORD>(TrayCall::Delete) == NIM_DELETE);
static_assert(std::size(NOTIFYICONDATAW{}.szTip) == kTipHelpUnits + 1);
static_assert(std::size(NOTIFYICONDATAW{}.szInfoTitle) == kBalloonTitleUnits + 1);
static_assert(std::size(NOTIFYICONDATAW{}.szInfo) == kBalloonTextUnits + 1);

namespace {

// Copies a text into a fixed field of the record, cut to fit, with its terminating zero.
template <std::size_t N>
void CopyField(const std::string& text, wchar_t (&field)[N]) {
    const std::wstring wide = Widen(text);
    const std::size_t length = std::min(wide.size(), N - 1);
    std::copy_n(wide.data(), length, field);
    field[length] = L'\0';
}

} // namespace

TTrayIcon::TTrayIcon(HWND owner)
    : TrayIconCore(m_receiver->Instances(), static_cast<TrayShellPort&>(*this), static_cast<TrayPointerPort&>(*this),
                   *m_receiver),
      m_owner(owner) {
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
    ThrowLastErrorIf(!copy);
    m_icon = std::move(copy);
    ImageChanged(true);
}

bool TTrayIcon::Notify(TrayCall call, std::uint32_t flags, const std::string& tip) {
    m_record.hIcon = m_icon.get();
    CopyField(tip, m_record.szTip);
    m_record.uFlags = flags;
    if (call == TrayCall::Add) {
        m_record.hWnd = m_receiver->Handle();
    }
    return ::Shell_NotifyIconW(static_cast<DWORD>(call), &m_record) != FALSE;
}

bool TTrayIcon::NotifyBalloon(const std::string& title, const std::string& text) {
    // A record of its own: only the balloon changes, and the icon's record keeps its flags.
    NOTIFYICONDATAW balloon{};
    balloon.cbSize = sizeof balloon;
    balloon.hWnd = m_record.hWnd;
    balloon.uID = m_record.uID;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND;
    CopyField(title, balloon.szInfoTitle);
    CopyField(text, balloon.szInfo);
    return ::Shell_NotifyIconW(NIM_MODIFY, &balloon) != FALSE;
}

TrayPoint TTrayIcon::CursorPos() {
    POINT at{};
    ::GetCursorPos(&at);
    return {at.x, at.y};
}

std::uint32_t TTrayIcon::DoubleClickTimeMs() {
    return ::GetDoubleClickTime();
}

void TTrayIcon::ActivateOwner() {
    // Without this the menu would not close when the user clicks outside it.
    if (m_owner) {
        ::SetForegroundWindow(m_owner);
    }
}

} // namespace qn::win32
