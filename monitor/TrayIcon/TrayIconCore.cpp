#include "monitor/TrayIcon/TrayIconCore.h"

#include "common/Texts.h"
#include "common/Unicode.h"

#include <algorithm>
#include <utility>

namespace qn {

std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Counted as the conversion at the boundary reads the text, broken sequences included.
        const Utf8Character c = DecodeUtf8(utf8.substr(i));
        const std::size_t needed = c.codePoint > 0xFFFF ? 2 : 1;
        if (units + needed > maxUnits) {
            break;
        }
        units += needed;
        i += c.length;
    }
    return std::string(utf8.substr(0, i));
}

OneShotWait::OneShotWait(ClickTimerPort& timers, std::uint32_t delayMs, std::function<void()> completion)
    : m_timers(timers), m_ticket(timers.StartTimer(delayMs, std::move(completion))) {}

OneShotWait::~OneShotWait() {
    m_timers.CancelTimer(m_ticket);
}

TSingleClick::TSingleClick(ClickTimerPort& timers, std::function<void()> completion)
    : OneShotWait(timers, timers.DoubleClickTimeMs() + 50, std::move(completion)) {}

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

TrayIconCore::TrayIconCore(TrayInstanceList& instances, TrayShellPort& shell, ClickTimerPort& timers)
    : m_instances(&instances), m_shell(shell), m_timers(timers), m_id(instances.Add(*this)) {}

TrayIconCore::~TrayIconCore() {
    SetMenu(m_lbPopupMenu, nullptr);
    SetMenu(m_rbPopupMenu, nullptr);
    if (m_instances) {
        m_instances->Remove(*this);
    }
}

void TrayIconCore::Release() {
    m_singleClick.reset();
    m_retryWait.reset();
    m_pendingBalloonWait.reset();
    if (m_addSent) {
        Call(TrayCall::Delete);
    }
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

void TrayIconCore::SetTipHelp(std::string_view value) {
    std::string cut = CutToUtf16Units(value, kTipHelpUnits);
    if (cut == m_tipHelp) {
        return;
    }
    m_tipHelp = std::move(cut);
    if (m_registered) {
        Call(TrayCall::Modify);
    }
}

void TrayIconCore::SetVisible(bool value) {
    if (value == m_visible) {
        return;
    }
    m_visible = value && m_hasImage;
    if (m_visible) {
        Add();
    } else if (!value) {
        Call(TrayCall::Delete);
    }
}

void TrayIconCore::Loaded() {
    if (m_visible && !m_registered) {
        Add();
    }
}

void TrayIconCore::ShellRestarted() {
    m_registered = false;
    Loaded();
}

void TrayIconCore::Add() {
    m_retryWait.reset();
    m_retries = 0;
    Call(TrayCall::Add);
    if (m_visible && !m_registered) {
        m_retryWait = std::make_unique<OneShotWait>(m_timers, kTrayAddRetryDelaysMs[0], [this] { RetryAdd(); });
    }
}

void TrayIconCore::RetryAdd() {
    // An add that timed out may have shown the icon all the same, and adding it again would be refused: a
    // modify finds it.
    if (m_shell.Notify(TrayCall::Modify, Flags(), m_tipHelp)) {
        NowRegistered();
        return;
    }
    Call(TrayCall::Add);
    if (m_registered) {
        return;
    }
    if (++m_retries == std::size(kTrayAddRetryDelaysMs)) {
        throw OutOfResourcesError(std::string(SharedTexts().trayIconError));
    }
    m_retryWait = std::make_unique<OneShotWait>(m_timers, kTrayAddRetryDelaysMs[m_retries], [this] { RetryAdd(); });
}

void TrayIconCore::NowRegistered() {
    m_registered = true;
    m_pendingBalloonWait.reset();
    if (const std::optional<Balloon> balloon = std::exchange(m_pendingBalloon, std::nullopt)) {
        m_shell.NotifyBalloon(balloon->title, balloon->text);
    }
}

bool TrayIconCore::ShowBalloon(std::string_view title, std::string_view text) {
    if (text.empty()) {
        return false;
    }
    Balloon balloon{CutToUtf16Units(title, kBalloonTitleUnits), CutToUtf16Units(text, kBalloonTextUnits)};
    if (m_registered) {
        return m_shell.NotifyBalloon(balloon.title, balloon.text);
    }
    if (!m_addSent || !m_visible) {
        return false;
    }
    m_pendingBalloon = std::move(balloon);
    m_pendingBalloonWait =
        std::make_unique<OneShotWait>(m_timers, kPendingBalloonMs, [this] { m_pendingBalloon.reset(); });
    return true;
}

void TrayIconCore::ImageChanged(bool hasImage) {
    m_hasImage = hasImage;
    if (m_registered) {
        Call(TrayCall::Modify);
    }
    if (!hasImage) {
        SetVisible(false);
    }
}

std::uint32_t TrayIconCore::Flags() const {
    return m_tipHelp.empty() ? kTrayFlagsNoTip : kTrayFlagsWithTip;
}

void TrayIconCore::Call(TrayCall call) {
    const std::uint32_t flags = Flags();
    switch (call) {
    case TrayCall::Add:
        if (!m_visible) {
            return;
        }
        m_addSent = true;
        if (m_shell.Notify(call, flags, m_tipHelp)) {
            NowRegistered();
        } else {
            m_registered = false;
        }
        return;
    case TrayCall::Modify:
        if (!m_shell.Notify(call, flags, m_tipHelp)) {
            throw OutOfResourcesError(std::string(SharedTexts().trayIconError));
        }
        return;
    case TrayCall::Delete:
        // A refused delete changes nothing for us: the icon is gone or cannot be reached either way.
        m_retryWait.reset();
        m_pendingBalloonWait.reset();
        m_pendingBalloon.reset();
        m_shell.Notify(call, flags, m_tipHelp);
        m_registered = m_addSent = false;
        return;
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
    m_shell.ActivateOwner();
    menu.Popup(at.x, at.y);
}

void TrayIconCore::HandleMouseMessage(std::uint32_t mouseMessage) {
    if (!m_enabled) {
        return;
    }
    const TrayPoint at = m_shell.CursorPos();
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
        m_singleClick = std::make_unique<TSingleClick>(m_timers, [this] { SingleClickDone(); });
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
