#include "monitor/HKey/HotKeyCore.h"

namespace qn {

HotKeyCombination SplitShortcut(std::uint32_t shortcut) {
    HotKeyCombination result;
    result.virtualKey = shortcut & 0x1FFF;
    if (shortcut & 0x8000) {
        result.modifiers |= kModAlt;
    }
    if (shortcut & 0x2000) {
        result.modifiers |= kModShift;
    }
    if (shortcut & 0x4000) {
        result.modifiers |= kModControl;
    }
    return result;
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
