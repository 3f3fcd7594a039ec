#include "monitor/TrayIcon/TrayShellSession.h"

#include "common/Texts.h"
#include "common/Trace.h"
#include "common/Unicode.h"

#include <iterator>
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

OneShotWait::OneShotWait(OneShotTimerPort& timers, std::uint32_t delayMs, std::function<void()> completion)
    : m_timers(timers), m_ticket(timers.StartTimer(delayMs, std::move(completion))) {}

OneShotWait::~OneShotWait() {
    m_timers.CancelTimer(m_ticket);
}

void TrayShellSession::EndSession() {
    m_retryWait.reset();
    m_pendingBalloonWait.reset();
    if (m_addSent) {
        Call(TrayCall::Delete);
    }
}

void TrayShellSession::SetTipHelp(std::string_view value) {
    std::string cut = CutToUtf16Units(value, kTipHelpUnits);
    if (cut == m_tipHelp) {
        return;
    }
    m_tipHelp = std::move(cut);
    if (m_registered) {
        Call(TrayCall::Modify);
    }
}

void TrayShellSession::SetVisible(bool value) {
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

void TrayShellSession::Loaded() {
    if (m_visible && !m_registered) {
        Add();
    }
}

void TrayShellSession::ShellRestarted() {
    m_registered = false;
    Loaded();
}

void TrayShellSession::Add() {
    m_retryWait.reset();
    m_retries = 0;
    Call(TrayCall::Add);
    if (m_visible && !m_registered) {
        m_retryWait = std::make_unique<OneShotWait>(m_timers, kTrayAddRetryDelaysMs[0], [this] { RetryAdd(); });
    }
}

void TrayShellSession::RetryAdd() {
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

bool TrayShellSession::ShowBalloonNow(const BalloonText& balloon) {
    if (m_shell.NotifyBalloon(balloon.title, balloon.text)) {
        return true;
    }
    Trace(TraceLevel::Warning, "balloon refused by the shell");
    return false;
}

void TrayShellSession::NowRegistered() {
    m_registered = true;
    m_pendingBalloonWait.reset();
    if (const std::optional<BalloonText> balloon = std::exchange(m_pendingBalloon, std::nullopt)) {
        ShowBalloonNow(*balloon);
    }
}

bool TrayShellSession::ShowBalloon(std::string_view title, std::string_view text) {
    if (text.empty()) {
        return false;
    }
    BalloonText balloon{CutToUtf16Units(title, kBalloonTitleUnits), CutToUtf16Units(text, kBalloonTextUnits)};
    if (m_registered) {
        return ShowBalloonNow(balloon);
    }
    if (!m_addSent || !m_visible) {
        return false;
    }
    m_pendingBalloon = std::move(balloon);
    m_pendingBalloonWait = std::make_unique<OneShotWait>(m_timers, kPendingBalloonMs, [this] {
        m_pendingBalloon.reset();
        Trace(TraceLevel::Info, "balloon dropped: its icon was not in the tray within a minute");
    });
    return true;
}

void TrayShellSession::ImageChanged(bool hasImage) {
    m_hasImage = hasImage;
    if (m_registered) {
        Call(TrayCall::Modify);
    }
    if (!hasImage) {
        SetVisible(false);
    }
}

std::uint32_t TrayShellSession::Flags() const {
    return m_tipHelp.empty() ? kTrayFlagsNoTip : kTrayFlagsWithTip;
}

void TrayShellSession::Call(TrayCall call) {
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
            Trace(TraceLevel::Info, "tray add refused; it is tried again");
        }
        return;
    case TrayCall::Modify:
        if (!m_shell.Notify(call, flags, m_tipHelp)) {
            // Explorer refuses a modify while it restarts, and when it does not answer in time (memory is short
            // right after a reservation): no failure of ours. The icon counts as not shown and goes through the
            // add's tries, which carry the newest image and tool tip; only their last refusal is reported.
            Trace(TraceLevel::Info, "tray modify refused; the icon is added again");
            m_registered = false;
            m_retries = 0;
            m_retryWait = std::make_unique<OneShotWait>(m_timers, kTrayAddRetryDelaysMs[0], [this] { RetryAdd(); });
        }
        return;
    case TrayCall::Delete:
        // A refused delete changes nothing for us: the icon is gone or cannot be reached either way.
        m_retryWait.reset();
        m_pendingBalloonWait.reset();
        m_pendingBalloon.reset();
        if (!m_shell.Notify(call, flags, m_tipHelp)) {
            Trace(TraceLevel::Info, "tray delete refused: the icon is gone or out of reach");
        }
        m_registered = m_addSent = false;
        return;
    }
}

} // namespace qn
