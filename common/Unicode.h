#pragma once
#include <string>
#include <string_view>

namespace qn {

// The one pair of text conversions: UTF-8 inside the programs, UTF-16 at the system's boundary. Both give
// well-formed output for any input: each ill-formed UTF-8 sequence (its longest valid start, or one stray byte)
// and each unpaired surrogate becomes U+FFFD, so a conversion never makes an unpaired surrogate or invalid
// UTF-8. Well-formed text converts both ways without change.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

} // namespace qn
