#pragma once
// The free memory's percentage in the notification-area icon, where the settings ask for it: the figure the gauge
// shows, in colours that read on the taskbar of either theme and still look like the program's icon (its navy chip
// and lime gauge). The Win32 side draws it at the size the shell asks for.
#include "monitor/Gauges/GaugeGeometry.h"

#include <string>

namespace qn {

// The taskbar's theme, as Windows keeps it (SystemUsesLightTheme).
enum class TaskbarTheme { Dark, Light };

struct TrayFigure {
    std::string digits; // the percentage, without "%"
    RgbColor background = 0;
    RgbColor border = 0;
    RgbColor ink = 0;
    bool operator==(const TrayFigure&) const = default;
};

// The figure of `percent` (0 to 100) on a taskbar of `theme`. `low`: free memory is at or below the threshold of
// a low-memory switch that is on; the figure then takes the warning colour.
TrayFigure TrayFigureOf(int percent, TaskbarTheme theme, bool low);
// The figure in the user's high contrast colours, whatever the taskbar's theme; low memory shows in the system's
// colour of hot links in place of the red.
TrayFigure TrayFigureInContrast(int percent, const HighContrastColors& system, bool low);

} // namespace qn
