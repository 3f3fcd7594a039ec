#include "reserver/win32/ProgressWindow.h"

#include "common/DisplayScale.h"
#include "common/Texts.h"
#include "common/win32/SystemFunction.h"
#include "common/win32/Utf.h"
#include "common/win32/Win32Error.h"
#include "reserver/win32/FillThreads.h"

#include <commctrl.h>
#include <windows.h>

#include <exception>
#include <optional>
#include <stdexcept>

namespace qn::win32 {
namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMilliseconds = 100;
constexpr int kBarSteps = 1000;
// In 96-DPI units.
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 44;
constexpr int kMargin = 12;

// The progress bar's class. The common controls are loaded only for this window: a silent run, the monitor's
// hand-over, never shows it, and loading them costs a process start more than the rest of its libraries together.
void RegisterProgressBarClass() {
    static const UniqueModule commonControls(::LoadLibraryW(L"comctl32.dll"));
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = SystemFunction<InitFunction>(commonControls.get(), "InitCommonControlsEx");
    ThrowLastErrorIf(!init, L"comctl32.dll");
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    init(&controls);
}

} // namespace

ProgressWindow::ProgressWindow(const std::atomic<std::uint64_t>& written, std::uint64_t total)
    : m_written(written), m_total(total) {
    RegisterProgressBarClass();
    const std::wstring title = Widen(kTitleVersioned);
    DpiWindowParams params;
    params.className = L"QeltoProgress";
    // Topmost like the system-modal boxes before and after it.
    params.exStyle = WS_EX_TOPMOST;
    // The reservation cannot be broken off, so the window has no close button.
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    params.designClient = SIZE{kClientWidth, kClientHeight};
    params.centred = true;
    params.title = title.c_str();
    params.classStyle = CS_NOCLOSE;
    params.cursor = ::LoadCursorW(nullptr, IDC_WAIT);
    CreateDpiWindow(params);
    m_bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Handle(), nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    TraceLastErrorIf(!m_bar, "progress bar not created");
    FitContents();
    ::SendMessageW(m_bar, PBM_SETRANGE32, 0, kBarSteps);
    TraceLastErrorIf(!::SetTimer(Handle(), kRefreshTimer, kRefreshMilliseconds, nullptr), "progress not refreshed");
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(Handle());
}

void ProgressWindow::FitContents() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int margin = ScaleForDpi(kMargin, Dpi());
    ::MoveWindow(m_bar, margin, margin, client.right - 2 * margin, client.bottom - 2 * margin, TRUE);
}

void ProgressWindow::ShowWritten() {
    const std::uint64_t written = m_written.load(std::memory_order_relaxed);
    const double part = m_total ? static_cast<double>(written) / static_cast<double>(m_total) : 1.0;
    ::SendMessageW(m_bar, PBM_SETPOS, static_cast<WPARAM>(part < 1.0 ? part * kBarSteps : kBarSteps), 0);
}

LRESULT ProgressWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kRefreshTimer) {
            ShowWritten();
            return 0;
        }
        break;
    case WM_CLOSE:
        return 0; // ends with the fill only
    case WM_DESTROY:
        ::KillTimer(Handle(), kRefreshTimer);
        break;
    default:
        break;
    }
    return DpiAwareWindow::OnMessage(message, wParam, lParam);
}

void FillShowingProgress(const std::atomic<std::uint64_t>& written, std::uint64_t total,
                         const std::function<void()>& fill) {
    // A window the system refuses is no reason to leave the block unwritten.
    std::optional<ProgressWindow> window;
    try {
        window.emplace(written, total);
    } catch (const std::runtime_error& error) {
        Trace(TraceLevel::Warning, std::string("progress window not shown: ") + error.what());
        fill();
        return;
    }
    std::exception_ptr failure;
    // The fill's own threads do the work; this one only keeps the window answering.
    UniqueHandle filler = StartThread(
        [&] {
            try {
                fill();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        0);
    if (TraceLastErrorIf(!filler, "progress thread not started")) {
        window.reset();
        fill();
        return;
    }
    HANDLE handle = filler.get();
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    // Whatever ended the wait, the block must not be released before the fill is over.
    ::WaitForSingleObject(handle, INFINITE);
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace qn::win32
