#pragma once
// The one way the programs make a top-level window: its class, the program's icon, a client area given in
// 96-DPI units and shown at the DPI of the monitor the window is on, and WM_DPICHANGED followed, contents and
// font included.
#include "common/win32/WindowObject.h"

#include <windows.h>

namespace qn::win32 {

// The program's icon at the size the system metrics `widthMetric` and `heightMetric` give (SM_CXICON, SM_CXSMICON
// and their heights); shared, never destroyed. Null in a program that carries none.
HICON ProgramIcon(int widthMetric, int heightMetric);

class DpiAwareWindow : public WindowObject {
public:
    // The DPI the window and its contents are sized for.
    UINT Dpi() const { return m_dpi; }

    // Windows sends no WM_DPICHANGED to a hidden window placed on a monitor of another scale: after placing one,
    // this sizes it and its contents for the DPI it has there. Its top-left corner stays where it is.
    void FitToCurrentDpi();

protected:
    struct DpiWindowParams {
        const wchar_t* className = nullptr;
        DWORD exStyle = 0;
        DWORD style = 0;
        SIZE designClient{};  // the client area in 96-DPI units
        POINT position{};     // the top-left corner in pixels, unless centred
        bool centred = false; // on the work area of the monitor it is made on
        HWND owner = nullptr;
        const wchar_t* title = L"";
        UINT classStyle = 0;
        HCURSOR cursor = nullptr;
        HICON icon = nullptr; // the title bar's icons; null: the program's
        HICON smallIcon = nullptr;
    };
    // Makes the window, hidden, at its size for the DPI of its monitor. Throws Win32Error when the system refuses
    // it.
    void CreateDpiWindow(const DpiWindowParams& params);

    // Lays the contents out in the client area for Dpi(); called after every change of DPI. The window's own
    // constructor lays them out first, once it has made them.
    virtual void FitContents() {}

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE OuterSize(UINT dpi) const;

    UINT m_dpi = 96;
    SIZE m_designClient{};
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
};

} // namespace qn::win32
