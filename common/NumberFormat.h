#pragma once
#include <string>
#include <string_view>

namespace qn {

// The locale's separators, each one character (UTF-8 encoded, so possibly several bytes).
struct NumberSeparators {
    std::string thousands = ",";
    std::string decimal = ".";
};

// Formats `value` with a pattern such as "#,##0.00" or "Nimbi  #,##0.00MBの空き". The first run of the
// characters # 0 , . is the number: a "," in it groups the integer digits by threes, the zeros before the "."
// give the least number of integer digits and the zeros after it the exact number of decimals, rounded half
// away from zero. Everything else in the pattern is copied as it stands.
std::string FormatNumberPattern(std::string_view pattern, double value, const NumberSeparators& separators);

} // namespace qn
