#pragma once
#include <string>
#include <string_view>

namespace qn::win32 {

// The one pair of conversions at the Win32 boundary: UTF-8 inside, UTF-16 for the W functions. Ill-formed input
// becomes U+FFFD, never an unpaired surrogate or invalid UTF-8.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

} // namespace qn::win32
