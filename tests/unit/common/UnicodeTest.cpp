#include "common/Unicode.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

struct Utf8Case {
    const char* what;
    std::string_view utf8;
    std::u16string_view utf16;
};

// Each ill-formed sequence gives one U+FFFD for its longest valid start, or for one stray byte.
constexpr Utf8Case kUtf8Cases[] = {
    {"well-formed", "a\xC3\xBC\xE8\xA1\xA8\xF0\x9F\x98\x80", u"a\u00FC\u8868\U0001F600"},
    {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
    {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
    {"encoded surrogate", "\xED\xA0\x80x", u"\uFFFD\uFFFD\uFFFDx"},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"five-byte lead", "\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"cut short, then a byte",
     "\xE3\x81\xFF"
     "a",
     u"\uFFFD\uFFFDa"},
    {"cut short at the end", "a\xF0\x9F\x98", u"a\uFFFD"},
    {"stray continuation",
     "\x80"
     "a",
     u"\uFFFDa"},
};

TEST(UnicodeTest, Utf8ToUtf16ReplacesEveryIllFormedSequence) {
    for (const Utf8Case& c : kUtf8Cases) {
        EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << c.what;
    }
}

TEST(UnicodeTest, Utf16ToUtf8ReplacesEveryUnpairedSurrogate) {
    const std::pair<std::u16string_view, std::string_view> cases[] = {
        {u"a\u8868\U0001F600", "a\xE8\xA1\xA8\xF0\x9F\x98\x80"},
        {std::u16string_view(u"\xD800"
                             u"a",
                             2),
         "\xEF\xBF\xBD"
         "a"},
        {std::u16string_view(u"\xDC00\xD800", 2), "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {std::u16string_view(u"a\xD83D", 2), "a\xEF\xBF\xBD"},
    };
    for (const auto& [utf16, utf8] : cases) {
        EXPECT_EQ(Utf8FromUtf16(utf16), utf8);
    }
}

} // namespace
} // namespace qn
