#pragma once
#include "monitor/MainUnit/SettingsStore.h"

#include <windows.h>

#include <functional>

namespace qn::win32 {

// The meter window as the settings store sees it: its window placement, read and applied in the same
// (workspace) coordinates, so that a taskbar at the top or left does not shift the window at every restart.
class MeterWindowPlacement final : public MeterWindowPort {
public:
    // `placed` runs after every position applied.
    explicit MeterWindowPlacement(HWND window, std::function<void()> placed = {})
        : m_window(window), m_placed(std::move(placed)) {}

    std::optional<WindowPlacement> GetPlacement() override;
    // A window that would lie on no display comes onto the work area of the nearest one; a position on a real
    // display, negative coordinates included, is kept as it is.
    void ApplyPosition(std::int32_t left, std::optional<std::int32_t> top) override;

private:
    HWND m_window;
    std::function<void()> m_placed;
};

} // namespace qn::win32
