#pragma once
#include "common/DateTime.h"
#include "common/MemoryUnits.h"
#include "common/NumberFormat.h"
#include "common/Texts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qn {

// The meter window's caption, which its title and the tray icon's tool tip open with, in every language.
inline constexpr std::string_view kMeterCaption = "Nimbi";

// Every text of the monitor that a user sees, besides the shared ones (common/Texts.h) and the menu's captions
// (MenuCommands.h).
struct MonitorTextSet {
    std::string_view missingFile;
    std::string_view noSettingsProgram;
    std::string_view lowMemoryQuestion;
    // The title of the balloon that tells what the run after a hand-over did.
    std::string_view balloonTitle;
    // Number patterns of the free megabytes: the meter's title after its caption, the tool tip without a
    // schedule, and the tool tip's first line with one.
    std::string_view titleFree;
    std::string_view hintFree;
    std::string_view hintFreeLine;
    // The tool tip's second line while a run is scheduled: what comes before the remaining time, and after its
    // hours (shown from an hour on), its minutes and its seconds, each of two digits but the hours.
    std::string_view nextRunIn;
    std::string_view hours;
    std::string_view minutes;
    std::string_view seconds;
    // The tool tip's second line while a run that fell due waits for the user to stop being busy.
    std::string_view waiting;
    // The name a screen reader gives the meter, which it announces as a progress bar.
    std::string_view meterName;
};

inline constexpr MonitorTextSet kMonitorJapanese{
    .missingFile = "必用なファイルがありません。",
    .noSettingsProgram = "設定プログラムがありません。設定の変更ができません。",
    .lowMemoryQuestion = "残メモリが少なくなりました。\r\n空きメモリを確保しますか？",
    .balloonTitle = "空きメモリを確保しました",
    .titleFree = "  #,##0.00MBの空き",
    .hintFree = "空きメモリ：#,##0.00MB",
    .hintFreeLine = " #,##0.00MBの空き",
    .nextRunIn = "\r\n次回確保まで ",
    .hours = "時間 ",
    .minutes = "分 ",
    .seconds = "秒",
    .waiting = "\r\n全画面表示の終了を待っています",
    .meterName = "空きメモリ",
};

inline constexpr MonitorTextSet kMonitorEnglish{
    .missingFile = "A required file is missing.",
    .noSettingsProgram = "The settings program is missing, so the settings cannot be changed.",
    .lowMemoryQuestion = "Memory is running low.\r\nFree memory now?",
    .balloonTitle = "Memory freed",
    .titleFree = "  #,##0.00 MB free",
    .hintFree = "Free memory: #,##0.00 MB",
    .hintFreeLine = " #,##0.00 MB free",
    .nextRunIn = "\r\nNext run in ",
    .hours = " h ",
    .minutes = " min ",
    .seconds = " s",
    .waiting = "\r\nWaiting for the full-screen program to end",
    .meterName = "Free memory",
};

// The monitor's texts in the language the program shows.
const MonitorTextSet& MonitorTexts();

// The about box's text: the product's name, a blank line and the maker's notice.
std::string AboutText();

// The meter window's title: the caption, two blanks and the free megabytes.
std::string MeterTitle(double freeMB, const NumberSeparators& separators);
// What a screen reader hears as the meter's value: the free megabytes as the title shows them, and the gauge's
// percentage ("1,234.00 MB free (45%)").
std::string MeterReading(double freeMB, int percent, const NumberSeparators& separators);
// The remaining time of a countdown, in days, as whole hours, minutes and seconds: the milliseconds are rounded,
// the seconds truncated. A time already past, or no number at all, leaves nothing; the schedule never lies more
// than a day ahead, so neither does a countdown.
struct Countdown {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
Countdown CountdownOf(DateTime remaining);

// What follows the title while a reservation is scheduled: two blanks and the remaining "nn:ss", with the hours
// and a colon before it while an hour or more remains ("  1:25:00").
std::string CountdownSuffix(DateTime remaining);
// The gauge's tool tip, with and without a scheduled reservation.
std::string HintWithoutSchedule(double freeMB, const NumberSeparators& separators);
std::string HintWithSchedule(double freeMB, DateTime remaining, const NumberSeparators& separators);
// The tool tip while a run that fell due waits for the user to stop being busy.
std::string HintWhileWaiting(double freeMB, const NumberSeparators& separators);

} // namespace qn
