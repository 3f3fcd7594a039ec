#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstddef>

namespace qn {
namespace {

constexpr std::string_view kNumberChars = "#0,.";

struct NumberLayout {
    bool grouped = false;
    std::size_t minIntegerDigits = 0;
    std::size_t decimals = 0;
};

NumberLayout ReadLayout(std::string_view layout) {
    NumberLayout result;
    const std::size_t point = layout.find('.');
    const std::string_view integerPart = layout.substr(0, point);
    result.grouped = integerPart.find(',') != std::string_view::npos;
    const std::size_t firstZero = integerPart.find('0');
    if (firstZero != std::string_view::npos) {
        for (std::size_t i = firstZero; i < integerPart.size(); ++i) {
            result.minIntegerDigits += integerPart[i] == '0' ? 1 : 0;
        }
    }
    if (point != std::string_view::npos) {
        for (std::size_t i = point + 1; i < layout.size() && layout[i] == '0'; ++i) {
            ++result.decimals;
        }
    }
    return result;
}

// Adds one unit in the last place to a string of decimal digits; returns false when it carried out of the front.
bool IncrementDigits(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return true;
        }
        digits[i] = '0';
    }
    return false;
}

std::string FormatNumber(double value, const NumberLayout& layout, const NumberSeparators& separators) {
    if (!std::isfinite(value)) {
        return "0";
    }
    // The digits of |value| far beyond any double's own precision, so that the digit after the last shown
    // decimal decides the rounding exactly: at 5 or more the magnitude rounds up (half away from zero).
    char buffer[512];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed,
                                         static_cast<int>(layout.decimals) + 60);
    if (ec != std::errc()) {
        return "0";
    }
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t point = text.find('.');
    std::string integerDigits(text.substr(0, point));
    std::string fraction(text.substr(point + 1));
    const bool roundUp = fraction[layout.decimals] >= '5';
    std::string digits = integerDigits + fraction.substr(0, layout.decimals);
    if (roundUp && !IncrementDigits(digits)) {
        digits.insert(digits.begin(), '1');
    }
    integerDigits = digits.substr(0, digits.size() - layout.decimals);
    fraction = digits.substr(digits.size() - layout.decimals);

    const std::size_t firstNonZero = integerDigits.find_first_not_of('0');
    integerDigits.erase(0, firstNonZero == std::string::npos ? integerDigits.size() : firstNonZero);
    if (integerDigits.size() < layout.minIntegerDigits) {
        integerDigits.insert(0, layout.minIntegerDigits - integerDigits.size(), '0');
    }

    std::string result;
    const bool isZero = digits.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !isZero) {
        result += '-';
    }
    for (std::size_t i = 0; i < integerDigits.size(); ++i) {
        if (layout.grouped && i > 0 && (integerDigits.size() - i) % 3 == 0) {
            result += separators.thousands;
        }
        result += integerDigits[i];
    }
    if (layout.decimals > 0) {
        result += separators.decimal;
        result += fraction;
    }
    return result;
}

} // namespace

std::string FormatNumberPattern(std::string_view pattern, double value, const NumberSeparators& separators) {
    const std::size_t start = pattern.find_first_of(kNumberChars);
    if (start == std::string_view::npos) {
        return std::string(pattern);
    }
    std::size_t stop = pattern.find_first_not_of(kNumberChars, start);
    if (stop == std::string_view::npos) {
        stop = pattern.size();
    }
    std::string result(pattern.substr(0, start));
    result += FormatNumber(value, ReadLayout(pattern.substr(start, stop - start)), separators);
    result += pattern.substr(stop);
    return result;
}

} // namespace qn
