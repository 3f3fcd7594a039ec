#include "monitor/MainUnit/MonitorTexts.h"

#include "common/PathUtil.h"
#include "common/Texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qn {
namespace {

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// The first line of the tool tip while a run is scheduled or waits.
std::string FreeMemoryLine(double freeMB, const NumberSeparators& separators) {
    return FormatNumberPattern(" #,##0.00MBの空き", freeMB, separators);
}

} // namespace

std::string AboutText() {
    return std::string(kTitlePlain) + "\r\n\r\n" + std::string(kCopyright);
}

std::string MeterTitle(double freeMB, const NumberSeparators& separators) {
    return std::string(kMeterCaption) + FormatNumberPattern("  #,##0.00MBの空き", freeMB, separators);
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
    return FormatNumberPattern("空きメモリ：#,##0.00MB", freeMB, separators);
}

std::string HintWithSchedule(double freeMB, DateTime remaining, const NumberSeparators& separators) {
    const Countdown left = CountdownOf(remaining);
    const std::string hours = left.hours > 0 ? std::to_string(left.hours) + "時間 " : "";
    return FreeMemoryLine(freeMB, separators) + "\r\n次回確保まで " + hours + TwoDigits(left.minutes) + "分 " +
           TwoDigits(left.seconds) + "秒";
}

std::string HintWhileWaiting(double freeMB, const NumberSeparators& separators) {
    return FreeMemoryLine(freeMB, separators) + "\r\n全画面表示の終了を待っています";
}

std::int32_t GaugeMaximum(std::uint64_t totalPhysBytes) {
    const std::uint64_t kilobytes = (WholeMegabytes(totalPhysBytes) + 1) * 1024;
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(kilobytes > kMax ? kMax : kilobytes);
}

Launch ReservationLaunch(std::string_view monitorPath) {
    const std::string directory = DirectoryWithoutSeparator(monitorPath);
    return Launch{"\"" + directory + "\\Qelto.exe\"", " /E:\"" + directory + "\\Mossik.EXE\" /NoMsg", directory + "\\"};
}

Launch SettingsLaunch(std::string_view monitorPath) {
    const std::string directory = DirectoryWithoutSeparator(monitorPath);
    return Launch{"\"" + directory + "\\Dunfel.exe\"", "", directory + "\\"};
}

} // namespace qn
