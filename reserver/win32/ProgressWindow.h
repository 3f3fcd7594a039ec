#pragma once
#include "common/win32/WindowObject.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace qn::win32 {

// A small window with the program's title and icon and a bar of the bytes written so far. A timer on the
// window's own thread reads the counter the fill threads add to, so the fill never waits for the window.
class ProgressWindow final : public WindowObject {
public:
    ProgressWindow(const std::atomic<std::uint64_t>& written, std::uint64_t total);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ShowWritten();

    const std::atomic<std::uint64_t>& m_written;
    std::uint64_t m_total;
    HWND m_bar = nullptr; // a child: destroyed with the window
};

// Runs `fill` on a thread of its own while this thread shows the progress window and keeps it painted; the window
// is gone when this returns. Where no thread can be started, this thread fills, and the window only stands there;
// where no window can be made, this thread fills without one.
void FillShowingProgress(const std::atomic<std::uint64_t>& written, std::uint64_t total,
                         const std::function<void()>& fill);

} // namespace qn::win32
