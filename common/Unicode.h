#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace qn {

// The one UTF-8 decoder. One character from the start of `utf8`, which is not empty: its code point and the
// bytes it takes. An ill-formed sequence (its longest valid start, or one stray byte) is one character, U+FFFD.
struct Utf8Character {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
Utf8Character DecodeUtf8(std::string_view utf8);

// The one pair of text conversions: UTF-8 inside the programs, UTF-16 at the system's boundary. Both give
// well-formed output for any input: each ill-formed UTF-8 sequence (its longest valid start, or one stray byte)
// and each unpaired surrogate becomes U+FFFD, so a conversion never makes an unpaired surrogate or invalid
// UTF-8. Well-formed text converts both ways without change.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

} // namespace qn
