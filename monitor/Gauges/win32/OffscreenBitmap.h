#pragma once
// An off-screen bitmap with its own device context, for composing a picture before it goes on screen.
#include "common/win32/UniqueHandle.h"

#include <windows.h>

#include <memory>

namespace qn::win32 {

class OffscreenBitmap {
public:
    OffscreenBitmap() = default;
    // A bitmap of `width` by `height` compatible with `reference`, uninitialised.
    OffscreenBitmap(HDC reference, int width, int height);
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    // Takes the template's size and fills the whole bitmap with the system's window-frame colour.
    void MakeLike(const OffscreenBitmap& templ);

    // False when the system could not make the bitmap.
    explicit operator bool() const { return static_cast<bool>(m_selected); }
    HDC Dc() const { return m_dc.get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    void Create(HDC reference, int width, int height);

    // Declared so that the bitmap is selected out before it is deleted, and deleted before its context.
    UniqueMemoryDc m_dc;
    UniqueBitmap m_bitmap;
    std::unique_ptr<SelectedObject> m_selected;
    int m_width = 0;
    int m_height = 0;
};

} // namespace qn::win32
