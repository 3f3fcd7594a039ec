#pragma once
// TTrayIcon's logic apart from the shell: the icon ids and the process's instance list, the mouse table, the
// popup menus, and telling single clicks from double clicks. Its session with the shell is TrayShellSession's.
#include "monitor/TrayIcon/PopupMenu.h"
#include "monitor/TrayIcon/TrayShellSession.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace qn {

// The numbers below that the shell also knows are tied to the system's names by the Win32 side (TrayIcon.cpp,
// TrayReceiverWindow.cpp).

// The message the shell sends to the receiver window for mouse actions over an icon (WM_USER + 200).
inline constexpr std::uint32_t kTrayCallbackMessage = 1224;
inline constexpr std::size_t kMaxTrayIcons = 100;

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

struct TrayPoint {
    int x = 0;
    int y = 0;
};

// What an icon needs of the mouse and the screen.
class TrayPointerPort {
public:
    virtual ~TrayPointerPort() = default;
    virtual TrayPoint CursorPos() = 0;
    virtual std::uint32_t DoubleClickTimeMs() = 0;
    // Brings the owner's window to the foreground, so that a popup menu closes when the user clicks elsewhere.
    virtual void ActivateOwner() = 0;
};

// The wait after a left click: the double-click time plus 50 ms, after which a click that no double click
// followed counts as a single click. Destroying it cancels the wait. TSingleClick
class SingleClickWait : public OneShotWait {
public:
    SingleClickWait(OneShotTimerPort& timers, std::uint32_t doubleClickTimeMs, std::function<void()> completion);
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

class TrayIconCore : public TrayShellSession, private PopupMenuWatcher {
public:
    // Takes the next id from `instances`; may throw OutOfResourcesError. Makes no shell call.
    TrayIconCore(TrayInstanceList& instances, TrayShellPort& shell, TrayPointerPort& pointer, OneShotTimerPort& timers);
    ~TrayIconCore() override;

    std::uint32_t IconId() const { return m_id; }

    bool AutoPopup() const { return m_autoPopup; }
    void SetAutoPopup(bool value) { m_autoPopup = value; }
    bool Enabled() const { return m_enabled; }
    // False ignores every mouse action and drops a single click still waiting.
    void SetEnabled(bool value);
    PopupMenu* LBPopupMenu() const { return m_lbPopupMenu; }
    void SetLBPopupMenu(PopupMenu* menu) { SetMenu(m_lbPopupMenu, menu); }
    PopupMenu* RBPopupMenu() const { return m_rbPopupMenu; }
    void SetRBPopupMenu(PopupMenu* menu) { SetMenu(m_rbPopupMenu, menu); }

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(MouseButton button, ButtonsDown shift, int x, int y)> OnMouseDown;
    std::function<void(ButtonsDown shift, int x, int y)> OnMouseMove;
    std::function<void(MouseButton button, ButtonsDown shift, int x, int y)> OnMouseUp;

    // A mouse action over the icon, as the shell reports it.
    void HandleMouseMessage(std::uint32_t mouseMessage);

protected:
    // Takes the icon out of the tray and the instance out of the list. Derived classes call it from their
    // destructor, while their side of the ports still exists.
    void Release();

private:
    void MenuDestroyed(PopupMenu& menu) override;
    void SetMenu(PopupMenu*& slot, PopupMenu* menu);
    void Popup(PopupMenu& menu, TrayPoint at);
    void LeftButtonUp();
    void SingleClickDone();

    TrayInstanceList* m_instances;
    TrayPointerPort& m_pointer;
    OneShotTimerPort& m_timers;
    std::uint32_t m_id;
    bool m_autoPopup = true;
    bool m_enabled = true;
    PopupMenu* m_lbPopupMenu = nullptr;
    PopupMenu* m_rbPopupMenu = nullptr;
    bool m_clickPending = false;
    std::unique_ptr<SingleClickWait> m_singleClick;
};

// The shell's message for icon `id` (wParam) and mouse action `mouseMessage` (lParam): to the instance with that
// id, if one lives.
void DispatchTrayMessage(const TrayInstanceList& instances, std::uintptr_t id, std::uintptr_t mouseMessage);

} // namespace qn
