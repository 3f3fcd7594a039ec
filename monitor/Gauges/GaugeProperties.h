#pragma once
// The gauge's properties and their setter rules, apart from any window: each setter compares first, keeps
// Progress within MinValue to MaxValue, and asks for an immediate repaint only when the picture changes.
#include "monitor/Gauges/GaugeGeometry.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace qn {

// A range bound that would cross the other one; the message says which range is allowed. EInvalidOperation
class GaugeRangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The font of the percentage: a face name and a character height in pixels. An empty name is the system's
// default interface font.
struct GaugeFont {
    std::string name;
    int height = 12;
    bool operator==(const GaugeFont&) const = default;
};

// What the properties need of the control that shows them.
class GaugeRepaintPort {
public:
    virtual ~GaugeRepaintPort() = default;
    // Paints the gauge into its window now, before the setter returns.
    virtual void RepaintNow() = 0;
};

class GaugeProperties {
public:
    explicit GaugeProperties(GaugeRepaintPort& port) : m_port(port) {}
    GaugeProperties(const GaugeProperties&) = delete;
    GaugeProperties& operator=(const GaugeProperties&) = delete;
    virtual ~GaugeProperties() = default;

    GaugeKind Kind() const { return m_kind; }
    void SetKind(GaugeKind value) { Change(m_kind, value); }
    bool ShowText() const { return m_showText; }
    void SetShowText(bool value) { Change(m_showText, value); }
    GaugeBorder BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(GaugeBorder value) { Change(m_borderStyle, value); }
    RgbColor ForeColor() const { return m_foreColor; }
    void SetForeColor(RgbColor value) { Change(m_foreColor, value); }
    RgbColor BackColor() const { return m_backColor; }
    void SetBackColor(RgbColor value) { Change(m_backColor, value); }
    // The colour around the pie and the needle.
    RgbColor Color() const { return m_color; }
    void SetColor(RgbColor value) { Change(m_color, value); }
    const GaugeFont& Font() const { return m_font; }
    void SetFont(const GaugeFont& value) { Change(m_font, value); }
    // While set, the system's colours replace the gauge's own: the filled part in the highlight, the rest in the
    // window's colour, the frame in the window's text colour, and the figure in the text colour of each part.
    const std::optional<HighContrastColors>& ContrastColors() const { return m_contrastColors; }
    void SetContrastColors(const std::optional<HighContrastColors>& value) { Change(m_contrastColors, value); }

    std::int32_t MinValue() const { return m_minValue; }
    // Throws GaugeRangeError, changing nothing, when the value is above MaxValue.
    void SetMinValue(std::int32_t value);
    std::int32_t MaxValue() const { return m_maxValue; }
    // Throws GaugeRangeError, changing nothing, when the value is below MinValue.
    void SetMaxValue(std::int32_t value);
    std::int32_t Progress() const { return m_progress; }
    // Clamped into the range; repaints only when the percentage changes.
    void SetProgress(std::int32_t value);
    int Percentage() const { return GaugePercentage(m_minValue, m_maxValue, m_progress); }

    // The look for a picture of `width` by `height` pixels, in the system's colours while they are set.
    GaugeLook Look(int width, int height) const;

private:
    template <typename T>
    void Change(T& field, const T& value) {
        if (field == value) {
            return;
        }
        field = value;
        m_port.RepaintNow();
    }

    GaugeRepaintPort& m_port;
    GaugeKind m_kind = GaugeKind::HorizontalBar;
    bool m_showText = true;
    GaugeBorder m_borderStyle = GaugeBorder::Single;
    RgbColor m_foreColor = color::kBlack;
    RgbColor m_backColor = color::kWhite;
    RgbColor m_color = color::kButtonFace;
    GaugeFont m_font;
    std::optional<HighContrastColors> m_contrastColors;
    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 100;
    std::int32_t m_progress = 0;
};

} // namespace qn
