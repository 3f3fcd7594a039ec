#include "monitor/Gauges/GaugeProperties.h"

#include "common/Texts.h"

#include <limits>
#include <string>

namespace qn {
namespace {

// The bounds are 64-bit, so that "MaxValue - 1" of the lowest MaxValue shows as it is instead of wrapping.
GaugeRangeError RangeError(std::int64_t low, std::int64_t high) {
    std::string text(SharedTexts().gaugeRangeErrorFormat);
    for (const std::int64_t bound : {low, high}) {
        text.replace(text.find("%d"), 2, std::to_string(bound));
    }
    return GaugeRangeError(text);
}

} // namespace

void GaugeProperties::SetMinValue(std::int32_t value) {
    if (value == m_minValue) {
        return;
    }
    if (value > m_maxValue) {
        throw RangeError(-std::numeric_limits<std::int32_t>::max(), std::int64_t{m_maxValue} - 1);
    }
    m_minValue = value;
    if (m_progress < value) {
        m_progress = value;
    }
    m_port.RepaintNow();
}

void GaugeProperties::SetMaxValue(std::int32_t value) {
    if (value == m_maxValue) {
        return;
    }
    if (value < m_minValue) {
        throw RangeError(std::int64_t{m_minValue} + 1, std::numeric_limits<std::int32_t>::max());
    }
    m_maxValue = value;
    if (m_progress > value) {
        m_progress = value;
    }
    m_port.RepaintNow();
}

void GaugeProperties::SetProgress(std::int32_t value) {
    const int before = Percentage();
    if (value < m_minValue) {
        value = m_minValue;
    } else if (value > m_maxValue) {
        value = m_maxValue;
    }
    if (value == m_progress) {
        return;
    }
    m_progress = value;
    if (Percentage() != before) {
        m_port.RepaintNow();
    }
}

GaugeLook GaugeProperties::Look(int width, int height) const {
    if (m_contrastColors) {
        const HighContrastColors& system = *m_contrastColors;
        return GaugeLook{m_kind, m_borderStyle, system.highlight, system.window, system.window, Percentage(),
                         width,  height};
    }
    return GaugeLook{m_kind, m_borderStyle, m_foreColor, m_backColor, m_color, Percentage(), width, height};
}

} // namespace qn
