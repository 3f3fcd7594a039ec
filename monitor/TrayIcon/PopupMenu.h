#pragma once
// A popup menu as the tray icon sees it: something that pops up at a screen point and tells whoever refers to it
// when it goes away, so that no reference outlives the menu.
#include <vector>

namespace qn {

class PopupMenu;

class PopupMenuWatcher {
public:
    virtual void MenuDestroyed(PopupMenu& menu) = 0;

protected:
    ~PopupMenuWatcher() = default;
};

class PopupMenu {
public:
    PopupMenu() = default;
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    // Tells every watcher, which then drops its reference.
    virtual ~PopupMenu();

    // Shows the menu at the screen point and returns when it has closed.
    virtual void Popup(int x, int y) = 0;

    // `watcher` is told when this menu is destroyed; adding a watcher twice tells it once.
    void FreeNotification(PopupMenuWatcher& watcher);
    void RemoveFreeNotification(PopupMenuWatcher& watcher);

private:
    std::vector<PopupMenuWatcher*> m_watchers;
};

} // namespace qn
