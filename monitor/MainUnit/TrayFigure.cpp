#include "monitor/MainUnit/TrayFigure.h"

namespace qn {
namespace {

// The program icon's chip; its gauge's lime and red are the gauge's own.
constexpr RgbColor kNavy = Rgb(0, 0, 128);
// The chip's navy, paled: a light taskbar's figure stands out from the taskbar by it.
constexpr RgbColor kPaleNavy = Rgb(214, 224, 255);
using color::kLime;
using color::kRed;
using color::kWhite;

} // namespace

TrayFigure TrayFigureOf(int percent, TaskbarTheme theme, bool low) {
    // On a dark taskbar the navy chip with the lime gauge's border; on a light one the chip's colours turned
    // round, pale with navy digits. Low memory turns the chip red on either.
    const bool dark = theme == TaskbarTheme::Dark;
    TrayFigure figure;
    figure.digits = std::to_string(percent);
    if (low) {
        figure.background = kRed;
        figure.border = dark ? kWhite : kRed;
        figure.ink = kWhite;
    } else if (dark) {
        figure.background = kNavy;
        figure.border = kLime;
        figure.ink = kWhite;
    } else {
        figure.background = kPaleNavy;
        figure.border = kNavy;
        figure.ink = kNavy;
    }
    return figure;
}

TrayFigure TrayFigureInContrast(int percent, const HighContrastColors& system, bool low) {
    // The hot-link colour is made to read on the window's colour, as the digits must.
    const RgbColor ink = low ? system.hotlight : system.windowText;
    return TrayFigure{std::to_string(percent), system.window, ink, ink};
}

} // namespace qn
