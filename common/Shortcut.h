#pragma once
#include <cstdint>

namespace qn {

// A key combination as the settings keep the hot key and the hot-key component registers it. Stored as a 16-bit
// code: the virtual-key code in bits 0 to 12, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; bits above those 16 are no
// part of it.
struct Shortcut {
    std::uint16_t key = 0; // the virtual-key code; 0: no key
    bool shift = false;
    bool ctrl = false;
    bool alt = false;

    static constexpr Shortcut Decode(std::uint32_t code) {
        return {static_cast<std::uint16_t>(code & kKeyBits), (code & kShiftBit) != 0, (code & kCtrlBit) != 0,
                (code & kAltBit) != 0};
    }
    constexpr std::uint16_t Encode() const {
        return static_cast<std::uint16_t>((key & kKeyBits) | (shift ? kShiftBit : 0) | (ctrl ? kCtrlBit : 0) |
                                          (alt ? kAltBit : 0));
    }
    bool operator==(const Shortcut&) const = default;

private:
    static constexpr std::uint32_t kKeyBits = 0x1FFF;
    static constexpr std::uint32_t kShiftBit = 0x2000;
    static constexpr std::uint32_t kCtrlBit = 0x4000;
    static constexpr std::uint32_t kAltBit = 0x8000;
};

} // namespace qn
