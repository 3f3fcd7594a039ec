#include "common/ApplicationError.h"
#include "common/MemoryUnits.h"
#include "common/PathUtil.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

TEST(MemoryUnitsTest, KilobytesRoundHalfToEvenAndCap) {
    EXPECT_EQ(BytesToKilobytesRounded(0), 0);
    EXPECT_EQ(BytesToKilobytesRounded(511), 0);
    EXPECT_EQ(BytesToKilobytesRounded(512), 0);
    EXPECT_EQ(BytesToKilobytesRounded(513), 1);
    EXPECT_EQ(BytesToKilobytesRounded(1536), 2);
    EXPECT_EQ(BytesToKilobytesRounded(2560), 2);
    // 30 GiB is far beyond a signed 32-bit byte count but fits in kilobytes.
    EXPECT_EQ(BytesToKilobytesRounded(30ULL << 30), 30 << 20);
    EXPECT_EQ(BytesToKilobytesRounded(~0ULL), INT32_MAX);
}

TEST(MemoryUnitsTest, MegabytesKeepTheirFraction) {
    EXPECT_EQ(WholeMegabytes(66584576), 63u);
    EXPECT_DOUBLE_EQ(BytesToMegabytes(66584576), 63.5);
    EXPECT_DOUBLE_EQ(BytesToMegabytes(24ULL << 30), 24576.0);
}

struct PathCase {
    const char* path;
    const char* withoutSeparator;
    const char* keepingRoot;
    const char* fileName;
};

class PathUtilTest : public testing::TestWithParam<PathCase> {};

TEST_P(PathUtilTest, CutsTheDirectory) {
    const auto& c = GetParam();
    EXPECT_EQ(DirectoryWithoutSeparator(c.path), c.withoutSeparator);
    EXPECT_EQ(DirectoryKeepingRoot(c.path), c.keepingRoot);
    EXPECT_EQ(FileNameOf(c.path), c.fileName);
}

INSTANTIATE_TEST_SUITE_P(Cases, PathUtilTest,
                         testing::Values(PathCase{"C:\\Tools\\Mossik.EXE", "C:\\Tools", "C:\\Tools", "Mossik.EXE"},
                                         PathCase{"C:\\Mossik.EXE", "C:", "C:\\", "Mossik.EXE"},
                                         // "表" and "ソ" have a backslash as their second byte in Shift-JIS; in UTF-8
                                         // no byte of them can be taken for a separator.
                                         PathCase{"C:\\表\\ソ\\Kolvane.exe", "C:\\表\\ソ", "C:\\表\\ソ", "Kolvane.exe"},
                                         PathCase{"\\\\server\\share\\x.exe", "\\\\server\\share", "\\\\server\\share",
                                                  "x.exe"},
                                         PathCase{"x.exe", "", "", "x.exe"}));

TEST(PathUtilTest, OnlyTheProductsProgramsInTheOwnFolderAreOurs) {
    constexpr const char* kOwn = "C:\\表 Tools\\Qelto.exe";
    const std::pair<const char*, bool> cases[] = {
        {"C:\\表 Tools\\Mossik.EXE", true}, {"c:\\表 tools\\dunfel.exe", true},      {"C:\\表 Tools\\Setup.exe", false},
        {"C:\\Other\\Mossik.exe", false},   {"C:\\表 Tools\\Mossik.exe.lnk", false}, {"Mossik.exe", false},
    };
    for (const auto& [path, ours] : cases) {
        EXPECT_EQ(IsProductProgram(path, kOwn), ours) << path;
    }
}

TEST(ApplicationErrorTest, FormatsTheLastResortReport) {
    EXPECT_EQ(FormatApplicationError("EOutOfMemory", "Qelto.exe", 0x4012AB, "ﾒﾓﾘが足りません"),
              "EOutOfMemoryがﾓｼﾞｭｰﾙ Qelto.exe の\n004012AB で発生しました。\nﾒﾓﾘが足りません.\n");
    EXPECT_EQ(FormatApplicationError("Exception", "a.exe", 0xDEADBEEF, "done."),
              "Exceptionがﾓｼﾞｭｰﾙ a.exe の\nDEADBEEF で発生しました。\ndone.\n");
}

TEST(ApplicationErrorTest, AFailedCallSaysWhichCallFailedForWhatAndWhy) {
    const struct {
        const char* subject;
        std::uint32_t code;
        const char* systemMessage;
        const char* text;
    } cases[] = {
        {"TForm1", 1407, "Cannot find window class.\r\n",
         "CreateWindowExW failed for TForm1 (error 1407): Cannot find window class"},
        {"", 5, "アクセスが拒否されました。\r\n", "CreateWindowExW failed (error 5): アクセスが拒否されました"},
        {"", 8, "", "CreateWindowExW failed (error 8)"},
        {"TForm1", 0, "The operation completed successfully.\r\n", "CreateWindowExW failed for TForm1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FailedCallText("CreateWindowExW", c.subject, c.code, c.systemMessage), c.text);
    }
}

} // namespace
} // namespace qn
