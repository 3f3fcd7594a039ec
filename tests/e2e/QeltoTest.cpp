// Qelto.exe driven from outside: its dialogs, exit codes and chained starts.
#include "tests/support/Display.h"
#include "tests/support/Driver.h"
#include "tests/support/Host.h"

#include <commctrl.h>
#include <psapi.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

namespace qn::e2e {
namespace {

using testing::ElementsAre;

constexpr const wchar_t* kTitle = L"QeltoNimbi Ver.0.04";

MEMORYSTATUSEX MemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    return status;
}

std::uint64_t TotalPhysMB() {
    return MemoryStatus().ullTotalPhys / 1048576;
}

class QeltoTest : public testing::Test {
protected:
    // Starts Qelto.exe with `arguments` after its quoted path, as a shell or the monitor would.
    Process StartQelto(const std::wstring& arguments) {
        return Process::Start(Quoted(ProductPath(L"Qelto.exe")) + L" " + arguments, {},
                              {{kRecordFileVariable, recordFile.wstring()}});
    }

    // The confirmation must be up; checks it and returns it.
    HWND ExpectConfirmation(const Process& qelto, const std::wstring& text) {
        HWND box = WaitForDialog(qelto.Id());
        EXPECT_NE(box, nullptr);
        if (!box) {
            return nullptr;
        }
        const DialogSnapshot shown = ReadDialog(box);
        EXPECT_EQ(shown.title, kTitle);
        EXPECT_EQ(shown.text, text);
        EXPECT_THAT(shown.buttons, ElementsAre(IDOK, IDCANCEL));
        EXPECT_EQ(shown.icon, BoxIcon::Information);
        EXPECT_TRUE(shown.topmost) << "system-modal";
        return box;
    }

    // The size the confirmation proposes, read from its text.
    std::int64_t ProposedSize(const Process& qelto) {
        HWND box = WaitForDialog(qelto.Id());
        if (!box) {
            ADD_FAILURE() << "no confirmation";
            return -1;
        }
        const std::wstring text = ReadDialog(box).text;
        std::wsmatch match;
        if (!std::regex_match(text, match, std::wregex(LR"((\d+)ＭＢの確保を行います)"))) {
            ADD_FAILURE() << ToUtf8(text);
            return -1;
        }
        PressButton(box, IDCANCEL);
        return std::stoll(match[1].str());
    }

    TempDir temp{L"qelto"};
    std::filesystem::path recordFile = temp.Path() / L"record.txt";
};

TEST_F(QeltoTest, NoArgumentsProposesTheDefaultSizeAndCancelEndsTheRun) {
    Process qelto = StartQelto(L"");
    HWND box = WaitForDialog(qelto.Id());
    ASSERT_NE(box, nullptr);
    const DialogSnapshot shown = ReadDialog(box);
    EXPECT_EQ(shown.title, kTitle);
    EXPECT_THAT(shown.buttons, ElementsAre(IDOK, IDCANCEL));
    EXPECT_EQ(shown.icon, BoxIcon::Information);
    EXPECT_TRUE(shown.topmost);
    EXPECT_EQ(PressAndWaitForExit(qelto, box, IDCANCEL), 0u);

    // The proposal is the whole megabytes of memory plus one, unless this process cannot obtain that much.
    const std::int64_t proposed = ProposedSize(StartQelto(L""));
    EXPECT_GT(proposed, 0);
    EXPECT_LE(proposed, static_cast<std::int64_t>(TotalPhysMB() + 1));
    if (sizeof(void*) == 8 && !EnvironmentNumber(L"QN_ADDRESS_LIMIT_MB")) {
        // Nothing but the commit the system has left limits a 64-bit process, less what it leaves to others:
        // max(256 MB, a tenth of the commit limit) and 64 MB of its own. Other programs' use of it moves.
        const MEMORYSTATUSEX status = MemoryStatus();
        const std::uint64_t kept = std::max<std::uint64_t>(256 << 20, status.ullTotalPageFile / 10) + (64 << 20);
        const std::uint64_t room = status.ullAvailPageFile > kept ? (status.ullAvailPageFile - kept) / 1048576 : 0;
        const auto wanted = static_cast<std::int64_t>(std::min(TotalPhysMB() + 1, room));
        EXPECT_NEAR(proposed, wanted, wanted / 10);
    }
}

TEST_F(QeltoTest, TheProposedDefaultSizeIsReallyReserved) {
    if (sizeof(void*) == 8) {
        GTEST_SKIP() << "the 64-bit default size is all of this machine's memory: only its proposal is checked";
    }
    Process qelto = StartQelto(L"");
    HWND confirmation = WaitForDialog(qelto.Id());
    ASSERT_NE(confirmation, nullptr);
    // The result follows, not the out-of-memory report.
    HWND result = PressAndWaitForDialog(qelto, confirmation, IDOK, 120s);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(WindowText(result), kTitle);
    EXPECT_EQ(PressAndWaitForExit(qelto, result, IDOK), 0u);
}

// The separators the result must use, thousands and decimal, when the test's environment names them: it does
// where it sets a locale through LANG, which only Wine takes a locale from.
std::optional<Separators> SeparatorsFromEnvironment() {
    wchar_t expected[8] = {};
    if (GetEnvironmentVariableW(L"QN_EXPECT_SEPARATORS", expected, 8) == 2) {
        return Separators{std::wstring(1, expected[0]), std::wstring(1, expected[1])};
    }
    return std::nullopt;
}

// In the language of the user's Windows (no choice is stored): the Japanese run under a Japanese locale, the
// English one under the German locale, whose separators the English report keeps.
TEST_F(QeltoTest, ReservesAndReportsTheFreeMemoryWithTheLocaleSeparators) {
    const std::optional<Separators> named = SeparatorsFromEnvironment();
    if (named) {
        QN_SKIP_UNLESS_WINE("the expected separators belong to the locale that LANG sets, and only Wine takes it");
    }
    // Elsewhere those of the system's locale, which Windows' own settings choose.
    const auto [thousands, decimal] = named.value_or(LocaleSeparators(LOCALE_SYSTEM_DEFAULT));
    const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    Process qelto = StartQelto(L"/m:64");
    HWND confirmation = ExpectConfirmation(qelto, japanese ? L"64ＭＢの確保を行います" : L"Reserve 64 MB of memory?");
    ASSERT_NE(confirmation, nullptr);
    HWND result = PressAndWaitForDialog(qelto, confirmation, IDOK);
    ASSERT_NE(result, nullptr);
    const DialogSnapshot shown = ReadDialog(result);
    EXPECT_EQ(shown.title, kTitle);
    EXPECT_THAT(shown.buttons, ElementsAre(IDOK));
    EXPECT_EQ(shown.icon, BoxIcon::Information);
    EXPECT_TRUE(shown.topmost);

    const std::wregex shape(L"(\\d{1,3}(?:" + RegexLiteral(thousands) + L"\\d{3})*)" + RegexLiteral(decimal) +
                            (japanese ? L"\\d\\dMBの空きメモリを確保しました" : L"\\d\\d MB of memory is free now\\.") +
                            L"\r\r\n QeltoNimbi -メモリ確保-\r\nCopyright .+");
    std::wsmatch match;
    ASSERT_TRUE(std::regex_match(shown.text, match, shape)) << ToUtf8(shown.text);

    // The figure is the 64-bit available memory: on a machine with more than 4 GB free it is beyond what a
    // 32-bit byte count can hold.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    std::wstring digits = match[1].str();
    for (const wchar_t separator : thousands) {
        std::erase(digits, separator);
    }
    const double shownMB = std::stod(digits);
    const double freeMB = static_cast<double>(status.ullAvailPhys) / 1048576.0;
    EXPECT_NEAR(shownMB, freeMB, freeMB * 0.2);

    EXPECT_EQ(PressAndWaitForExit(qelto, result, IDOK), 0u);
}

// 1024 MB, or the size the test's environment names in QN_LARGE_RESERVATION_MB (8 GB for the 64-bit build).
TEST_F(QeltoTest, LargeReservationShowsItsProgressUntilTheResult) {
    const std::int64_t sizeMB = EnvironmentNumber(L"QN_LARGE_RESERVATION_MB").value_or(1024);
    ASSERT_LE(sizeMB, kLargestTestReservationMB);
    const std::wstring size = std::to_wstring(sizeMB);
    Process qelto = StartQelto(L"/M:" + size);
    HWND confirmation = ExpectConfirmation(qelto, size + L"ＭＢの確保を行います");
    ASSERT_NE(confirmation, nullptr);
    PressButton(confirmation, IDOK);

    HWND progress = WaitForWindow(qelto.Id(), L"QeltoProgress", 10s, kTitle);
    ASSERT_NE(progress, nullptr) << "no progress window";
    // Found as soon as it exists; shown once it is complete.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(progress) != FALSE; }, 5s));
    HWND bar = FindWindowExW(progress, nullptr, PROGRESS_CLASSW, nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 1000);

    HWND result = WaitForNextDialog(qelto.Id(), confirmation, 120s);
    ASSERT_NE(result, nullptr);
    EXPECT_FALSE(IsWindow(progress)) << "the progress window is still there with the result";
    // One zero per page is enough only if the system has supplied every page of the block.
    PROCESS_MEMORY_COUNTERS counters{};
    ASSERT_TRUE(GetProcessMemoryInfo(qelto.Handle(), &counters, sizeof counters));
    EXPECT_GE(counters.PeakWorkingSetSize / 1048576, static_cast<std::uint64_t>(sizeMB));
    const DialogSnapshot shown = ReadDialog(result);
    EXPECT_EQ(shown.title, kTitle);
    EXPECT_THAT(shown.text, testing::HasSubstr(L"MBの空きメモリを確保しました")) << "not an out-of-memory report";
    EXPECT_EQ(PressAndWaitForExit(qelto, result, IDOK), 0u);
}

// At 150 % display scale (144 DPI): 320x44 with a 12-pixel margin round the bar, in 96-DPI units.
TEST_F(QeltoTest, TheProgressWindowIsSizedForTheDisplayResolution) {
    QN_SKIP_UNLESS_WINE("the display scale is set through LogPixels, which Windows reads only at sign-in");
    SeeDevicePixels();
    const ScopedDpi resolution(144);
    Process qelto = StartQelto(L"/M:1024");
    HWND confirmation = WaitForDialog(qelto.Id());
    ASSERT_NE(confirmation, nullptr);
    PressButton(confirmation, IDOK);
    HWND progress = WaitForWindow(qelto.Id(), L"QeltoProgress", 10s, kTitle);
    ASSERT_NE(progress, nullptr) << "no progress window";
    // Shown once it is complete, sized and laid out.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(progress) != FALSE; }, 5s));
    RECT client{};
    GetClientRect(progress, &client);
    RECT bar{};
    GetWindowRect(FindWindowExW(progress, nullptr, PROGRESS_CLASSW, nullptr), &bar);
    MapWindowPoints(nullptr, progress, reinterpret_cast<POINT*>(&bar), 2);
    const RECT expectedClient{0, 0, 480, 66};
    const RECT expectedBar{18, 18, 480 - 18, 66 - 18};
    EXPECT_TRUE(EqualRect(&client, &expectedClient));
    EXPECT_TRUE(EqualRect(&bar, &expectedBar));
    HWND result = WaitForNextDialog(qelto.Id(), confirmation, 120s);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(PressAndWaitForExit(qelto, result, IDOK), 0u);
}

TEST_F(QeltoTest, ChainedProgramOpensOnlyAfterTheResultIsClosed) {
    const std::filesystem::path program = temp.Path() / L"next.exe";
    std::filesystem::copy_file(ProductPath(L"QnRecorder.exe"), program);
    Process qelto = StartQelto(L"/M:1 /E:" + program.wstring());
    HWND confirmation = ExpectConfirmation(qelto, L"1ＭＢの確保を行います");
    ASSERT_NE(confirmation, nullptr);
    HWND result = PressAndWaitForDialog(qelto, confirmation, IDOK);
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(StaysFalse([&] { return std::filesystem::exists(recordFile); }, 2s)) << "opened before the result";
    EXPECT_EQ(PressAndWaitForExit(qelto, result, IDOK), 0u);
    ASSERT_TRUE(WaitUntil([&] { return ReadRecording(recordFile).has_value(); }));
    EXPECT_EQ(ReadRecording(recordFile)->modulePath, program.wstring());
}

TEST_F(QeltoTest, SilentHandOverOpensTheMonitorInAFolderWithBlanksAndNonAsciiCharacters) {
    TempDir folder{L"My Tools 表ソ ü"};
    const std::filesystem::path monitor = folder.Path() / L"Mossik.EXE";
    std::filesystem::copy_file(ProductPath(L"QnRecorder.exe"), monitor);
    // The parameters exactly as the monitor passes them.
    ASSERT_TRUE(DefaultReservationIsBounded());
    Process qelto = StartQelto(L" /E:" + Quoted(monitor) + L" /NoMsg");
    // Silent means no window at all, the progress window included.
    bool windowShown = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(qelto.Id())) {
                windowShown = windowShown || IsWindowVisible(window);
            }
            return !qelto.IsRunning();
        },
        120s));
    EXPECT_FALSE(windowShown);
    EXPECT_EQ(qelto.WaitForExit(), 0u);
    ASSERT_TRUE(WaitUntil([&] { return ReadRecording(recordFile).has_value(); }));
    const Recording recording = *ReadRecording(recordFile);
    EXPECT_EQ(recording.modulePath, monitor.wstring());
    EXPECT_EQ(recording.arguments, L"");
}

TEST_F(QeltoTest, MissingChainedProgramEndsSilently) {
    Process qelto = StartQelto(L"/nomsg /M:1 /E:" + Quoted(temp.Path() / L"missing" / L"none.exe"));
    EXPECT_EQ(qelto.WaitForExit(), 0u);
}

TEST_F(QeltoTest, ImpossibleSizeReportsOutOfMemoryEvenWhenSilent) {
    const std::filesystem::path program = temp.Path() / L"next.exe";
    std::filesystem::copy_file(ProductPath(L"QnRecorder.exe"), program);
    // 5000 MB is beyond a 32-bit program; 2 PB beyond any.
    std::vector<const wchar_t*> sizes{L"/M:2147483647", L"/M:$7FFFFFFF"};
    if (sizeof(void*) == 4) {
        sizes.push_back(L"/M:5000");
    }
    for (const wchar_t* size : sizes) {
        SCOPED_TRACE(ToUtf8(size));
        Process qelto = StartQelto(std::wstring(L"/NOMSG ") + size + L" /E:" + Quoted(program));
        HWND box = WaitForDialog(qelto.Id());
        ASSERT_NE(box, nullptr);
        const DialogSnapshot shown = ReadDialog(box);
        EXPECT_EQ(shown.title, L"ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ");
        EXPECT_TRUE(std::regex_match(shown.text, std::wregex(L"EOutOfMemoryがﾓｼﾞｭｰﾙ Qelto\\.exe の\n[0-9A-F]{8,16} "
                                                             L"で発生しました。\nﾒﾓﾘが足りません\\.\n")))
            << ToUtf8(shown.text);
        EXPECT_THAT(shown.buttons, ElementsAre(IDOK));
        EXPECT_EQ(shown.icon, BoxIcon::Stop);
        EXPECT_FALSE(shown.topmost) << "task-modal, not system-modal";
        EXPECT_EQ(PressAndWaitForExit(qelto, box, IDOK), 1u);
    }
    EXPECT_TRUE(StaysFalse([&] { return std::filesystem::exists(recordFile); })) << "a program was started";
}

} // namespace
} // namespace qn::e2e
