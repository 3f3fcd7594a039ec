#pragma once
#include "common/win32/DpiAwareWindow.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace qn::win32 {

// A small window with the program's title and icon and a bar of the bytes written so far, sized for the DPI of
// the monitor it is on. A timer on the window's own thread reads the counter the fill threads add to, so the fill
// never waits for the window.
class ProgressWindow final : public DpiAwareWindow {
public:
    ProgressWindow(const std::atomic<std::uint64_t>& written, std::uint64_t total);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The bar fills the client area within a margin.
    void FitContents() override;
    void ShowWritten();

    const std::atomic<std::uint64_t>& m_written;
    std::uint64_t m_total;
    HWND m_bar = nullptr; // a child: destroyed with the window
};

// Runs `fill` on a thread of its own while this thread shows the progress window and keeps it painted; the window
// is gone when this returns. Where no window can be made or no thread started, this thread fills without a window:
// one left standing without its message loop would show as not responding and invite the user to end the run.
void FillShowingProgress(const std::atomic<std::uint64_t>& written, std::uint64_t total,
                         const std::function<void()>& fill);

} // namespace qn::win32
