#include "monitor/Gauges/win32/Gauge.h"

#include "common/win32/Utf.h"

#include <commctrl.h>

#include <type_traits>

namespace qn::win32 {
namespace {

constexpr const wchar_t* kGaugeClass = L"TGauge";
// The portable colours are COLORREF values.
static_assert(Rgb(0x12, 0x34, 0x56) == RGB(0x12, 0x34, 0x56));

// BeginPaint and EndPaint as a pair, so that a failing paint still validates the window.
class PaintScope {
public:
    explicit PaintScope(HWND window) : m_window(window), m_dc(::BeginPaint(window, &m_paint)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(m_window, &m_paint); }
    HDC Dc() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

RECT ToRect(const GaugeRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// The shapes use the stock DC pen and brush with their colours set, so that drawing makes no GDI object.
void DrawShape(HDC dc, const GaugeShape& shape) {
    const SelectedObject pen(dc, ::GetStockObject(DC_PEN));
    const SelectedObject brush(dc, ::GetStockObject(DC_BRUSH));
    std::visit(
        [dc](const auto& s) {
            using Shape = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<Shape, FillShape>) {
                const RECT rect = ToRect(s.rect);
                ::SetDCBrushColor(dc, s.color);
                ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
            } else if constexpr (std::is_same_v<Shape, EllipseShape>) {
                ::SetDCPenColor(dc, s.pen);
                ::SetDCBrushColor(dc, s.brush);
                ::Ellipse(dc, s.box.left, s.box.top, s.box.right, s.box.bottom);
            } else if constexpr (std::is_same_v<Shape, PieShape>) {
                ::SetDCPenColor(dc, s.pen);
                ::SetDCBrushColor(dc, s.brush);
                ::Pie(dc, s.box.left, s.box.top, s.box.right, s.box.bottom, s.from.x, s.from.y, s.to.x, s.to.y);
            } else {
                ::SetDCPenColor(dc, s.pen);
                ::MoveToEx(dc, s.from.x, s.from.y, nullptr);
                ::LineTo(dc, s.to.x, s.to.y);
            }
        },
        shape);
}

// The tool tip shows a line break for "\r\n".
std::wstring ToolTipText(const std::string& text) {
    std::wstring result;
    for (const wchar_t c : Widen(text)) {
        if (c == L'\n' && (result.empty() || result.back() != L'\r')) {
            result += L'\r';
        }
        result += c;
    }
    return result;
}

TTTOOLINFOW ToolInfo(HWND gauge, wchar_t* text) {
    TTTOOLINFOW info{};
    // The version-2 size, which every common-controls version accepts.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = gauge;
    info.uId = reinterpret_cast<UINT_PTR>(gauge);
    info.lpszText = text;
    return info;
}

// The raster operation "destination and not source" (DSna): clears the destination where the source is white.
constexpr DWORD kClearUnderMask = 0x00220326;

void FillWith(HDC dc, int width, int height, RgbColor color) {
    const RECT all{0, 0, width, height};
    ::SetDCBrushColor(dc, color);
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

// Paints `color` into `image` wherever `mask` is white, leaving the rest of the image as it is.
bool PaintThroughMask(const OffscreenBitmap& image, const OffscreenBitmap& mask, RgbColor color) {
    OffscreenBitmap paint;
    paint.MakeLike(image);
    if (!paint) {
        return false;
    }
    const int width = image.Width();
    const int height = image.Height();
    FillWith(paint.Dc(), width, height, color);
    ::BitBlt(paint.Dc(), 0, 0, width, height, mask.Dc(), 0, 0, SRCAND);
    ::BitBlt(image.Dc(), 0, 0, width, height, mask.Dc(), 0, 0, kClearUnderMask);
    ::BitBlt(image.Dc(), 0, 0, width, height, paint.Dc(), 0, 0, SRCPAINT);
    return true;
}

} // namespace

std::optional<HighContrastColors> SystemHighContrastColors() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    if (!::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) ||
        (contrast.dwFlags & HCF_HIGHCONTRASTON) == 0) {
        return std::nullopt;
    }
    return HighContrastColors{::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT),
                              ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT),
                              ::GetSysColor(COLOR_HOTLIGHT)};
}

TGauge::TGauge(HWND parent, const RECT& bounds) : GaugeProperties(static_cast<GaugeRepaintPort&>(*this)) {
    CreateParams params;
    params.className = kGaugeClass;
    params.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    params.classStyle = CS_HREDRAW | CS_VREDRAW;
    params.cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    params.x = bounds.left;
    params.y = bounds.top;
    params.width = bounds.right - bounds.left;
    params.height = bounds.bottom - bounds.top;
    params.parent = parent;
    CreateWindowObject(params);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_toolTip.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr));
    if (m_toolTip) {
        TTTOOLINFOW info = ToolInfo(Handle(), m_hintWide.data());
        ::SendMessageW(m_toolTip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        // With a maximum width the tip breaks its text into lines at the line breaks.
        ::SendMessageW(m_toolTip.get(), TTM_SETMAXTIPWIDTH, 0, 4096);
        ::SendMessageW(m_toolTip.get(), TTM_ACTIVATE, FALSE, 0);
    }
}

TGauge::~TGauge() {
    // The tool tip is owned by the gauge's window; it goes first, while the window still exists.
    m_toolTip.reset();
}

void TGauge::SetBounds(const RECT& bounds) {
    ::MoveWindow(Handle(), bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

void TGauge::SetHint(const std::string& text) {
    if (text == m_hint) {
        return;
    }
    m_hint = text;
    UpdateToolText();
}

void TGauge::SetShowHint(bool value) {
    if (value == m_showHint) {
        return;
    }
    m_showHint = value;
    if (m_toolTip) {
        ::SendMessageW(m_toolTip.get(), TTM_ACTIVATE, value ? TRUE : FALSE, 0);
    }
}

void TGauge::UpdateToolText() {
    m_hintWide = ToolTipText(m_hint);
    if (m_toolTip) {
        // Redraws a tip that is showing, resized to the new text.
        TTTOOLINFOW info = ToolInfo(Handle(), m_hintWide.data());
        ::SendMessageW(m_toolTip.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        ::SendMessageW(m_toolTip.get(), TTM_UPDATE, 0, 0);
    }
}

HFONT TGauge::TextFont() {
    if (!m_font || m_fontMadeFor != Font()) {
        LOGFONTW font{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        if (!Font().name.empty()) {
            const std::wstring name = Widen(Font().name);
            font.lfHeight = -Font().height;
            font.lfWidth = 0;
            const std::size_t copied = name.copy(font.lfFaceName, LF_FACESIZE - 1);
            font.lfFaceName[copied] = L'\0';
        }
        // The text is combined by exclusive or, which only gives the inverse colours for whole pixels.
        font.lfQuality = NONANTIALIASED_QUALITY;
        m_font.reset(::CreateFontIndirectW(&font));
        m_fontMadeFor = Font();
    }
    return m_font.get();
}

void TGauge::Paint(HDC target) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) {
        return;
    }
    const OffscreenBitmap image(target, width, height);
    if (!image) {
        return;
    }
    const GaugeLook look = Look(width, height);
    if (ContrastColors()) {
        PaintInContrast(image, look, *ContrastColors());
        ::BitBlt(target, 0, 0, width, height, image.Dc(), 0, 0, SRCCOPY);
        return;
    }
    ::PatBlt(image.Dc(), 0, 0, width, height, BLACKNESS);
    {
        OffscreenBitmap overlay;
        overlay.MakeLike(image);
        if (!overlay) {
            return;
        }
        ::PatBlt(overlay.Dc(), 0, 0, width, height, BLACKNESS);
        for (const GaugeShape& shape : GaugeShapes(look)) {
            DrawShape(overlay.Dc(), shape);
        }
        ::BitBlt(image.Dc(), 0, 0, width, height, overlay.Dc(), 0, 0, SRCINVERT);
    }

    if (ShowText()) {
        OffscreenBitmap text;
        text.MakeLike(image);
        if (!text) {
            return;
        }
        DrawTextMask(text, look);
        ::BitBlt(image.Dc(), 0, 0, width, height, text.Dc(), 0, 0, SRCINVERT);
    }

    ::BitBlt(target, 0, 0, width, height, image.Dc(), 0, 0, SRCCOPY);
}

void TGauge::DrawTextMask(const OffscreenBitmap& mask, const GaugeLook& look) {
    ::PatBlt(mask.Dc(), 0, 0, mask.Width(), mask.Height(), BLACKNESS);
    const SelectedObject font(mask.Dc(), TextFont());
    ::SetBkMode(mask.Dc(), TRANSPARENT);
    ::SetTextColor(mask.Dc(), RGB(255, 255, 255));
    const std::wstring percent = Widen(PercentText(look.percent));
    const int length = static_cast<int>(percent.size());
    SIZE extent{};
    ::GetTextExtentPoint32W(mask.Dc(), percent.c_str(), length, &extent);
    const GaugeRect drawing = DrawingRect(mask.Width(), mask.Height(), look.border);
    const GaugePoint at = TextOrigin(drawing, extent.cx, extent.cy);
    const RECT clip = ToRect(drawing);
    ::ExtTextOutW(mask.Dc(), at.x, at.y, ETO_CLIPPED, &clip, percent.c_str(), static_cast<UINT>(length), nullptr);
}

void TGauge::PaintInContrast(const OffscreenBitmap& image, const GaugeLook& look, const HighContrastColors& system) {
    const int width = image.Width();
    const int height = image.Height();
    // The frame is what the shapes leave of the window's text colour.
    FillWith(image.Dc(), width, height, system.windowText);
    for (const GaugeShape& shape : GaugeShapes(look)) {
        DrawShape(image.Dc(), shape);
    }
    if (!ShowText()) {
        return;
    }
    // Where the filled part lies: the same shapes, the fill white and everything else black.
    GaugeLook parts = look;
    parts.foreColor = color::kWhite;
    parts.backColor = color::kBlack;
    parts.color = color::kBlack;
    OffscreenBitmap filled;
    filled.MakeLike(image);
    OffscreenBitmap onFill;
    onFill.MakeLike(image);
    OffscreenBitmap onRest;
    onRest.MakeLike(image);
    if (!filled || !onFill || !onRest) {
        return;
    }
    ::PatBlt(filled.Dc(), 0, 0, width, height, BLACKNESS);
    for (const GaugeShape& shape : GaugeShapes(parts)) {
        DrawShape(filled.Dc(), shape);
    }
    DrawTextMask(onFill, look);
    ::BitBlt(onRest.Dc(), 0, 0, width, height, onFill.Dc(), 0, 0, SRCCOPY);
    ::BitBlt(onFill.Dc(), 0, 0, width, height, filled.Dc(), 0, 0, SRCAND);
    ::BitBlt(onRest.Dc(), 0, 0, width, height, filled.Dc(), 0, 0, kClearUnderMask);
    if (PaintThroughMask(image, onFill, system.highlightText)) {
        PaintThroughMask(image, onRest, system.windowText);
    }
}

void TGauge::RepaintNow() {
    if (Handle()) {
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

LRESULT TGauge::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        // Every pixel comes from the one copy in Paint; erasing first would only flicker.
        return 1;
    case WM_PAINT: {
        const PaintScope paint(Handle());
        Paint(paint.Dc());
        return 0;
    }
    default:
        return WindowObject::OnMessage(message, wParam, lParam);
    }
}

} // namespace qn::win32
