#include "monitor/Gauges/win32/OffscreenBitmap.h"

namespace qn::win32 {

OffscreenBitmap::OffscreenBitmap(HDC reference, int width, int height) {
    Create(reference, width, height);
}

void OffscreenBitmap::Create(HDC reference, int width, int height) {
    m_selected.reset();
    m_bitmap.reset();
    m_dc.reset(::CreateCompatibleDC(reference));
    if (!m_dc) {
        return;
    }
    m_bitmap.reset(::CreateCompatibleBitmap(reference, width, height));
    if (!m_bitmap) {
        return;
    }
    m_selected = std::make_unique<SelectedObject>(m_dc.get(), m_bitmap.get());
    m_width = width;
    m_height = height;
}

void OffscreenBitmap::MakeLike(const OffscreenBitmap& templ) {
    Create(templ.Dc(), templ.Width(), templ.Height());
    if (*this) {
        const RECT whole{0, 0, m_width, m_height};
        // A system colour brush: owned by the system, never deleted.
        ::FillRect(Dc(), &whole, ::GetSysColorBrush(COLOR_WINDOWFRAME));
    }
}

} // namespace qn::win32
