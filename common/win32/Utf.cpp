#include "common/win32/Utf.h"

#include "common/Unicode.h"

namespace qn::win32 {

// wchar_t is the UTF-16 code unit on Windows; the conversions themselves are the portable ones, so that the
// programs treat ill-formed text the same on every system.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Widen(std::string_view utf8) {
    const std::u16string utf16 = Utf16FromUtf8(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

std::string Narrow(std::wstring_view utf16) {
    return Utf8FromUtf16(std::u16string(utf16.begin(), utf16.end()));
}

} // namespace qn::win32
