#include "monitor/MainUnit/MonitorTexts.h"

#include "common/Language.h"
#include "common/Texts.h"
#include "monitor/Gauges/GaugeGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qn {
namespace {

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// The first line of the tool tip while a run is scheduled or waits.
std::string FreeMemoryLine(double freeMB, const NumberSeparators& separators) {
    return FormatNumberPattern(MonitorTexts().hintFreeLine, freeMB, separators);
}

} // namespace

const MonitorTextSet& MonitorTexts() {
    return InTextLanguage(kMonitorJapanese, kMonitorEnglish);
}

std::string AboutText() {
    return std::string(kTitlePlain) + "\r\n\r\n" + std::string(kCopyright);
}

std::string MeterTitle(double freeMB, const NumberSeparators& separators) {
    return std::string(kMeterCaption) + FormatNumberPattern(MonitorTexts().titleFree, freeMB, separators);
}

std::string MeterReading(double freeMB, int percent, const NumberSeparators& separators) {
    std::string free = FormatNumberPattern(MonitorTexts().titleFree, freeMB, separators);
    free.erase(0, free.find_first_not_of(' '));
    return free + " (" + PercentText(percent) + ")";
}

Countdown CountdownOf(DateTime remaining) {
    // NaN compares false, so it counts as past too.
    const double days = remaining > 0.0 ? std::min(remaining, 1.0) : 0.0;
    const auto ms = static_cast<std::int64_t>(std::round(days * kMillisecondsPerDay));
    return Countdown{static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                     static_cast<int>(ms / 1000 % 60)};
}

std::string CountdownSuffix(DateTime remaining) {
    const Countdown left = CountdownOf(remaining);
    const std::string hours = left.hours > 0 ? std::to_string(left.hours) + ":" : "";
    return "  " + hours + TwoDigits(left.minutes) + ":" + TwoDigits(left.seconds);
}

std::string HintWithoutSchedule(double freeMB, const NumberSeparators& separators) {
    return FormatNumberPattern(MonitorTexts().hintFree, freeMB, separators);
}

std::string HintWithSchedule(double freeMB, DateTime remaining, const NumberSeparators& separators) {
    const MonitorTextSet& texts = MonitorTexts();
    const Countdown left = CountdownOf(remaining);
    const std::string hours = left.hours > 0 ? std::to_string(left.hours) + std::string(texts.hours) : "";
    return FreeMemoryLine(freeMB, separators) + std::string(texts.nextRunIn) + hours + TwoDigits(left.minutes) +
           std::string(texts.minutes) + TwoDigits(left.seconds) + std::string(texts.seconds);
}

std::string HintWhileWaiting(double freeMB, const NumberSeparators& separators) {
    return FreeMemoryLine(freeMB, separators) + std::string(MonitorTexts().waiting);
}

} // namespace qn
