#pragma once
// THKey: system-wide hot keys for one owner window, each under an index of the caller's choosing. Presses
// arrive at a hidden window of its own and fire OnHotKey on the user-interface thread.
#include "common/win32/WindowObject.h"
#include "monitor/HKey/HotKeyCore.h"

#include <windows.h>

namespace qn::win32 {

class THKey final : private HotKeyPort, public HotKeyCore, public WindowObject {
public:
    // `owner` is the window brought forward before OnHotKey; it may be null.
    explicit THKey(HWND owner);

private:
    bool Register(std::int32_t index, const HotKeyCombination& combination) override;
    bool Unregister(std::int32_t index) override;
    void ActivateOwner() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND m_owner;
};

} // namespace qn::win32
