#pragma once
// The tray icon's session with the shell, apart from the component's mouse and menus: whether the icon is wanted
// in the notification area apart from whether it stands there, adds the shell refuses tried again, the shell's
// restart, the delete, the tool tip, and a balloon that waits for its icon.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qn {

// The system could not give what was asked for; the message says what. EOutOfResources
class OutOfResourcesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The numbers below that the shell also knows are tied to the system's names by the Win32 side (TrayIcon.cpp).

// Flags of the notification record: NIF_MESSAGE | NIF_ICON, and NIF_TIP when there is a tool tip.
inline constexpr std::uint32_t kTrayFlagsNoTip = 3;
inline constexpr std::uint32_t kTrayFlagsWithTip = 7;
// What the record's tool-tip field holds: 128 UTF-16 units with the terminating zero.
inline constexpr std::size_t kTipHelpUnits = 127;
// What the record's balloon fields hold without the terminating zero: the title and the text.
inline constexpr std::size_t kBalloonTitleUnits = 63;
inline constexpr std::size_t kBalloonTextUnits = 255;
// The waits before each new try of an add the shell refused. At log-on the shell may not be ready, or too busy
// to answer in time (and then shows the icon all the same): the error is shown only after the last of them.
inline constexpr std::uint32_t kTrayAddRetryDelaysMs[] = {1000, 2000, 4000};
// How long a balloon asked for while its icon is not yet in the tray waits for it; what it tells is stale then.
inline constexpr std::uint32_t kPendingBalloonMs = 60'000;

// The longest start of a UTF-8 text that takes at most `maxUnits` UTF-16 units, cut between characters.
std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits);

// The shell's calls on an icon, with its values: NIM_ADD, NIM_MODIFY, NIM_DELETE.
enum class TrayCall : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// What an icon needs of the shell.
class TrayShellPort {
public:
    virtual ~TrayShellPort() = default;
    // One call with the icon's notification record, its flags and tool tip refreshed; false when refused.
    virtual bool Notify(TrayCall call, std::uint32_t flags, const std::string& tip) = 0;
    // One call that shows a balloon notification over the icon: the information icon, no sound; false when
    // refused.
    virtual bool NotifyBalloon(const std::string& title, const std::string& text) = 0;
};

// One-shot timers whose completions run on the user-interface thread.
class OneShotTimerPort {
public:
    virtual ~OneShotTimerPort() = default;
    // Calls `elapsed` once after `delayMs`; returns a ticket for CancelTimer.
    virtual std::uint32_t StartTimer(std::uint32_t delayMs, std::function<void()> elapsed) = 0;
    // Nothing happens for a ticket that has fired or been cancelled already.
    virtual void CancelTimer(std::uint32_t ticket) = 0;
};

// A one-shot timer that is cancelled when it is destroyed.
class OneShotWait {
public:
    OneShotWait(OneShotTimerPort& timers, std::uint32_t delayMs, std::function<void()> completion);
    OneShotWait(const OneShotWait&) = delete;
    OneShotWait& operator=(const OneShotWait&) = delete;
    ~OneShotWait();

private:
    OneShotTimerPort& m_timers;
    std::uint32_t m_ticket;
};

class TrayShellSession {
public:
    // Makes no shell call.
    TrayShellSession(TrayShellPort& shell, OneShotTimerPort& timers) : m_shell(shell), m_timers(timers) {}
    TrayShellSession(const TrayShellSession&) = delete;
    TrayShellSession& operator=(const TrayShellSession&) = delete;
    virtual ~TrayShellSession() = default;

    // Whether the icon stands in the tray now.
    bool Registered() const { return m_registered; }
    const std::string& TipHelp() const { return m_tipHelp; }
    // Cut to what the tool-tip field holds; the same text again makes no shell call.
    void SetTipHelp(std::string_view value);
    // Whether the icon is wanted in the tray. It starts true but the icon is first added by Loaded() or by a
    // change from false to true; true is kept only while there is an image. An add the shell refuses is tried
    // again after each of kTrayAddRetryDelaysMs, and at once when the shell starts anew; the last refusal throws
    // OutOfResourcesError from the timer's completion. A modify the shell refuses (a change of image or tool tip)
    // takes the icon as not shown and goes through the same tries. A change to false always deletes the icon: a
    // refused add may have shown it all the same.
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    // The owner has set the properties up: the icon is added if it is wanted.
    void Loaded();
    // The shell has started anew and knows no icon: the icon is added again if it is wanted.
    void ShellRestarted();
    // A balloon notification over the icon with the information icon and no sound, which the shell takes away
    // by itself; title and text are cut to what the record holds, and an empty text shows nothing (it would take
    // a balloon away). While the add of a wanted icon waits for the shell (busy, or paged out right after a large
    // reservation), the balloon waits with it and shows once the icon is in, unless kPendingBalloonMs passed
    // first; a newer balloon replaces it. False when nothing shows or waits, or the shell refused: a balloon is a
    // courtesy, never an error.
    bool ShowBalloon(std::string_view title, std::string_view text);

protected:
    // The image changed while it stands in the tray: passed on. An empty image also takes the icon away.
    void ImageChanged(bool hasImage);
    // Takes the icon out of the tray and ends every wait. Derived classes call it from their destructor, while
    // their side of the shell port still exists.
    void EndSession();

private:
    std::uint32_t Flags() const;
    void Call(TrayCall call);
    void Add();
    void RetryAdd();
    // The icon is in the tray now: a balloon that waited for it shows.
    void NowRegistered();
    struct BalloonText {
        std::string title;
        std::string text;
    };
    bool ShowBalloonNow(const BalloonText& balloon);

    TrayShellPort& m_shell;
    OneShotTimerPort& m_timers;
    bool m_registered = false;
    // An add was sent and no delete since: the shell may show the icon even when it refused the add.
    bool m_addSent = false;
    std::size_t m_retries = 0;
    std::unique_ptr<OneShotWait> m_retryWait;
    bool m_visible = true;
    bool m_hasImage = false;
    std::string m_tipHelp = "TipHelp";
    std::optional<BalloonText> m_pendingBalloon;
    std::unique_ptr<OneShotWait> m_pendingBalloonWait;
};

} // namespace qn
