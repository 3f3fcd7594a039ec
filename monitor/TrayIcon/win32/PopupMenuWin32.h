#pragma once
// TPopupMenu: a Win32 popup menu whose chosen command goes to a window as WM_COMMAND with the item's id.
#include "common/win32/UniqueHandle.h"
#include "monitor/TrayIcon/PopupMenu.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qn::win32 {

enum class PopupAlignment { Left, Right, Center }; // TPopupAlignment: paLeft, paRight, paCenter

class TPopupMenu final : public PopupMenu {
public:
    // `commandWindow` receives the chosen command.
    explicit TPopupMenu(HWND commandWindow);

    HMENU Handle() const { return m_menu.get(); }
    void AddItem(UINT id, const std::string& text);
    void AddSeparator();

    PopupAlignment Alignment() const { return m_alignment; }
    void SetAlignment(PopupAlignment value) { m_alignment = value; }
    // Fired before the menu shows, so that check marks can be brought up to date.
    std::function<void()> OnPopup;

    void Popup(int x, int y) override;

private:
    UniqueMenu m_menu;
    HWND m_commandWindow;
    PopupAlignment m_alignment = PopupAlignment::Left;
};

} // namespace qn::win32
