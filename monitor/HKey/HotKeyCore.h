#pragma once
// THKey's logic: splitting a shortcut code into a key and modifiers, and what a press does.
#include <cstdint>
#include <functional>

namespace qn {

// Modifier flags as RegisterHotKey takes them (HKey.cpp ties each to the system's name).
inline constexpr std::uint32_t kModAlt = 1;
inline constexpr std::uint32_t kModControl = 2;
inline constexpr std::uint32_t kModShift = 4;
// A key held down fires once, not at every repeat.
inline constexpr std::uint32_t kModNoRepeat = 0x4000;

struct HotKeyCombination {
    std::uint32_t virtualKey = 0;
    std::uint32_t modifiers = 0;
    bool operator==(const HotKeyCombination&) const = default;
};

// A shortcut code (see Shortcut.h) as RegisterHotKey takes it. Only the low 16 bits count.
HotKeyCombination SplitShortcut(std::uint32_t shortcut);

// What the hot keys need of the system.
class HotKeyPort {
public:
    virtual ~HotKeyPort() = default;
    virtual bool Register(std::int32_t index, const HotKeyCombination& combination) = 0;
    virtual bool Unregister(std::int32_t index) = 0;
    // Brings the owner's window to the foreground.
    virtual void ActivateOwner() = 0;
};

class HotKeyCore {
public:
    explicit HotKeyCore(HotKeyPort& port) : m_port(port) {}
    HotKeyCore(const HotKeyCore&) = delete;
    HotKeyCore& operator=(const HotKeyCore&) = delete;
    virtual ~HotKeyCore() = default;

    // Whether the owner is brought forward before OnHotKey.
    bool Activate() const { return m_activate; }
    void SetActivate(bool value) { m_activate = value; }

    // Registers the shortcut under `index`, firing once while held down where the system allows that; false
    // when the system refuses it. A shortcut without a key registers nothing: the system would take modifiers
    // alone as a combination that never fires.
    bool AddHotKey(std::int32_t index, std::uint32_t shortcut);
    bool RemoveHotKey(std::int32_t index);

    // A registered hot key was pressed.
    std::function<void(std::int32_t index)> OnHotKey;

    // The press of the hot key registered under `index`.
    void HotKeyPressed(std::int32_t index);

private:
    HotKeyPort& m_port;
    bool m_activate = true;
};

} // namespace qn
