#include "monitor/TrayIcon/win32/PopupMenuWin32.h"

#include "common/win32/Utf.h"
#include "common/win32/Win32Error.h"

namespace qn::win32 {

TPopupMenu::TPopupMenu(HWND commandWindow) : m_menu(::CreatePopupMenu()), m_commandWindow(commandWindow) {
    ThrowLastErrorIf(!m_menu);
}

void TPopupMenu::AddItem(UINT id, const std::string& text) {
    ::AppendMenuW(Handle(), MF_STRING, id, Widen(text).c_str());
}

void TPopupMenu::AddSeparator() {
    ::AppendMenuW(Handle(), MF_SEPARATOR, 0, nullptr);
}

void TPopupMenu::Popup(int x, int y) {
    if (auto handler = OnPopup) {
        handler();
    }
    const UINT alignment = m_alignment == PopupAlignment::Right    ? TPM_RIGHTALIGN
                           : m_alignment == PopupAlignment::Center ? TPM_CENTERALIGN
                                                                   : TPM_LEFTALIGN;
    // As TrackPopupMenu's documentation asks of a notification icon's menu: the window that owns the menu is the
    // foreground window, or the menu stays when the user clicks elsewhere; and a benign message posted to it once
    // the menu is done forces the task switch without which the next menu shows and vanishes at once.
    ::SetForegroundWindow(m_commandWindow);
    ::TrackPopupMenu(Handle(), alignment | TPM_RIGHTBUTTON, x, y, 0, m_commandWindow, nullptr);
    ::PostMessageW(m_commandWindow, WM_NULL, 0, 0);
}

} // namespace qn::win32
