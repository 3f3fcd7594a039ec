#include "monitor/Gauges/GaugeGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qn {
namespace {

// Nearest integer, halves to even.
int RoundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

std::vector<GaugeShape> BarShapes(const GaugeLook& look, const GaugeRect& r, bool vertical) {
    const int w = r.right - r.left + 1;
    const int h = r.bottom - r.top + 1;
    std::vector<GaugeShape> shapes{FillShape{r, look.backColor}};
    if (!vertical) {
        const int length = std::min(ProportionalLength(look.percent, w), w);
        if (length > 0) {
            // The right and bottom edges are the length and the height themselves, not offsets from the
            // rectangle; the frame clips nothing because the fill never reaches it.
            shapes.push_back(FillShape{{r.left, r.top, length, h}, look.foreColor});
        }
    } else {
        int length = ProportionalLength(look.percent, h);
        if (length >= h) {
            length = h - 1;
        }
        if (length > 0) {
            shapes.push_back(FillShape{{r.left, h - length, w, h}, look.foreColor});
        }
    }
    return shapes;
}

std::vector<GaugeShape> PieShapes(const GaugeLook& look, const GaugeRect& r) {
    const int extra = look.border == GaugeBorder::Single ? 1 : 0;
    const int w = r.right - r.left + extra;
    const int h = r.bottom - r.top + extra;
    const GaugeRect box{r.left, r.top, w, h};
    std::vector<GaugeShape> shapes{FillShape{r, look.color}, EllipseShape{box, look.foreColor, look.backColor}};
    if (look.percent > 0) {
        const int mx = w / 2;
        const int my = h / 2;
        const double angle = (look.percent * 0.02 + 0.5) * std::numbers::pi;
        const GaugePoint from{RoundEven(mx * (1 - std::cos(angle))), RoundEven(my * (1 - std::sin(angle)))};
        shapes.push_back(PieShape{box, from, {mx, 0}, look.foreColor, look.foreColor});
    }
    return shapes;
}

std::vector<GaugeShape> NeedleShapes(const GaugeLook& look, const GaugeRect& r) {
    const int extra = look.border == GaugeBorder::Single ? 1 : 0;
    const int x0 = r.left;
    const int y0 = r.top;
    const int w = r.right - r.left + extra;
    const int h = r.bottom - r.top + extra;
    std::vector<GaugeShape> shapes{
        FillShape{r, look.color},
        PieShape{{x0, y0, w, 2 * h - 1}, {x0 + w, r.bottom - 1}, {x0, r.bottom - 1}, look.foreColor, look.backColor},
        LineShape{{x0, r.bottom}, {x0 + w, r.bottom}, look.foreColor}};
    if (look.percent > 0) {
        const int mx = look.width / 2;
        const double angle = look.percent * 0.01 * std::numbers::pi;
        const GaugePoint tip{RoundEven(mx * (1 - std::cos(angle))), RoundEven((r.bottom - 1) * (1 - std::sin(angle)))};
        shapes.push_back(LineShape{{mx, r.bottom - 1}, tip, look.foreColor});
    }
    return shapes;
}

} // namespace

int GaugePercentage(std::int32_t minValue, std::int32_t maxValue, std::int32_t progress) {
    if (maxValue == minValue) {
        return 0;
    }
    const double done = static_cast<double>(progress) - minValue;
    const double range = static_cast<double>(maxValue) - minValue;
    return static_cast<int>(done * 100.0 / range);
}

int ProportionalLength(int percent, int span) {
    return static_cast<int>(span * (percent * 0.01));
}

GaugeRect DrawingRect(int width, int height, GaugeBorder border) {
    if (border == GaugeBorder::Single) {
        return {1, 1, width - 1, height - 1};
    }
    return {0, 0, width, height};
}

std::vector<GaugeShape> GaugeShapes(const GaugeLook& look) {
    const GaugeRect r = DrawingRect(look.width, look.height, look.border);
    switch (look.kind) {
    case GaugeKind::Text:
        return {FillShape{r, look.backColor}};
    case GaugeKind::HorizontalBar:
        return BarShapes(look, r, false);
    case GaugeKind::VerticalBar:
        return BarShapes(look, r, true);
    case GaugeKind::Pie:
        return PieShapes(look, r);
    case GaugeKind::Needle:
        return NeedleShapes(look, r);
    }
    return {};
}

std::string PercentText(int percent) {
    return std::to_string(percent) + "%";
}

GaugePoint TextOrigin(const GaugeRect& drawing, int textWidth, int textHeight) {
    return {(drawing.right - drawing.left + 1 - textWidth) / 2, (drawing.bottom - drawing.top + 1 - textHeight) / 2};
}

} // namespace qn
