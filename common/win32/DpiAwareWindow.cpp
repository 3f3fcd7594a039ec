#include "common/win32/DpiAwareWindow.h"

#include "common/DisplayScale.h"
#include "common/win32/Dpi.h"
#include "common/win32/WindowsAppearance.h"
#include "resources/ResourceIds.h"

namespace qn::win32 {
namespace {

constexpr int kProgramIconId = QN_PROGRAM_ICON;
static_assert(kDesignDpi == USER_DEFAULT_SCREEN_DPI);

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    return monitor.rcWork;
}

} // namespace

HICON ProgramIcon(int widthMetric, int heightMetric) {
    // The icon file holds 16, 20, 24, 32 and 48 pixels: each size the system asks for is drawn, not stretched.
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                           LR_SHARED));
}

void DpiAwareWindow::CreateDpiWindow(const DpiWindowParams& params) {
    m_designClient = params.designClient;
    m_style = params.style;
    m_exStyle = params.exStyle;
    // Made at the design size first: the DPI it is shown at is known once it exists on a monitor.
    const SIZE design = OuterSize(kDesignDpi);
    CreateParams create;
    create.className = params.className;
    create.exStyle = params.exStyle;
    create.style = params.style;
    create.x = params.position.x;
    create.y = params.position.y;
    create.width = design.cx;
    create.height = design.cy;
    create.parent = params.owner;
    create.title = params.title;
    create.classStyle = params.classStyle;
    create.cursor = params.cursor;
    CreateWindowObject(create);
    m_dpi = WindowDpi(Handle());
    const SIZE size = OuterSize(m_dpi);
    if (params.centred) {
        const RECT work = WorkAreaOf(Handle());
        ::SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - size.cx) / 2,
                       work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        ::SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const HICON icon = params.icon ? params.icon : ProgramIcon(SM_CXICON, SM_CYICON);
    const HICON smallIcon = params.smallIcon ? params.smallIcon : ProgramIcon(SM_CXSMICON, SM_CYSMICON);
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    if (params.style & WS_CAPTION) {
        ApplyTitleBar(Handle(), CurrentAppearance());
    }
}

void DpiAwareWindow::FitToCurrentDpi() {
    const UINT dpi = WindowDpi(Handle());
    if (dpi == m_dpi) {
        return;
    }
    m_dpi = dpi;
    const SIZE size = OuterSize(dpi);
    ::SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitContents();
}

LRESULT DpiAwareWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DPICHANGED) {
        // Moved to a monitor of another scale, or the scale changed: the system suggests the rectangle that keeps
        // the window's place and size in its terms; the contents follow the new client area.
        m_dpi = LOWORD(wParam);
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                       suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        FitContents();
        return 0;
    }
    if ((m_style & WS_CAPTION) && ColoursChanged(message, wParam, lParam)) {
        // The title bar follows the apps' theme while the window is open.
        ApplyTitleBar(Handle(), CurrentAppearance());
    }
    return WindowObject::OnMessage(message, wParam, lParam);
}

SIZE DpiAwareWindow::OuterSize(UINT dpi) const {
    return WindowSizeForClient(SIZE{ScaleForDpi(m_designClient.cx, dpi), ScaleForDpi(m_designClient.cy, dpi)}, m_style,
                               m_exStyle, dpi);
}

} // namespace qn::win32
