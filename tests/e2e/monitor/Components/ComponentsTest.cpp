// The monitor's components in the test host, driven from outside: the tray icon through the shell and its
// callback message, the hot keys through real key presses, the gauge through the pixels on the screen.
#include "tests/e2e/monitor/Components/HostProtocol.h"
#include "tests/support/Display.h"
#include "tests/support/Driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace qn::e2e {
namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::Not;

constexpr UINT kTrayCallback = WM_USER + 200;
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class ComponentsTest : public testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<Process>(
            Process::Start(Quoted(BinDir() / L"QnComponentsHost.exe") + L" " + Quoted(logFile)));
        mainWindow = WaitForWindow(host->Id(), host::kMainClass);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return !Events().empty(); }));
        const auto receivers = TopLevelWindows(host->Id(), L"TCallbackWindow");
        ASSERT_EQ(receivers.size(), 1u) << "one hidden top-level receiver";
        receiver = receivers[0];
        iconId = static_cast<UINT>(Command(host::kIconId));
    }

    LRESULT Command(UINT command, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(mainWindow, command, wParam, lParam);
    }

    // The events the host has logged so far, one a line.
    std::vector<std::string> Events() {
        std::vector<std::string> lines;
        std::istringstream in(ReadFileUtf8(logFile));
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    bool WaitForEvent(const std::string& event, std::size_t occurrences = 1) {
        return WaitUntil([&] {
            const auto events = Events();
            return static_cast<std::size_t>(std::count(events.begin(), events.end(), event)) >= occurrences;
        });
    }

    // Whether the shell holds the host's icon: it changes only an icon it holds.
    bool IconInTray() {
        NOTIFYICONDATAW record{};
        record.cbSize = sizeof record;
        record.hWnd = receiver;
        record.uID = iconId;
        return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
    }

    void PostMouse(std::initializer_list<UINT> messages) {
        for (const UINT m : messages) {
            PostMessageW(receiver, kTrayCallback, iconId, m);
        }
    }

    HWND WaitForMenu(Milliseconds timeout = 5s) { return WaitForWindow(host->Id(), L"#32768", timeout); }

    TempDir temp{L"components"};
    std::filesystem::path logFile = temp.Path() / L"events.txt";
    std::unique_ptr<Process> host;
    HWND mainWindow = nullptr;
    HWND receiver = nullptr;
    UINT iconId = 0;
};

TEST_F(ComponentsTest, TheIconStandsInTheTrayWhileVisible) {
    EXPECT_EQ(iconId, 1u);
    EXPECT_TRUE(IconInTray());
    Command(host::kSetVisible, 0);
    EXPECT_FALSE(IconInTray());
    Command(host::kSetVisible, 1);
    EXPECT_TRUE(IconInTray());
}

TEST_F(ComponentsTest, RightPressOpensTheMenuAndTheChoiceReachesTheOwner) {
    PostMouse({WM_RBUTTONDOWN});
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitForEvent("Command 101"));
    EXPECT_THAT(Events(), Not(Contains("MouseDown 1"))) << "the menu takes the press";
    EXPECT_TRUE(WaitForEvent("Null")) << "WM_NULL after the menu, or the next one vanishes at once on Windows";
}

TEST_F(ComponentsTest, DoubleClickFiresOnDblClickOnlyAndASingleClickWaitsForTheDoubleClickTime) {
    PostMouse({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    ASSERT_TRUE(WaitForEvent("DblClick"));
    // A single click fires once the system's double-click time has passed: none may follow a double click.
    EXPECT_TRUE(StaysFalse([&] { return Events().size() > 3; }, Milliseconds(GetDoubleClickTime()) + 300ms));
    EXPECT_THAT(Events(), ElementsAre("Ready", "MouseDown 0", "DblClick"));

    PostMouse({WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_TRUE(WaitForEvent("Click"));
    EXPECT_THAT(Events(), ElementsAre("Ready", "MouseDown 0", "DblClick", "MouseDown 0", "Click"));
}

TEST_F(ComponentsTest, DisabledIconIgnoresEverything) {
    Command(host::kSetEnabled, 0);
    PostMouse({WM_RBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_MBUTTONDOWN});
    EXPECT_TRUE(StaysFalse([&] { return WaitForMenu(0ms) || Events().size() > 1; }));
    EXPECT_THAT(Events(), ElementsAre("Ready"));

    Command(host::kSetEnabled, 1);
    PostMouse({WM_RBUTTONDOWN});
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(host->Id(), L"#32768").empty() || !IsWindowVisible(menu); }));
}

TEST_F(ComponentsTest, TaskbarCreatedAddsTheIconAgain) {
    // What a restarted Explorer looks like to the host: the shell holds no icon, then the broadcast comes.
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof record;
    record.hWnd = receiver;
    record.uID = iconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &record));
    ASSERT_FALSE(IconInTray());
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return IconInTray(); }, 5s));

    // An icon that is not wanted stays away.
    // Sent rather than posted: when it returns, the host has handled the broadcast.
    Command(host::kSetVisible, 0);
    SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    EXPECT_FALSE(IconInTray());
}

TEST_F(ComponentsTest, HotKeysFireWithTheirOwnIndexAfterBringingTheOwnerForward) {
    ASSERT_EQ(Command(host::kAddHotKey, 1, 0xC07B), 1); // Ctrl+Alt+F12
    ASSERT_EQ(Command(host::kAddHotKey, 2, 0xC07A), 1); // Ctrl+Alt+F11
    EXPECT_EQ(Command(host::kAddHotKey, 4, 0xC000), 0) << "no key: nothing registered";

    PressKeys({VK_CONTROL, VK_MENU, VK_F12});
    ASSERT_TRUE(WaitForEvent("HotKey 1 foreground"));
    PressKeys({VK_CONTROL, VK_MENU, VK_F11});
    ASSERT_TRUE(WaitForEvent("HotKey 2 foreground"));

    EXPECT_EQ(Command(host::kRemoveHotKey, 2), 1);
    EXPECT_EQ(Command(host::kRemoveHotKey, 2), 0);
    PressKeys({VK_CONTROL, VK_MENU, VK_F11});
    PressKeys({VK_CONTROL, VK_MENU, VK_F12});
    ASSERT_TRUE(WaitForEvent("HotKey 1 foreground", 2));
    EXPECT_THAT(Events(), ElementsAre("Ready", "HotKey 1 foreground", "HotKey 2 foreground", "HotKey 1 foreground"));
}

TEST_F(ComponentsTest, AnErrorInTheHotKeyHandlerIsShownAndTheKeysKeepWorking) {
    ASSERT_EQ(Command(host::kAddHotKey, host::kFailingHotKeyIndex, 0xC079), 1); // Ctrl+Alt+F10
    ASSERT_EQ(Command(host::kAddHotKey, 1, 0xC07B), 1);
    PressKeys({VK_CONTROL, VK_MENU, VK_F10});
    HWND box = WaitForDialog(host->Id());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ReadDialog(box).text, ToWide(std::string(host::kFailingHotKeyMessage) + "."));
    PressButton(box, IDOK);
    PressKeys({VK_CONTROL, VK_MENU, VK_F12});
    EXPECT_TRUE(WaitForEvent("HotKey 1 foreground"));
}

using Colours = std::vector<COLORREF>;

struct BarCheck {
    int wrong = 0;        // pixels of a colour not allowed where they are
    int textOverFill = 0; // pixels in the bar that are not the bar's colour
    int textOverRest = 0; // pixels in the rest that are not the rest's colour
};

// Checks every pixel of the 230 x 22 gauge: the black frame, and inside it one of `fill` in columns 1 to
// lastFilledColumn, one of `rest` after.
BarCheck CheckBar(const ScreenPixels& pixels, int lastFilledColumn, const Colours& fill, const Colours& rest,
                  bool report = true) {
    const Colours frame{kBlack};
    BarCheck check;
    for (int y = 0; y < host::kGaugeHeight; ++y) {
        for (int x = 0; x < host::kGaugeWidth; ++x) {
            const COLORREF c = pixels.At(x, y);
            const bool onFrame = x == 0 || y == 0 || x == host::kGaugeWidth - 1 || y == host::kGaugeHeight - 1;
            const bool inBar = x <= lastFilledColumn;
            const Colours& allowed = onFrame ? frame : inBar ? fill : rest;
            if (std::find(allowed.begin(), allowed.end(), c) == allowed.end() && ++check.wrong <= 5 && report) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << c;
            }
            if (!onFrame && c != allowed.front()) {
                ++(inBar ? check.textOverFill : check.textOverRest);
            }
        }
    }
    return check;
}

// The check once the screen shows the gauge's latest paint: the X server may draw it a moment after the paint.
BarCheck CheckSettledBar(HWND gauge, int lastFilledColumn, const Colours& fill, const Colours& rest) {
    WaitUntil([&] { return CheckBar(CaptureClientArea(gauge), lastFilledColumn, fill, rest, false).wrong == 0; }, 2s);
    return CheckBar(CaptureClientArea(gauge), lastFilledColumn, fill, rest);
}

TEST_F(ComponentsTest, GaugePaintsTheBarAndTheInvertedPercentage) {
    HWND gauge = FindWindowExW(mainWindow, nullptr, L"TGauge", nullptr);
    ASSERT_NE(gauge, nullptr);

    // Columns 1 to 113 of rows 1 to 20 at 50 %, the whole interior at 100 %, nothing at 0 %.
    Command(host::kSetShowText, 0);
    Command(host::kSetProgress, 50);
    EXPECT_EQ(CheckSettledBar(gauge, 113, {kLime}, {kRed}).wrong, 0);
    Command(host::kSetProgress, 100);
    EXPECT_EQ(CheckSettledBar(gauge, 228, {kLime}, {kRed}).wrong, 0);
    Command(host::kSetProgress, 0);
    EXPECT_EQ(CheckSettledBar(gauge, 0, {kLime}, {kRed}).wrong, 0);

    // "50%" straddles the end of the bar: magenta over lime, cyan over red, every other pixel unchanged.
    Command(host::kSetShowText, 1);
    Command(host::kSetProgress, 50);
    const BarCheck text = CheckSettledBar(gauge, 113, {kLime, kMagenta}, {kRed, kCyan});
    EXPECT_EQ(text.wrong, 0);
    EXPECT_GT(text.textOverFill, 0) << "text over the bar";
    EXPECT_GT(text.textOverRest, 0) << "text over the rest";
}

// The tool tip that is showing, if any.
HWND ShownToolTip(DWORD processId) {
    for (HWND tip : TopLevelWindows(processId, L"tooltips_class32")) {
        if (IsWindowVisible(tip)) {
            return tip;
        }
    }
    return nullptr;
}

int WindowHeight(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

TEST_F(ComponentsTest, GaugeHintShowsTwoLinesAndFollowsItsTextWhileShowing) {
    HWND gauge = FindWindowExW(mainWindow, nullptr, L"TGauge", nullptr);
    ASSERT_NE(gauge, nullptr);
    Command(host::kSetHint, 1);
    RECT rect{};
    GetWindowRect(gauge, &rect);
    SetCursorPos(rect.left + 20, rect.top + 10);
    SetCursorPos(rect.left + 21, rect.top + 11);
    HWND tip = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (tip = ShownToolTip(host->Id())) != nullptr; }, 5s));
    // Its text cannot be read from another process; its size shows how many lines it has.
    const int oneLine = WindowHeight(tip);

    Command(host::kSetHint, 2);
    EXPECT_TRUE(IsWindowVisible(tip)) << "still showing";
    EXPECT_TRUE(WaitUntil([&] { return WindowHeight(tip) > oneLine * 3 / 2; }, 2s))
        << "one line " << oneLine << ", now " << WindowHeight(tip);
}

} // namespace
} // namespace qn::e2e
