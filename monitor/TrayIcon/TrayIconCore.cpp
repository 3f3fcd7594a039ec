#include "monitor/TrayIcon/TrayIconCore.h"

#include "common/Texts.h"

#include <algorithm>

namespace qn {

SingleClickWait::SingleClickWait(OneShotTimerPort& timers, std::uint32_t doubleClickTimeMs,
                                 std::function<void()> completion)
    : OneShotWait(timers, doubleClickTimeMs + 50, std::move(completion)) {}

std::uint32_t TrayInstanceList::Add(TrayIconCore& instance) {
    if (m_entries.size() >= kMaxTrayIcons) {
        throw OutOfResourcesError(std::string(SharedTexts().trayIconError));
    }
    // One more than the newest living instance's id: ids stay unique, and the newest one's is reused after it
    // is gone.
    const std::uint32_t id = m_entries.empty() ? 1 : m_entries.back().first + 1;
    m_entries.emplace_back(id, &instance);
    return id;
}

void TrayInstanceList::Remove(const TrayIconCore& instance) {
    std::erase_if(m_entries, [&](const auto& entry) { return entry.second == &instance; });
}

TrayIconCore* TrayInstanceList::Find(std::uintptr_t id) const {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& e) { return e.first == id; });
    return found == m_entries.end() ? nullptr : found->second;
}

std::vector<TrayIconCore*> TrayInstanceList::Instances() const {
    std::vector<TrayIconCore*> result;
    for (const auto& entry : m_entries) {
        result.push_back(entry.second);
    }
    return result;
}

TrayIconCore::TrayIconCore(TrayInstanceList& instances, TrayShellPort& shell, TrayPointerPort& pointer,
                           OneShotTimerPort& timers)
    : TrayShellSession(shell, timers), m_instances(&instances), m_pointer(pointer), m_timers(timers),
      m_id(instances.Add(*this)) {}

TrayIconCore::~TrayIconCore() {
    SetMenu(m_lbPopupMenu, nullptr);
    SetMenu(m_rbPopupMenu, nullptr);
    if (m_instances) {
        m_instances->Remove(*this);
    }
}

void TrayIconCore::Release() {
    m_singleClick.reset();
    EndSession();
    if (m_instances) {
        m_instances->Remove(*this);
        m_instances = nullptr;
    }
}

void TrayIconCore::SetEnabled(bool value) {
    if (value == m_enabled) {
        return;
    }
    m_enabled = value;
    if (!value) {
        m_clickPending = false;
    }
}

void TrayIconCore::SetMenu(PopupMenu*& slot, PopupMenu* menu) {
    PopupMenu* old = slot;
    slot = menu;
    if (old && old != m_lbPopupMenu && old != m_rbPopupMenu) {
        old->RemoveFreeNotification(*this);
    }
    if (menu) {
        menu->FreeNotification(*this);
    }
}

void TrayIconCore::MenuDestroyed(PopupMenu& menu) {
    if (m_lbPopupMenu == &menu) {
        m_lbPopupMenu = nullptr;
    }
    if (m_rbPopupMenu == &menu) {
        m_rbPopupMenu = nullptr;
    }
}

void TrayIconCore::Popup(PopupMenu& menu, TrayPoint at) {
    m_pointer.ActivateOwner();
    menu.Popup(at.x, at.y);
}

void TrayIconCore::HandleMouseMessage(std::uint32_t mouseMessage) {
    if (!m_enabled) {
        return;
    }
    const TrayPoint at = m_pointer.CursorPos();
    // Handlers are called through copies: a handler may assign the event anew, or destroy this instance.
    // A press pops up the button's menu, if it has one and AutoPopup is on, or else fires OnMouseDown.
    const auto down = [&](PopupMenu* menu, MouseButton button, ButtonsDown shift) {
        if (menu && m_autoPopup) {
            Popup(*menu, at);
        } else if (auto handler = OnMouseDown) {
            handler(button, shift, at.x, at.y);
        }
    };
    const auto up = [&](MouseButton button, ButtonsDown shift) {
        if (auto handler = OnMouseUp) {
            handler(button, shift, at.x, at.y);
        }
    };
    switch (mouseMessage) {
    case tray_mouse::kMove:
        if (auto handler = OnMouseMove) {
            handler(kNoButtonDown, at.x, at.y);
        }
        return;
    case tray_mouse::kLeftDown:
        down(m_lbPopupMenu, MouseButton::Left, kLeftButtonDown);
        return;
    case tray_mouse::kLeftUp:
        if (OnMouseUp) {
            up(MouseButton::Left, kLeftButtonDown);
        } else {
            LeftButtonUp();
        }
        return;
    case tray_mouse::kLeftDoubleClick:
        // The release that follows finds the click pending and ends it, so the wait fires nothing.
        m_clickPending = true;
        if (auto handler = OnDblClick) {
            handler();
        }
        return;
    case tray_mouse::kRightDown:
        down(m_rbPopupMenu, MouseButton::Right, kRightButtonDown);
        return;
    case tray_mouse::kRightUp:
        up(MouseButton::Right, kRightButtonDown);
        return;
    case tray_mouse::kMiddleDown:
        down(nullptr, MouseButton::Middle, kMiddleButtonDown);
        return;
    case tray_mouse::kMiddleUp:
        up(MouseButton::Middle, kMiddleButtonDown);
        return;
    default:
        return;
    }
}

void TrayIconCore::LeftButtonUp() {
    if (!OnClick) {
        m_clickPending = false;
    } else if (!m_clickPending) {
        m_clickPending = true;
        // One wait per instance: a new one replaces one still running, so an old wait never ends a new click
        // early.
        m_singleClick =
            std::make_unique<SingleClickWait>(m_timers, m_pointer.DoubleClickTimeMs(), [this] { SingleClickDone(); });
    } else {
        m_clickPending = false;
    }
}

void TrayIconCore::SingleClickDone() {
    const bool fire = m_clickPending;
    m_clickPending = false;
    if (fire) {
        if (auto handler = OnClick) {
            handler();
        }
    }
}

void DispatchTrayMessage(const TrayInstanceList& instances, std::uintptr_t id, std::uintptr_t mouseMessage) {
    if (TrayIconCore* instance = instances.Find(id)) {
        instance->HandleMouseMessage(static_cast<std::uint32_t>(mouseMessage));
    }
}

} // namespace qn
