#include "monitor/MainUnit/win32/MeterWindowPlacement.h"

namespace qn::win32 {

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
    const Rect moved = MovedRect(Rect{r.left, r.top, r.right, r.bottom}, left, top);
    r = RECT{moved.left, moved.top, moved.right, moved.bottom};
    // Applying a placement also applies its show command; a window not yet shown (the position is loaded
    // first thing at start-up) must stay hidden.
    if (!IsWindowVisible(m_window)) {
        placement.showCmd = SW_HIDE;
    }
    // SetWindowPlacement itself brings a rectangle that would lie on no display onto the nearest one's work
    // area, and leaves one that overlaps a display (negative coordinates included) where it is.
    SetWindowPlacement(m_window, &placement);
    if (m_placed) {
        m_placed();
    }
}

} // namespace qn::win32
