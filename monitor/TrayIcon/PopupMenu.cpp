#include "monitor/TrayIcon/PopupMenu.h"

#include <algorithm>

namespace qn {

PopupMenu::~PopupMenu() {
    // Each watcher may remove itself while it is told.
    while (!m_watchers.empty()) {
        PopupMenuWatcher* watcher = m_watchers.back();
        m_watchers.pop_back();
        watcher->MenuDestroyed(*this);
    }
}

void PopupMenu::FreeNotification(PopupMenuWatcher& watcher) {
    if (std::find(m_watchers.begin(), m_watchers.end(), &watcher) == m_watchers.end()) {
        m_watchers.push_back(&watcher);
    }
}

void PopupMenu::RemoveFreeNotification(PopupMenuWatcher& watcher) {
    std::erase(m_watchers, &watcher);
}

} // namespace qn
