#include "common/CommandLine.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

struct SplitCase {
    const char* commandLine;
    std::vector<std::string> expected;
};

class SplitArgumentsTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitArgumentsTest, SplitsAsTheProgramsRead) {
    EXPECT_EQ(SplitArguments(GetParam().commandLine), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitArgumentsTest,
    testing::Values(SplitCase{"Qelto.exe", {}}, SplitCase{"", {}}, SplitCase{"Qelto.exe   ", {}},
                    SplitCase{"Qelto.exe /m:64 /NOMSG", {"/m:64", "/NOMSG"}},
                    // The program path itself may be quoted and hold blanks.
                    SplitCase{"\"C:\\Program Files\\Q\\Qelto.exe\" /M:1", {"/M:1"}},
                    // The monitor's hand-over: two arguments, the quotes gone.
                    SplitCase{"\"C:\\T\\Qelto.exe\"  /E:\"C:\\My Tools\\Mossik.EXE\" /NoMsg",
                              {"/E:C:\\My Tools\\Mossik.EXE", "/NoMsg"}},
                    // Quotes may stand anywhere in a token.
                    SplitCase{"q \"/E:C:\\a b\\x.exe\"", {"/E:C:\\a b\\x.exe"}}, SplitCase{"q a\"b c\"d", {"ab cd"}},
                    // An empty pair of quotes between arguments gives no argument, and neither does a trailing one.
                    SplitCase{"q a \"\" b \"\"", {"a", "b"}},
                    // Tabs and other control characters separate too.
                    SplitCase{"q\ta\x01"
                              "b\r\nc",
                              {"a", "b", "c"}},
                    // An unclosed quote runs to the end of the line.
                    SplitCase{"q \"a b", {"a b"}},
                    // Multi-byte characters are ordinary characters.
                    SplitCase{"q /E:\"C:\\表 ソ\\ü.exe\"", {"/E:C:\\表 ソ\\ü.exe"}}));

TEST(SplitArgumentsTest, DoesNotCutLongArguments) {
    const std::string longPath(600, 'x');
    EXPECT_EQ(SplitArguments("q /E:" + longPath), std::vector<std::string>{"/E:" + longPath});
}

} // namespace
} // namespace qn
