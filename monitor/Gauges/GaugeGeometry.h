#pragma once
// What a gauge draws, as values: the percentage, the drawing rectangle, each kind's shapes and where the
// percentage text goes. The Win32 side only carries these out on a bitmap.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace qn {

// TGaugeKind: gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle
enum class GaugeKind { Text, HorizontalBar, VerticalBar, Pie, Needle };
enum class GaugeBorder { None, Single }; // TBorderStyle: bsNone, bsSingle

// A colour as the system stores it: 0x00BBGGRR. TColor
using RgbColor = std::uint32_t;
constexpr RgbColor Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<RgbColor>(red) | static_cast<RgbColor>(green) << 8 | static_cast<RgbColor>(blue) << 16;
}
namespace color {
inline constexpr RgbColor kBlack = Rgb(0, 0, 0);            // clBlack
inline constexpr RgbColor kWhite = Rgb(255, 255, 255);      // clWhite
inline constexpr RgbColor kLime = Rgb(0, 255, 0);           // clLime
inline constexpr RgbColor kRed = Rgb(255, 0, 0);            // clRed
inline constexpr RgbColor kButtonFace = Rgb(240, 240, 240); // clBtnFace
} // namespace color

// The user's system colours while high contrast is on (COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
// COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT): they replace the product's own colours.
struct HighContrastColors {
    RgbColor window = 0;
    RgbColor windowText = 0;
    RgbColor highlight = 0;
    RgbColor highlightText = 0;
    RgbColor hotlight = 0;
    bool operator==(const HighContrastColors&) const = default;
};

// Rectangles include their left and top edges and exclude their right and bottom edges.
struct GaugeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const GaugeRect&) const = default;
};
struct GaugePoint {
    int x = 0;
    int y = 0;
    bool operator==(const GaugePoint&) const = default;
};

// The shapes, drawn in order with a solid pen one pixel wide.
struct FillShape {
    GaugeRect rect;
    RgbColor color;
    bool operator==(const FillShape&) const = default;
};
struct EllipseShape {
    GaugeRect box;
    RgbColor pen;
    RgbColor brush;
    bool operator==(const EllipseShape&) const = default;
};
// The part of the ellipse in `box` from the radial through `from` counter-clockwise to the radial through `to`.
struct PieShape {
    GaugeRect box;
    GaugePoint from;
    GaugePoint to;
    RgbColor pen;
    RgbColor brush;
    bool operator==(const PieShape&) const = default;
};
struct LineShape {
    GaugePoint from;
    GaugePoint to;
    RgbColor pen;
    bool operator==(const LineShape&) const = default;
};
using GaugeShape = std::variant<FillShape, EllipseShape, PieShape, LineShape>;

// Everything a picture of the gauge depends on, apart from the font.
struct GaugeLook {
    GaugeKind kind = GaugeKind::HorizontalBar;
    GaugeBorder border = GaugeBorder::Single;
    RgbColor foreColor = color::kBlack;
    RgbColor backColor = color::kWhite;
    RgbColor color = color::kButtonFace; // around the pie and the needle
    int percent = 0;
    int width = 0;
    int height = 0;
};

// (progress - min) * 100 / (max - min) in floating point, truncated; 0 for an empty range. Floating point,
// because an integer product overflows for large ranges (30 GiB in kilobytes times 100).
int GaugePercentage(std::int32_t minValue, std::int32_t maxValue, std::int32_t progress);

// The length a percentage gives on a span of `span` pixels, truncated.
int ProportionalLength(int percent, int span);

// The client rectangle, shrunk by the one-pixel frame of a single border.
GaugeRect DrawingRect(int width, int height, GaugeBorder border);

// The shapes of the kind, drawn on black within the drawing rectangle.
std::vector<GaugeShape> GaugeShapes(const GaugeLook& look);

// The percentage as it is written: "50%".
std::string PercentText(int percent);

// Where a text of that size starts: centred on the drawing rectangle's extent, in the bitmap's own
// coordinates (the rectangle's offset is not added; the text is clipped to the rectangle).
GaugePoint TextOrigin(const GaugeRect& drawing, int textWidth, int textHeight);

} // namespace qn
