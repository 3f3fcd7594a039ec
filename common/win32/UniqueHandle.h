#pragma once
#include <windows.h>

#include <utility>

namespace qn::win32 {

// Sole owner of one system resource, released by `Close` unless it holds `Invalid`. Movable, never copied.
template <typename T, auto Close, T Invalid = T{}>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : m_value(value) {}
    UniqueResource(UniqueResource&& other) noexcept : m_value(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    T get() const { return m_value; }
    explicit operator bool() const { return m_value != Invalid; }
    T release() { return std::exchange(m_value, Invalid); }
    void reset(T value = Invalid) {
        const T old = std::exchange(m_value, value);
        if (old != Invalid) {
            Close(old);
        }
    }
    // For functions that return a resource through a pointer: releases the current one first.
    T* put() {
        reset();
        return &m_value;
    }

private:
    T m_value = Invalid;
};

namespace detail {
inline void CloseKernelHandle(HANDLE h) {
    ::CloseHandle(h);
}
inline void CloseRegKey(HKEY h) {
    ::RegCloseKey(h);
}
// One for each type of GDI object, so that each owner hands out its own handle type without a cast.
template <typename T>
void DeleteGdiObject(T h) {
    ::DeleteObject(h);
}
inline void DeleteMemoryDc(HDC h) {
    ::DeleteDC(h);
}
inline void DestroyWindowHandle(HWND h) {
    ::DestroyWindow(h);
}
inline void DestroyIconHandle(HICON h) {
    ::DestroyIcon(h);
}
inline void FreeLibraryModule(HMODULE h) {
    ::FreeLibrary(h);
}
inline void DestroyMenuHandle(HMENU h) {
    ::DestroyMenu(h);
}
inline void ReleaseRange(void* range) {
    ::VirtualFree(range, 0, MEM_RELEASE);
}
} // namespace detail

using UniqueHandle = UniqueResource<HANDLE, detail::CloseKernelHandle>;
using UniqueRegKey = UniqueResource<HKEY, detail::CloseRegKey>;
using UniqueFont = UniqueResource<HFONT, detail::DeleteGdiObject<HFONT>>;
using UniqueBrush = UniqueResource<HBRUSH, detail::DeleteGdiObject<HBRUSH>>;
using UniqueBitmap = UniqueResource<HBITMAP, detail::DeleteGdiObject<HBITMAP>>;
using UniqueMemoryDc = UniqueResource<HDC, detail::DeleteMemoryDc>;
using UniqueWindow = UniqueResource<HWND, detail::DestroyWindowHandle>;
using UniqueIcon = UniqueResource<HICON, detail::DestroyIconHandle>;
using UniqueMenu = UniqueResource<HMENU, detail::DestroyMenuHandle>;
using UniqueModule = UniqueResource<HMODULE, detail::FreeLibraryModule>;
// Address space obtained with VirtualAlloc, released whole.
using ReservedRange = UniqueResource<void*, detail::ReleaseRange>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (m_dc) {
            ::ReleaseDC(m_window, m_dc);
        }
    }
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a device context for one scope and puts the previous one back, so that the object can
// be deleted afterwards.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (m_old && m_old != HGDI_ERROR) {
            ::SelectObject(m_dc, m_old);
        }
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

} // namespace qn::win32
