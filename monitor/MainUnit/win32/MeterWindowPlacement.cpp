#include "win32/MeterWindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace qn::win32 {
namespace {

// A stored edge plus the window's extent, kept within the coordinate range (a record can hold any integer).
LONG EdgeAfter(std::int32_t start, LONG extent) {
    return static_cast<LONG>(std::clamp<std::int64_t>(std::int64_t{start} + extent, INT32_MIN, INT32_MAX));
}

} // namespace

std::optional<WindowPlacement> MeterWindowPlacement::GetPlacement() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(m_window, &placement)) {
        return std::nullopt;
    }
    const RECT& r = placement.rcNormalPosition;
    return WindowPlacement{{placement.ptMinPosition.x, placement.ptMinPosition.y},
                           {placement.ptMaxPosition.x, placement.ptMaxPosition.y},
                           {r.left, r.top, r.right, r.bottom}};
}

void MeterWindowPlacement::ApplyPosition(std::int32_t left, std::optional<std::int32_t> top) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(m_window, &placement)) {
        return;
    }
    RECT& r = placement.rcNormalPosition;
    const LONG width = r.right - r.left;
    const LONG height = r.bottom - r.top;
    r.left = left;
    r.right = EdgeAfter(left, width);
    if (top) {
        r.top = *top;
        r.bottom = EdgeAfter(*top, height);
    }
    // Applying a placement also applies its show command; a window not yet shown (the position is loaded
    // first thing at start-up) must stay hidden.
    if (!IsWindowVisible(m_window)) {
        placement.showCmd = SW_HIDE;
    }
    // SetWindowPlacement itself brings a rectangle that would lie on no display onto the nearest one's work
    // area, and leaves one that overlaps a display (negative coordinates included) where it is.
    SetWindowPlacement(m_window, &placement);
}

} // namespace qn::win32
