#include "monitor/HKey/win32/HKey.h"

namespace qn::win32 {

// The modifiers the portable code names, as RegisterHotKey takes them.
static_assert(kModAlt == MOD_ALT);
static_assert(kModControl == MOD_CONTROL);
static_assert(kModShift == MOD_SHIFT);
static_assert(kModNoRepeat == MOD_NOREPEAT);

THKey::THKey(HWND owner) : HotKeyCore(static_cast<HotKeyPort&>(*this)), m_owner(owner) {
    CreateParams params;
    params.className = L"THKeyWindow";
    // A top-level window with no style bits and no size, never shown: it only receives WM_HOTKEY.
    params.style = 0;
    CreateWindowObject(params);
}

bool THKey::Register(std::int32_t index, const HotKeyCombination& combination) {
    return ::RegisterHotKey(Handle(), index, combination.modifiers, combination.virtualKey) != FALSE;
}

bool THKey::Unregister(std::int32_t index) {
    return ::UnregisterHotKey(Handle(), index) != FALSE;
}

void THKey::ActivateOwner() {
    if (m_owner) {
        ::SetForegroundWindow(m_owner);
    }
}

LRESULT THKey::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        // An error in the handler is reported by the window procedure's boundary; the window keeps working.
        HotKeyPressed(static_cast<std::int32_t>(wParam));
        return 0;
    }
    return WindowObject::OnMessage(message, wParam, lParam);
}

} // namespace qn::win32
