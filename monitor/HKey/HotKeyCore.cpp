#include "monitor/HKey/HotKeyCore.h"

#include "common/Shortcut.h"

namespace qn {

HotKeyCombination SplitShortcut(std::uint32_t shortcut) {
    const Shortcut keys = Shortcut::Decode(shortcut);
    return {keys.key, (keys.alt ? kModAlt : 0) | (keys.shift ? kModShift : 0) | (keys.ctrl ? kModControl : 0)};
}

bool HotKeyCore::AddHotKey(std::int32_t index, std::uint32_t shortcut) {
    const HotKeyCombination combination = SplitShortcut(shortcut);
    if (combination.virtualKey == 0) {
        return false;
    }
    // Windows Vista and earlier refuse the no-repeat flag; there the key repeats.
    return m_port.Register(index, {combination.virtualKey, combination.modifiers | kModNoRepeat}) ||
           m_port.Register(index, combination);
}

bool HotKeyCore::RemoveHotKey(std::int32_t index) {
    return m_port.Unregister(index);
}

void HotKeyCore::HotKeyPressed(std::int32_t index) {
    if (!OnHotKey) {
        return;
    }
    if (m_activate) {
        m_port.ActivateOwner();
    }
    // A copy: the handler may assign OnHotKey anew while it runs.
    const auto handler = OnHotKey;
    handler(index);
}

} // namespace qn
