#pragma once
// The gauge's properties and their setter rules, apart from any window: each setter compares first, keeps
// Progress within MinValue to MaxValue, and asks for an immediate repaint only when the picture changes.
#include "monitor/Gauges/GaugeGeometry.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qn {

// An operation that the object's state does not allow; the message says why.
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kGaugeRangeErrorFormat = "%d から %d の間の値でなければなりません";

// The font of the percentage: a face name and a character height in pixels. An empty name is the system's
// default interface font.
struct TFontSpec {
    std::string Name;
    int Height = 12;
    bool operator==(const TFontSpec&) const = default;
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

    TGaugeKind Kind() const { return m_kind; }
    void SetKind(TGaugeKind value) { Change(m_kind, value); }
    bool ShowText() const { return m_showText; }
    void SetShowText(bool value) { Change(m_showText, value); }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value) { Change(m_borderStyle, value); }
    TColor ForeColor() const { return m_foreColor; }
    void SetForeColor(TColor value) { Change(m_foreColor, value); }
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor value) { Change(m_backColor, value); }
    // The colour around the pie and the needle.
    TColor Color() const { return m_color; }
    void SetColor(TColor value) { Change(m_color, value); }
    const TFontSpec& Font() const { return m_font; }
    void SetFont(const TFontSpec& value) { Change(m_font, value); }

    std::int32_t MinValue() const { return m_minValue; }
    // Throws EInvalidOperation, changing nothing, when the value is above MaxValue.
    void SetMinValue(std::int32_t value);
    std::int32_t MaxValue() const { return m_maxValue; }
    // Throws EInvalidOperation, changing nothing, when the value is below MinValue.
    void SetMaxValue(std::int32_t value);
    std::int32_t Progress() const { return m_progress; }
    // Clamped into the range; repaints only when the percentage changes.
    void SetProgress(std::int32_t value);
    int Percentage() const { return GaugePercentage(m_minValue, m_maxValue, m_progress); }

    // The look for a picture of `width` by `height` pixels.
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
    TGaugeKind m_kind = TGaugeKind::gkHorizontalBar;
    bool m_showText = true;
    TBorderStyle m_borderStyle = TBorderStyle::bsSingle;
    TColor m_foreColor = clBlack;
    TColor m_backColor = clWhite;
    TColor m_color = clBtnFace;
    TFontSpec m_font;
    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 100;
    std::int32_t m_progress = 0;
};

} // namespace qn
