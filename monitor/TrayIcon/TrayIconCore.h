#pragma once
// TTrayIcon's logic apart from the shell: the icon ids and the process's instance list, the properties and
// when they call the shell, the mouse table, and telling single clicks from double clicks.
#include "monitor/TrayIcon/PopupMenu.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qn {

// The system could not give what was asked for; the message says what. EOutOfResources
class OutOfResourcesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The numbers below that the shell also knows are tied to the system's names by the Win32 side (TrayIcon.cpp,
// CallbackWindow.cpp).

// The message the shell sends to the receiver window for mouse actions over an icon (WM_USER + 200).
inline constexpr std::uint32_t kTrayCallbackMessage = 1224;
// Flags of the notification record: NIF_MESSAGE | NIF_ICON, and NIF_TIP when there is a tool tip.
inline constexpr std::uint32_t kTrayFlagsNoTip = 3;
inline constexpr std::uint32_t kTrayFlagsWithTip = 7;
// What the record's tool-tip field holds: 128 UTF-16 units with the terminating zero.
inline constexpr std::size_t kTipHelpUnits = 127;
// What the record's balloon fields hold without the terminating zero: the title and the text.
inline constexpr std::size_t kBalloonTitleUnits = 63;
inline constexpr std::size_t kBalloonTextUnits = 255;
inline constexpr std::size_t kMaxTrayIcons = 100;
// The waits before each new try of an add the shell refused. At log-on the shell may not be ready, or too busy
// to answer in time (and then shows the icon all the same): the error is shown only after the last of them.
inline constexpr std::uint32_t kTrayAddRetryDelaysMs[] = {1000, 2000, 4000};
// How long a balloon asked for while its icon is not yet in the tray waits for it; what it tells is stale then.
inline constexpr std::uint32_t kPendingBalloonMs = 60'000;

// Mouse messages as the shell passes them on.
namespace tray_mouse {
inline constexpr std::uint32_t kMove = 0x0200;
inline constexpr std::uint32_t kLeftDown = 0x0201;
inline constexpr std::uint32_t kLeftUp = 0x0202;
inline constexpr std::uint32_t kLeftDoubleClick = 0x0203;
inline constexpr std::uint32_t kRightDown = 0x0204;
inline constexpr std::uint32_t kRightUp = 0x0205;
inline constexpr std::uint32_t kRightDoubleClick = 0x0206;
inline constexpr std::uint32_t kMiddleDown = 0x0207;
inline constexpr std::uint32_t kMiddleUp = 0x0208;
} // namespace tray_mouse

enum class MouseButton { Left, Right, Middle }; // TMouseButton: mbLeft, mbRight, mbMiddle
// Which mouse buttons are down; never any keyboard state. TShiftState: ssNone, ssLeft, ssRight, ssMiddle
using ButtonsDown = unsigned;
inline constexpr ButtonsDown kNoButtonDown = 0;
inline constexpr ButtonsDown kLeftButtonDown = 1;
inline constexpr ButtonsDown kRightButtonDown = 2;
inline constexpr ButtonsDown kMiddleButtonDown = 4;

// The longest start of a UTF-8 text that takes at most `maxUnits` UTF-16 units, cut between characters.
std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits);

// The shell's calls on an icon, with its values: NIM_ADD, NIM_MODIFY, NIM_DELETE.
enum class TrayCall : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

struct TrayPoint {
    int x = 0;
    int y = 0;
};

// What an icon needs of the shell and the screen.
class TrayShellPort {
public:
    virtual ~TrayShellPort() = default;
    // One call with the instance's notification record, its flags and tool tip refreshed; false when refused.
    virtual bool Notify(TrayCall call, std::uint32_t flags, const std::string& tip) = 0;
    virtual TrayPoint CursorPos() = 0;
    // Brings the owner's window to the foreground, so that a popup menu closes when the user clicks elsewhere.
    virtual void ActivateOwner() = 0;
    // One call that shows a balloon notification over the instance's icon: the information icon, no sound;
    // false when refused.
    virtual bool NotifyBalloon(const std::string& title, const std::string& text) = 0;
};

// One-shot timers whose completions run on the user-interface thread: the single-click wait, and the waits
// before an add is tried again.
class ClickTimerPort {
public:
    virtual ~ClickTimerPort() = default;
    virtual std::uint32_t DoubleClickTimeMs() = 0;
    // Calls `elapsed` once after `delayMs`; returns a ticket for CancelTimer.
    virtual std::uint32_t StartTimer(std::uint32_t delayMs, std::function<void()> elapsed) = 0;
    // Nothing happens for a ticket that has fired or been cancelled already.
    virtual void CancelTimer(std::uint32_t ticket) = 0;
};

// A one-shot timer that is cancelled when it is destroyed.
class OneShotWait {
public:
    OneShotWait(ClickTimerPort& timers, std::uint32_t delayMs, std::function<void()> completion);
    OneShotWait(const OneShotWait&) = delete;
    OneShotWait& operator=(const OneShotWait&) = delete;
    ~OneShotWait();

private:
    ClickTimerPort& m_timers;
    std::uint32_t m_ticket;
};

// The wait after a left click: the double-click time plus 50 ms, after which a click that no double click
// followed counts as a single click. Destroying it cancels the wait.
class TSingleClick : public OneShotWait {
public:
    TSingleClick(ClickTimerPort& timers, std::function<void()> completion);
};

class TrayIconCore;

// The living icons of the process in creation order, each under its id.
class TrayInstanceList {
public:
    // The next id: one more than the most recently created living instance's, 1 for the first. Throws
    // OutOfResourcesError when 100 instances live already.
    std::uint32_t Add(TrayIconCore& instance);
    void Remove(const TrayIconCore& instance);
    TrayIconCore* Find(std::uintptr_t id) const;
    std::vector<TrayIconCore*> Instances() const;

private:
    std::vector<std::pair<std::uint32_t, TrayIconCore*>> m_entries;
};

class TrayIconCore : private PopupMenuWatcher {
public:
    // Takes the next id from `instances`; may throw OutOfResourcesError. Makes no shell call.
    TrayIconCore(TrayInstanceList& instances, TrayShellPort& shell, ClickTimerPort& timers);
    TrayIconCore(const TrayIconCore&) = delete;
    TrayIconCore& operator=(const TrayIconCore&) = delete;
    virtual ~TrayIconCore();

    std::uint32_t IconId() const { return m_id; }
    // Whether the icon stands in the tray now.
    bool Registered() const { return m_registered; }

    bool AutoPopup() const { return m_autoPopup; }
    void SetAutoPopup(bool value) { m_autoPopup = value; }
    bool Enabled() const { return m_enabled; }
    // False ignores every mouse action and drops a single click still waiting.
    void SetEnabled(bool value);
    const std::string& TipHelp() const { return m_tipHelp; }
    // Cut to what the tool-tip field holds; the same text again makes no shell call.
    void SetTipHelp(std::string_view value);
    // Whether the icon is wanted in the tray. It starts true but the icon is first added by Loaded() or by a
    // change from false to true; true is kept only while there is an image. An add the shell refuses is tried
    // again after each of kTrayAddRetryDelaysMs, and at once when the shell starts anew; the last refusal throws
    // OutOfResourcesError from the timer's completion. A change to false always deletes the icon: a refused add
    // may have shown it all the same.
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    PopupMenu* LBPopupMenu() const { return m_lbPopupMenu; }
    void SetLBPopupMenu(PopupMenu* menu) { SetMenu(m_lbPopupMenu, menu); }
    PopupMenu* RBPopupMenu() const { return m_rbPopupMenu; }
    void SetRBPopupMenu(PopupMenu* menu) { SetMenu(m_rbPopupMenu, menu); }

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(MouseButton button, ButtonsDown shift, int x, int y)> OnMouseDown;
    std::function<void(ButtonsDown shift, int x, int y)> OnMouseMove;
    std::function<void(MouseButton button, ButtonsDown shift, int x, int y)> OnMouseUp;

    // The owner has set the properties up: the icon is added if it is wanted.
    void Loaded();
    // A mouse action over the icon, as the shell reports it.
    void HandleMouseMessage(std::uint32_t mouseMessage);
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
    // Takes the icon out of the tray and the instance out of the list. Derived classes call it from their
    // destructor, while their side of the shell port still exists.
    void Release();

private:
    void MenuDestroyed(PopupMenu& menu) override;
    void SetMenu(PopupMenu*& slot, PopupMenu* menu);
    std::uint32_t Flags() const;
    void Call(TrayCall call);
    void Add();
    void RetryAdd();
    // The icon is in the tray now: a balloon that waited for it shows.
    void NowRegistered();
    void Popup(PopupMenu& menu, TrayPoint at);
    void LeftButtonUp();
    void SingleClickDone();

    TrayInstanceList* m_instances;
    TrayShellPort& m_shell;
    ClickTimerPort& m_timers;
    std::uint32_t m_id;
    bool m_registered = false;
    // An add was sent and no delete since: the shell may show the icon even when it refused the add.
    bool m_addSent = false;
    std::size_t m_retries = 0;
    std::unique_ptr<OneShotWait> m_retryWait;
    struct Balloon {
        std::string title;
        std::string text;
    };
    std::optional<Balloon> m_pendingBalloon;
    std::unique_ptr<OneShotWait> m_pendingBalloonWait;
    bool m_autoPopup = true;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_hasImage = false;
    std::string m_tipHelp = "TipHelp";
    PopupMenu* m_lbPopupMenu = nullptr;
    PopupMenu* m_rbPopupMenu = nullptr;
    bool m_clickPending = false;
    std::unique_ptr<TSingleClick> m_singleClick;
};

// The shell's message for icon `id` (wParam) and mouse action `mouseMessage` (lParam): to the instance with that
// id, if one lives.
void DispatchTrayMessage(const TrayInstanceList& instances, std::uintptr_t id, std::uintptr_t mouseMessage);

} // namespace qn
