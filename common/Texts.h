#pragma once
// The texts the programs share: what never changes (the titles, the marker, the maker's notice) and the texts of
// the shared parts that a user sees (the last-resort report, a run's summary, the components' errors). Each
// program keeps its own texts in one file of its own beside its logic.
#include "common/ProductVersion.h"

#include <string_view>

namespace qn {

// Titles of the programs' own message boxes.
inline constexpr std::string_view kTitleVersioned = QN_PRODUCT_NAME " Ver." QN_VERSION_TEXT;
inline constexpr std::string_view kTitlePlain = QN_PRODUCT_NAME;

// The marker a running monitor is found by: the title of its hidden application window.
inline constexpr std::string_view kInstanceMarker = "AmbrolaTrayIcon";

// The maker's notice that closes the reservation tool's report and the about box.
inline constexpr std::string_view kCopyright = QN_COPYRIGHT;

// The class name the last-resort report gives a failure to obtain memory.
inline constexpr std::string_view kOutOfMemoryClass = "EOutOfMemory";

struct SharedTextSet {
    // The last-resort report of the window-less tools: its title, and its text with, in order, the error's class
    // name, the program's file name, the code address, the error text and a closing "." where the text has none.
    std::string_view applicationErrorTitle;
    std::string_view applicationErrorFormat;
    std::string_view outOfMemory;
    // What a reservation run did, one number to each pattern: the free memory before and after, and the
    // seconds it took ("空き 1,234.56MB → 5,678.90MB（4.2 秒）").
    std::string_view summaryBefore;
    std::string_view summaryAfter;
    std::string_view summarySeconds;
    // The tray icon's error when the shell will not take it (EOutOfResources).
    std::string_view trayIconError;
    // The gauge's error for a range bound that would cross the other one, with the allowed range in place of
    // the two %d.
    std::string_view gaugeRangeErrorFormat;
    // A Win32 call that failed: "<where> failed for <subject> (error <code>): <the system's message>".
    std::string_view failedCall;
    std::string_view failedCallFor;
    std::string_view failedCallError;
};

inline constexpr SharedTextSet kSharedJapanese{
    .applicationErrorTitle = "ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ",
    .applicationErrorFormat = "%sがﾓｼﾞｭｰﾙ %s の\n%p で発生しました。\n%s%s\n",
    .outOfMemory = "ﾒﾓﾘが足りません",
    .summaryBefore = "空き #,##0.00MB → ",
    .summaryAfter = "#,##0.00MB（",
    .summarySeconds = "0.0 秒）",
    .trayIconError = "トレイにアイコンを登録できません",
    .gaugeRangeErrorFormat = "%d から %d の間の値でなければなりません",
    .failedCall = " failed",
    .failedCallFor = " for ",
    .failedCallError = "error ",
};

inline constexpr SharedTextSet kSharedEnglish{
    .applicationErrorTitle = "Application Error",
    .applicationErrorFormat = "Exception %s in module %s at %p.\n%s%s\n",
    .outOfMemory = "Out of memory",
    .summaryBefore = "Free #,##0.00 MB → ",
    .summaryAfter = "#,##0.00 MB (",
    .summarySeconds = "0.0 s)",
    .trayIconError = "Cannot add the icon to the notification area",
    .gaugeRangeErrorFormat = "Value must be between %d and %d",
    .failedCall = " failed",
    .failedCallFor = " for ",
    .failedCallError = "error ",
};

// The shared texts in the language the program shows.
const SharedTextSet& SharedTexts();

} // namespace qn
