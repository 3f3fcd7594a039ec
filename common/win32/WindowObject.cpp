#include "common/win32/WindowObject.h"

#include "common/win32/Win32Error.h"

#include <exception>

namespace qn::win32 {

WindowObject::~WindowObject() {
    if (HWND window = m_window.get()) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
}

void WindowObject::CreateWindowObject(const CreateParams& params) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExW(instance, params.className, &existing)) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = params.classStyle;
        windowClass.lpfnWndProc = &WindowObject::Procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = params.cursor;
        windowClass.lpszClassName = params.className;
        ThrowLastErrorIf(!::RegisterClassExW(&windowClass), params.className);
    }
    HWND window = ::CreateWindowExW(params.exStyle, params.className, params.title, params.style, params.x, params.y,
                                    params.width, params.height, params.parent, nullptr, instance, this);
    ThrowLastErrorIf(!window, params.className);
    // m_window took the handle at WM_NCCREATE.
}

LRESULT WindowObject::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK WindowObject::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* object = static_cast<WindowObject*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        // The handle is known from here on, before CreateWindowExW returns it.
        object->m_window.reset(window);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
    auto* object = reinterpret_cast<WindowObject*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (object) {
            // Destroyed from outside (its parent went first): nothing is left to destroy later.
            object->m_window.release();
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (!object) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return object->OnMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        HandleApplicationError(error.what());
    } catch (...) {
        HandleApplicationError("unknown error");
    }
    return 0;
}

} // namespace qn::win32
