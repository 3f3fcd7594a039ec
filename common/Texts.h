#pragma once
#include "common/ProductVersion.h"

#include <string_view>

namespace qn {

// Titles of the programs' own message boxes.
inline constexpr std::string_view kTitleVersioned = QN_PRODUCT_NAME " Ver." QN_VERSION_TEXT;
inline constexpr std::string_view kTitlePlain = QN_PRODUCT_NAME;
inline constexpr std::string_view kApplicationErrorTitle = "ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ";

// The marker a running monitor is found by: the title of its hidden application window.
inline constexpr std::string_view kInstanceMarker = "AmbrolaTrayIcon";

// The maker's notice that closes the reservation tool's report.
inline constexpr std::string_view kCopyright = QN_COPYRIGHT;

// The last-resort report of the window-less tools: the error's class name, the program's file name, the code
// address, the error text and a closing "." where the text has none.
inline constexpr std::string_view kApplicationErrorFormat = "%sがﾓｼﾞｭｰﾙ %s の\n%p で発生しました。\n%s%s\n";
inline constexpr std::string_view kOutOfMemoryClass = "EOutOfMemory";
inline constexpr std::string_view kOutOfMemoryText = "ﾒﾓﾘが足りません";

} // namespace qn
