#pragma once
// TTrayIcon: one icon in the notification area with its tool tip, turning the shell's mouse notifications into
// events and popup menus. All icons of the process share one TrayReceiverWindow.
#include "common/win32/UniqueHandle.h"
#include "monitor/TrayIcon/TrayIconCore.h"
#include "monitor/TrayIcon/win32/TrayReceiverWindow.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace qn::win32 {

namespace detail {
// Holds the shared receiver so that it exists before the icon takes its id from the receiver's list.
struct TrayReceiverHolder {
    std::shared_ptr<TrayReceiverWindow> m_receiver = TrayReceiverWindow::Shared();
};
} // namespace detail

class TTrayIcon final : private detail::TrayReceiverHolder,
                        private TrayShellPort,
                        private TrayPointerPort,
                        public TrayIconCore {
public:
    // `owner` is brought to the foreground before a menu pops up; it may be null. Throws OutOfResourcesError when
    // 100 icons live already.
    explicit TTrayIcon(HWND owner);
    ~TTrayIcon() override;

    // The icon's own copy of its image; null when empty.
    HICON Icon() const { return m_icon.get(); }
    // Copies `icon` (the caller keeps its own). Null empties the image and takes the icon out of the tray.
    void SetIcon(HICON icon);

    // The receiver window the shell sends this icon's notifications to.
    HWND ReceiverWindow() const { return m_receiver->Handle(); }

private:
    bool Notify(TrayCall call, std::uint32_t flags, const std::string& tip) override;
    TrayPoint CursorPos() override;
    std::uint32_t DoubleClickTimeMs() override;
    void ActivateOwner() override;
    bool NotifyBalloon(const std::string& title, const std::string& text) override;

    HWND m_owner;
    UniqueIcon m_icon;
    // One record for every shell call; each call refreshes the image, tool tip and flags.
    NOTIFYICONDATAW m_record{};
};

} // namespace qn::win32
