#pragma once
// Every text of the reservation tool that a user sees, besides the shared ones (common/Texts.h).
#include <string_view>

namespace qn {

struct ReserverTextSet {
    // The question before a run: the size in megabytes, ungrouped, between these ("1234ＭＢの確保を行います").
    std::string_view confirmationBeforeSize;
    std::string_view confirmationAfterSize;
    // The report after a run: the free memory in this number pattern, then the closing lines and the maker's
    // notice.
    std::string_view resultPattern;
    std::string_view resultClosing;
};

inline constexpr ReserverTextSet kReserverJapanese{
    .confirmationBeforeSize = "",
    .confirmationAfterSize = "ＭＢの確保を行います",
    .resultPattern = "###,##0.00MBの空きメモリを確保しました",
    .resultClosing = "\r\r\n QeltoNimbi -メモリ確保-\r\n",
};

// The closing lines are the product's own, the same in every language.
inline constexpr ReserverTextSet kReserverEnglish{
    .confirmationBeforeSize = "Reserve ",
    .confirmationAfterSize = " MB of memory?",
    .resultPattern = "###,##0.00 MB of memory is free now.",
    .resultClosing = kReserverJapanese.resultClosing,
};

// The reservation tool's texts in the language the program shows.
const ReserverTextSet& ReserverTexts();

} // namespace qn
