#include "common/win32/SystemLocale.h"

#include "common/win32/Utf.h"

#include <windows.h>

#include <iterator>
#include <string>
#include <string_view>

namespace qn::win32 {
namespace {

// The first character of a locale text (one UTF-16 unit, or a surrogate pair), or `fallback` when it is empty.
std::string FirstCharacter(LCID locale, LCTYPE type, const char* fallback) {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(locale, type, text, static_cast<int>(std::size(text))) <= 1) {
        return fallback;
    }
    const bool pair = IS_HIGH_SURROGATE(text[0]) && IS_LOW_SURROGATE(text[1]);
    return Narrow(std::wstring_view(text, pair ? 2 : 1));
}

NumberSeparators SeparatorsOf(LCID locale) {
    return NumberSeparators{FirstCharacter(locale, LOCALE_STHOUSAND, ","),
                            FirstCharacter(locale, LOCALE_SDECIMAL, ".")};
}

} // namespace

NumberSeparators SystemNumberSeparators() {
    return SeparatorsOf(GetSystemDefaultLCID());
}

NumberSeparators UserNumberSeparators() {
    return SeparatorsOf(GetUserDefaultLCID());
}

} // namespace qn::win32
