// The one last-resort error box of every program, per kind: owner, title, text, button and icon, read from the
// box as a user would see it.
#include "common/win32/ErrorReport.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/Win32Error.h"
#include "tests/support/Driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

namespace qn::e2e {
namespace {

using testing::ElementsAre;

struct Report {
    win32::ErrorKind kind;
    std::string message;
    win32::ErrorOrigin origin;
    bool owned;
};

// Reports on a thread of its own, which also makes the owner window: the box disables its owner, which needs the
// owner's thread to take messages, while the test's thread waits for the box.
DWORD WINAPI ShowReport(void* parameter) {
    auto* report = static_cast<Report*>(parameter);
    win32::UniqueWindow owner;
    if (report->owned) {
        owner.reset(
            CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
        report->origin.owner = owner.get();
    }
    win32::ReportError(report->kind, report->message, report->origin);
    return 0;
}

struct Case {
    const char* name;
    win32::ErrorKind kind;
    const char* message;
    const char* errorClass;
    bool owned;
    std::optional<std::wstring> title; // none: the system's default title
    std::wstring text;
};

TEST(ErrorReportTest, EachKindShowsItsOwnerTitleTextAndIcon) {
    const Case cases[] = {
        {"window message", win32::ErrorKind::WindowMessage, "handler failed", "", false, std::nullopt,
         L"handler failed."},
        {"monitor", win32::ErrorKind::Monitor, "1:60:0 は正しい時刻ではありません", "", true, L"AmbrolaTrayIcon",
         L"1:60:0 は正しい時刻ではありません."},
        {"settings program", win32::ErrorKind::SettingsProgram, "no dialog", "", false, L"QeltoNimbi", L"no dialog"},
        {"window-less tool", win32::ErrorKind::WindowlessTool, "ﾒﾓﾘが足りません", "EOutOfMemory", false,
         L"ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ",
         L"EOutOfMemoryがﾓｼﾞｭｰﾙ error_report_e2e.exe の\n1234ABCD で発生しました。\nﾒﾓﾘが足りません.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report report{c.kind, c.message, {nullptr, c.errorClass, 0x1234ABCD}, c.owned};
        win32::UniqueHandle thread(CreateThread(nullptr, 0, &ShowReport, &report, 0, nullptr));
        ASSERT_TRUE(thread);
        HWND box = WaitForDialog(GetCurrentProcessId());
        ASSERT_NE(box, nullptr);
        const DialogSnapshot shown = ReadDialog(box);
        if (c.title) {
            EXPECT_EQ(shown.title, *c.title);
        }
        EXPECT_EQ(shown.text, c.text);
        EXPECT_THAT(shown.buttons, ElementsAre(IDOK));
        EXPECT_EQ(shown.icon, BoxIcon::Stop);
        EXPECT_FALSE(shown.topmost);
        const HWND shownOwner = GetWindow(box, GW_OWNER);
        PressButton(box, IDOK);
        ASSERT_EQ(WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
        EXPECT_EQ(shownOwner, report.origin.owner);
        EXPECT_EQ(report.origin.owner != nullptr, c.owned);
    }
}

// A call the system refuses: the error carries the system's code and its message (the text's shape is the
// portable suite's).
TEST(ErrorReportTest, AFailedCallCarriesTheSystemsCodeAndReason) {
    const std::source_location call = std::source_location::current();
    try {
        win32::ThrowLastErrorIf(
            !CreateWindowExW(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            L"NoSuchClass", call);
        FAIL() << "a window of a class that does not exist";
    } catch (const win32::Win32Error& error) {
        // Windows says ERROR_CANNOT_FIND_WND_CLASS, Wine ERROR_CLASS_DOES_NOT_EXIST.
        const std::string start = "ErrorReportTest.cpp:" + std::to_string(call.line()) +
                                  " failed for NoSuchClass (error " + std::to_string(error.Code()) + "): ";
        EXPECT_NE(error.Code(), 0u);
        EXPECT_THAT(error.what(), testing::StartsWith(start));
        EXPECT_GT(std::string(error.what()).size(), start.size()) << "no reason";
    }
}

} // namespace
} // namespace qn::e2e
