#include "common/RegistryValues.h"
#include "monitor/MainUnit/PositionRecord.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qn {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

struct SplitCase {
    std::string record;
    std::vector<std::string> items;
};

std::ostream& operator<<(std::ostream& out, const SplitCase& c) {
    return out << '"' << c.record << '"';
}

class SplitPositionRecordTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitPositionRecordTest, Splits) {
    EXPECT_EQ(SplitPositionRecord(GetParam().record), GetParam().items) << '"' << GetParam().record << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Items, SplitPositionRecordTest,
    testing::Values(SplitCase{"", {}}, SplitCase{" \t\r\n", {}},
                    SplitCase{"-1,-1,-1,-1,212,108,448,138", {"-1", "-1", "-1", "-1", "212", "108", "448", "138"}},
                    // Blanks separate as commas do, and blanks around a comma belong to neither item.
                    SplitCase{" 1, 2 ,3\t4 ", {"1", "2", "3", "4"}}, SplitCase{"1,,2", {"1", "", "2"}},
                    SplitCase{",1", {"", "1"}},
                    // Only a comma that is the very last character adds an empty item.
                    SplitCase{"1,2,", {"1", "2", ""}}, SplitCase{"1,2, ", {"1", "2"}},
                    // Quoted items: commas and blanks inside, doubled quotes, an unclosed quote, and an item
                    // that follows a closing quote directly.
                    SplitCase{"\"1, 2\",3", {"1, 2", "3"}}, SplitCase{"\"a\"\"b\"", {"a\"b"}},
                    SplitCase{"\"abc", {"abc"}}, SplitCase{"\"x\"y", {"x", "y"}}, SplitCase{"\"\",1", {"", "1"}},
                    // Control characters count as blanks; characters beyond ASCII are ordinary.
                    SplitCase{"\x01"
                              "5\x1f"
                              "6",
                              {"5", "6"}},
                    SplitCase{"表,ソ", {"表", "ソ"}}));

TEST(SplitPositionRecordTest, OnlyTheFirst4095CharactersCount) {
    const std::string items = "1,2,3,4,5,6,7,8";
    // The whole record fits.
    EXPECT_EQ(SplitPositionRecord(std::string(4095 - items.size(), ' ') + items).size(), 8u);
    // Cut after the last comma: the comma is then the very last character and adds an empty eighth item.
    EXPECT_THAT(SplitPositionRecord(std::string(4096 - items.size(), ' ') + items),
                ElementsAre("1", "2", "3", "4", "5", "6", "7", ""));
    EXPECT_EQ(SplitPositionRecord(std::string(4097 - items.size(), ' ') + items).size(), 7u);
    // Characters, not bytes: 4000 three-byte characters leave room for the rest of the record.
    std::string japanese;
    for (int i = 0; i < 4000; ++i) {
        japanese += "あ";
    }
    const std::string record = japanese + ",2,3,4,5,6,7,8";
    const std::size_t characters = 4000 + 14;
    EXPECT_EQ(SplitPositionRecord(record + std::string(4095 - characters, ' ') + ",9").size(), 8u);
    EXPECT_EQ(SplitPositionRecord(record + std::string(4093 - characters, ' ') + ",9").size(), 9u);
}

struct ReadCase {
    std::string record;
    std::optional<std::int32_t> left;
    std::optional<std::int32_t> top;
};

std::ostream& operator<<(std::ostream& out, const ReadCase& c) {
    return out << '"' << c.record << '"';
}

class ReadPositionRecordTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadPositionRecordTest, TakesLeftAndTopFromItemsFiveAndSix) {
    const auto position = ReadPositionRecord(GetParam().record);
    ASSERT_EQ(position.has_value(), GetParam().left.has_value()) << GetParam().record;
    if (position) {
        EXPECT_EQ(position->left, GetParam().left);
        EXPECT_EQ(position->top, GetParam().top);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Records, ReadPositionRecordTest,
    testing::Values(ReadCase{"-1,-1,-1,-1,100,200,336,228", 100, 200}, ReadCase{"1,2,3,4,5,6,7,", 5, 6},
                    ReadCase{" 1, 2, 3, 4, 5, 6, 7, 8 ", 5, 6}, ReadCase{"1,2,3,4,5,6,7", {}, {}},
                    ReadCase{"1,2,3,4,5,6,7,8,9", {}, {}}, ReadCase{"", {}, {}},
                    // Left is applied even when top fails; a bad left stops everything.
                    ReadCase{"1,2,3,4,100,x,7,8", 100, {}}, ReadCase{"1,2,3,4,x,200,7,8", {}, {}},
                    // Only items 5 and 6 are converted; the others are merely counted.
                    ReadCase{"a,b,c,d,-30,$10,e,f", -30, 16}, ReadCase{"1,2,3,4,\"  7\",\"8\",,", 7, 8},
                    ReadCase{"1,2,3,4,2147483648,0,7,8", {}, {}}, ReadCase{"1 2 3 4 5 6 7 8", 5, 6}));

TEST(FormatPositionRecordTest, EightSignedIntegersWithoutBlanks) {
    EXPECT_EQ(FormatPositionRecord(WindowPlacement{{-1, -1}, {-1, -1}, {212, 108, 448, 138}}),
              "-1,-1,-1,-1,212,108,448,138");
    EXPECT_EQ(FormatPositionRecord(WindowPlacement{{INT32_MIN, 0}, {INT32_MAX, 1}, {-5, -6, 7, 8}}),
              "-2147483648,0,2147483647,1,-5,-6,7,8");
}

TEST(MovedRectTest, KeepsTheSizeAndCapsTheNearEdge) {
    struct Case {
        std::int32_t left;
        std::optional<std::int32_t> top;
        Rect expected;
    };
    const Rect meter{212, 108, 448, 138}; // 236 x 30
    const Case cases[] = {
        {100, 200, {100, 200, 336, 230}},
        {-50, std::nullopt, {-50, 108, 186, 138}},
        {INT32_MAX - 10, INT32_MAX, {INT32_MAX - 236, INT32_MAX - 30, INT32_MAX, INT32_MAX}},
        {INT32_MIN, INT32_MIN, {INT32_MIN, INT32_MIN, INT32_MIN + 236, INT32_MIN + 30}},
    };
    for (const Case& c : cases) {
        const Rect moved = MovedRect(meter, c.left, c.top);
        EXPECT_EQ(std::tie(moved.left, moved.top, moved.right, moved.bottom),
                  std::tie(c.expected.left, c.expected.top, c.expected.right, c.expected.bottom))
            << c.left;
    }
}

std::vector<std::uint8_t> Utf16(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

TEST(StringDataTest, TextEndsAtTheFirstNulOrTheEndOfTheData) {
    EXPECT_EQ(TextOfStringData(Utf16(u"1,2")), "1,2");
    EXPECT_EQ(TextOfStringData(Utf16(std::u16string(u"1,2\0"
                                                    "9",
                                                    5))),
              "1,2");
    // An odd byte count: the half character is dropped, nothing is made up for it.
    std::vector<std::uint8_t> odd = Utf16(u"12");
    odd.push_back('3');
    EXPECT_EQ(TextOfStringData(odd), "12");
    EXPECT_THAT(TextOfStringData({}), IsEmpty());
    EXPECT_EQ(TextOfStringData(Utf16(u"表ソ\U0001F600")), "表ソ\U0001F600");
    EXPECT_EQ(TextOfStringData(Utf16(u"a\xD800"
                                     "b")),
              "a\uFFFD"
              "b");
}

TEST(StringDataTest, WrittenWithOneTerminatingNul) {
    EXPECT_EQ(StringDataOf("-1,5"), Utf16(std::u16string(u"-1,5\0", 5)));
    EXPECT_EQ(TextOfStringData(StringDataOf("表ソ\U0001F600")), "表ソ\U0001F600");
    // Text that is not UTF-8 (an encoded surrogate) is written as replacement characters, never as a surrogate.
    EXPECT_EQ(StringDataOf("\xED\xA0\x80"), Utf16(std::u16string(u"\uFFFD\uFFFD\uFFFD\0", 4)));
}

} // namespace
} // namespace qn
