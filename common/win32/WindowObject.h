#pragma once
// A window whose messages go to a C++ object: the object is passed as the creation parameter, kept in the
// window's user data from WM_NCCREATE, given every message through OnMessage, and let go at WM_NCDESTROY.
// No exception leaves the window procedure: one that escapes OnMessage goes to HandleApplicationError.
#include "common/win32/ErrorReport.h"
#include "common/win32/UniqueHandle.h"

#include <windows.h>

namespace qn::win32 {

class WindowObject {
public:
    WindowObject() = default;
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;
    // Lets go of the window before destroying it, so that no message reaches a half-destroyed object.
    virtual ~WindowObject();

    HWND Handle() const { return m_window.get(); }

protected:
    struct CreateParams {
        const wchar_t* className = nullptr;
        DWORD exStyle = 0;
        DWORD style = 0;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        HWND parent = nullptr;
        const wchar_t* title = L"";
        UINT classStyle = 0;
        HCURSOR cursor = nullptr;
    };
    // Registers the class on first use and creates the window. Throws Win32Error when the system refuses
    // either.
    void CreateWindowObject(const CreateParams& params);

    // Every message of the window after WM_NCCREATE; the default is DefWindowProcW.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    UniqueWindow m_window;
};

} // namespace qn::win32
