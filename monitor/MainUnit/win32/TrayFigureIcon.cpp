#include "monitor/MainUnit/win32/TrayFigureIcon.h"

#include "common/win32/Utf.h"

#include <algorithm>
#include <cstdint>

namespace qn::win32 {
namespace {

// A face every Windows has, bold: the digits stay legible down to 16 pixels.
constexpr const wchar_t* kFace = L"Tahoma";

UniqueFont DigitFont(int height, int width) {
    return UniqueFont(::CreateFontW(-height, width, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                                    kFace));
}

SIZE TextSize(HDC dc, const std::wstring& text) {
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

void Fill(HDC dc, const RECT& area, RgbColor color) {
    const UniqueBrush brush(::CreateSolidBrush(color));
    ::FillRect(dc, &area, brush.get());
}

} // namespace

UniqueIcon DrawTrayFigure(const TrayFigure& figure, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const UniqueBitmap color(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
    const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!color || !mask || !dc || !bits) {
        return UniqueIcon();
    }
    {
        const SelectedObject selected(dc.get(), color.get());
        // Three digits (100) take the whole icon: a border would leave too little room for them at 16 pixels.
        const std::wstring digits = Widen(figure.digits);
        const int border = digits.size() > 2 ? 0 : std::max(1, size / 16);
        Fill(dc.get(), RECT{0, 0, size, size}, figure.border);
        const RECT inner{border, border, size - border, size - border};
        Fill(dc.get(), inner, figure.background);

        // As high as the inside allows; narrowed where the digits would not fit across it.
        const int room = size - 2 * border;
        UniqueFont font = DigitFont(room, 0);
        int narrowedWidth = 0;
        {
            const SelectedObject measuring(dc.get(), font.get());
            const SIZE natural = TextSize(dc.get(), digits);
            if (natural.cx > room) {
                TEXTMETRICW metrics{};
                ::GetTextMetricsW(dc.get(), &metrics);
                narrowedWidth = std::max(1, static_cast<int>(metrics.tmAveCharWidth * room / natural.cx));
            }
        }
        // Replaced only once the measuring font is selected out again: GDI does not delete a font that a DC still
        // holds, and the handle would leak.
        if (narrowedWidth > 0) {
            font = DigitFont(room, narrowedWidth);
        }
        const SelectedObject selectedFont(dc.get(), font.get());
        ::SetBkMode(dc.get(), TRANSPARENT);
        ::SetTextColor(dc.get(), figure.ink);
        RECT text = inner;
        ::DrawTextW(dc.get(), digits.c_str(), static_cast<int>(digits.size()), &text,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    // GDI leaves the alpha bytes at zero: every pixel of the figure is opaque.
    ::GdiFlush();
    auto* pixel = static_cast<std::uint32_t*>(bits);
    std::for_each(pixel, pixel + static_cast<std::ptrdiff_t>(size) * size, [](std::uint32_t& p) { p |= 0xFF000000u; });
    {
        // The mask: all zero, every pixel of the colour image shows.
        const SelectedObject selected(dc.get(), mask.get());
        ::PatBlt(dc.get(), 0, 0, size, size, BLACKNESS);
    }
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmMask = mask.get();
    icon.hbmColor = color.get();
    // The icon keeps copies of both bitmaps; ours go at the end of the scope.
    return UniqueIcon(::CreateIconIndirect(&icon));
}

} // namespace qn::win32
