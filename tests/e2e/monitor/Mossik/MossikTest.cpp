// Mossik.exe driven from outside: start-up, the tick, the schedule, the hand-overs and the menu commands.
#include "tests/support/Display.h"
#include "tests/support/Driver.h"
#include "tests/support/Host.h"
#include "tests/support/TestRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace qn::e2e {
namespace {

using testing::ElementsAre;

constexpr const wchar_t* kMarker = L"AmbrolaTrayIcon";
constexpr const wchar_t* kMeterClass = L"TForm1";
constexpr double kSecond = 1.0 / 86400.0;
constexpr UINT kTrayCallback = WM_USER + 200;

// Positions of the menu's commands as the keyboard reaches them (separators are skipped).
enum MenuPosition {
    kReserveNow = 1,
    kSettings = 2,
    kMeterWindow = 3,
    kAlwaysOnTop = 4,
    kPeriodic = 5,
    kLowMemory = 6,
    kAbout = 7,
    kExit = 8,
};

// Ends every monitor that runs, whoever started it.
void EndMonitors() {
    HWND marker = nullptr;
    while ((marker = FindWindowW(nullptr, kMarker)) != nullptr) {
        DWORD processId = 0;
        GetWindowThreadProcessId(marker, &processId);
        if (processId == GetCurrentProcessId()) {
            return;
        }
        win32::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
        if (!process) {
            return;
        }
        TerminateProcess(process.get(), 0);
        WaitForSingleObject(process.get(), 5000);
        WaitUntil([&] { return FindWindowW(nullptr, kMarker) != marker; }, 5s);
    }
}

class MossikTest : public testing::Test {
protected:
    void SetUp() override {
        EndMonitors();
        ForgetSettings();
        std::filesystem::copy_file(ProductPath(L"Mossik.exe"), monitorPath);
    }
    void TearDown() override {
        EndMonitors();
        ForgetSettings();
    }

    // After a hand-over to the stand-in reservation tool: the monitor comes back as the reservation tool starts it,
    // and stays. A threshold above all memory still holds then; handing over again would come at its first tick.
    void ExpectOneHandOverAndAMonitorThatStays(const Process& first) {
        EXPECT_EQ(first.WaitForExit(), 0u);
        // Removed as soon as the stand-in has written it and let go of it.
        ASSERT_TRUE(WaitUntil([&] {
            std::error_code failed;
            return std::filesystem::remove(recordFile, failed);
        }));
        Process back = StartRunningMonitor();
        EXPECT_EQ(WaitForDialog(back.Id(), 3s), nullptr);
        EXPECT_TRUE(back.IsRunning());
        EXPECT_TRUE(IsWindowVisible(MeterWindow(back)));
        EXPECT_FALSE(std::filesystem::exists(recordFile));
    }

    // Puts a stand-in that records being started in the monitor's folder under `name`.
    void PlaceRecorder(const wchar_t* name) {
        std::filesystem::copy_file(ProductPath(L"QnRecorder.exe"), folder.Path() / name);
    }

    Process StartMonitor(const std::wstring& arguments = L"") {
        Process process = Process::Start(Quoted(monitorPath) + (arguments.empty() ? L"" : L" " + arguments), {},
                                         {{kRecordFileVariable, recordFile.wstring()}});
        return process;
    }

    // Starts the monitor and waits until its start-up is done (the marker is set and the first tick has run).
    Process StartRunningMonitor(const std::wstring& arguments = L"") {
        Process monitor = StartMonitor(arguments);
        EXPECT_TRUE(WaitUntil([&] { return MeterWindow(monitor) && IsTicking(monitor); }));
        return monitor;
    }

    // The prompt and the automatic reservation both set far above any free memory, with a stand-in for the
    // reservation tool; the prompt comes at the first tick.
    Process StartWithBothLowMemoryTriggersDue() {
        PlaceRecorder(L"Qelto.exe");
        PutDword(L"Cation", 1);
        PutDword(L"Cation Memory", 0x7FFFFFFF);
        PutDword(L"Memory", 1);
        PutDword(L"Min Memory", 0x7FFFFFFF);
        return StartMonitor();
    }

    HWND MeterWindow(const Process& monitor) {
        const auto windows = TopLevelWindows(monitor.Id(), kMeterClass);
        return windows.empty() ? nullptr : windows.front();
    }
    bool IsTicking(const Process& monitor) {
        HWND meter = MeterWindow(monitor);
        return meter && WindowText(meter).starts_with(L"Nimbi  ");
    }
    std::wstring Title(const Process& monitor) { return WindowText(MeterWindow(monitor)); }

    // Opens the popup menu as a right press on the tray icon does, and chooses the entry at `position`.
    void ChooseMenuEntry(const Process& monitor, int position) {
        HWND receiver = nullptr;
        for (HWND window : TopLevelWindows(monitor.Id())) {
            if (ClassName(window) == L"TCallbackWindow") {
                receiver = window;
            }
        }
        ASSERT_NE(receiver, nullptr) << "no tray receiver window";
        PostMessageW(receiver, kTrayCallback, 1, WM_RBUTTONDOWN);
        HWND menu = WaitForWindow(monitor.Id(), L"#32768", 5s);
        ASSERT_NE(menu, nullptr) << "the menu did not open";
        for (int i = 0; i < position; ++i) {
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        }
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5s));
    }

    TempDir folder{L"Nimbi 表ソ"};
    std::filesystem::path monitorPath = folder.Path() / L"Mossik.EXE";
    std::filesystem::path recordFile = folder.Path() / L"record.txt";
};

// The free memory as the title shows it, with the separators of the user's locale, in Japanese or in English.
std::wstring FreeMemoryPattern(const wchar_t* free = L"MBの空き") {
    const Separators separators = LocaleSeparators(LOCALE_USER_DEFAULT);
    return L"Nimbi  \\d{1,3}(" + RegexLiteral(separators.thousands) + L"\\d{3})*" + RegexLiteral(separators.decimal) +
           L"\\d\\d" + free;
}
const std::wregex kTitleWithoutCountdown(FreeMemoryPattern());
const std::wregex kTitleWithCountdown(FreeMemoryPattern() + L"  (\\d{1,2}:)?\\d\\d:\\d\\d");
const std::wregex kEnglishTitleWithCountdown(FreeMemoryPattern(L" MB free") + L"  (\\d{1,2}:)?\\d\\d:\\d\\d");
const std::wregex kDesignPositionRecord(L"-?\\d+,-?\\d+,-?\\d+,-?\\d+,212,108,\\d+,\\d+");

TEST_F(MossikTest, FirstStartWithAnEmptyKey) {
    const double before = NowAsDateTime();
    Process monitor = StartRunningMonitor();
    HWND meter = MeterWindow(monitor);
    ASSERT_NE(meter, nullptr);
    EXPECT_TRUE(IsWindowVisible(meter));
    RECT window{};
    GetWindowRect(meter, &window);
    EXPECT_EQ(window.left, 212);
    EXPECT_EQ(window.top, 108);
    RECT client{};
    GetClientRect(meter, &client);
    EXPECT_EQ(client.right, 230);
    EXPECT_EQ(client.bottom, 22);
    const LONG style = GetWindowLongW(meter, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(GetWindowLongW(meter, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(std::regex_match(Title(monitor), kTitleWithoutCountdown)) << ToUtf8(Title(monitor));

    // The hidden application window carries the marker and owns the meter window.
    HWND marker = FindWindowW(nullptr, kMarker);
    ASSERT_NE(marker, nullptr);
    EXPECT_FALSE(IsWindowVisible(marker));
    EXPECT_EQ(GetWindow(meter, GW_OWNER), marker);

    const auto nextRun = GetDouble(L"Next Run");
    ASSERT_TRUE(nextRun.has_value());
    EXPECT_GE(*nextRun, before - kSecond);
    EXPECT_LE(*nextRun, NowAsDateTime() + kSecond);
    EXPECT_TRUE(monitor.IsRunning());
}

// The rows of the gauge that hold the percentage: its pixels are the inverse of the bar's colours.
int PercentInkHeight(HWND meter) {
    const ScreenPixels shown = CaptureClientArea(meter);
    int top = shown.height;
    int bottom = -1;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            if (shown.At(x, y) == RGB(255, 0, 255) || shown.At(x, y) == RGB(0, 255, 255)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return bottom < top ? 0 : bottom - top + 1;
}

TEST_F(MossikTest, TheMeterKeepsItsDesignSizeAndFontAtEveryDisplayResolution) {
    QN_SKIP_UNLESS_WINE("the display scale is set through LogPixels, which Wine reads at each program's start and "
                        "Windows only at sign-in");
    SeeDevicePixels();
    int inkAt96 = 0;
    for (const DWORD dpi : {96u, 144u, 192u}) {
        const ScopedDpi resolution(dpi);
        Process monitor = StartRunningMonitor();
        HWND meter = MeterWindow(monitor);
        ASSERT_NE(meter, nullptr);
        RECT client{};
        GetClientRect(meter, &client);
        EXPECT_EQ(client.right, 230 * static_cast<LONG>(dpi) / 96) << dpi;
        EXPECT_EQ(client.bottom, 22 * static_cast<LONG>(dpi) / 96) << dpi;
        // The percentage's glyphs grow with the font's height (12 pixels at 96 DPI), give or take a pixel of
        // rounding in the glyphs.
        const int ink = PercentInkHeight(meter);
        if (dpi == 96) {
            inkAt96 = ink;
            EXPECT_GE(ink, 7);
        } else {
            EXPECT_NEAR(ink, inkAt96 * static_cast<int>(dpi) / 96, 1) << dpi;
        }
        EndMonitors();
    }
}

// Wine does not stretch the windows of programs that are not DPI aware, so the awareness itself is read from
// the manifest each program carries.
TEST(DpiAwarenessTest, EveryProgramAsksForPerMonitorAwarenessWithTheOlderFormsAsFallback) {
    for (const wchar_t* program : {L"Qelto.exe", L"Mossik.exe", L"Dunfel.exe", L"Kolvane.exe"}) {
        const HMODULE image = LoadLibraryExW(ProductPath(program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(image, nullptr) << ToUtf8(program);
        const HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
        ASSERT_NE(found, nullptr) << ToUtf8(program);
        const auto* text = static_cast<const char*>(LockResource(LoadResource(image, found)));
        const std::string manifest(text, SizeofResource(image, found));
        EXPECT_THAT(manifest, testing::HasSubstr(">PerMonitorV2, PerMonitor</dpiAwareness>")) << ToUtf8(program);
        EXPECT_THAT(manifest, testing::HasSubstr(">true/pm</dpiAware>")) << ToUtf8(program);
        FreeLibrary(image);
    }
}

TEST_F(MossikTest, SecondStartEndsAtOnce) {
    Process first = StartRunningMonitor();
    Process second = StartMonitor();
    EXPECT_EQ(second.WaitForExit(5s), 0u);
    EXPECT_TRUE(first.IsRunning());
}

win32::UniqueWindow MarkerWindow() {
    return win32::UniqueWindow(
        CreateWindowExW(0, L"STATIC", kMarker, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(MossikTest, AForeignWindowWithTheMarkerTitleBlocksTheStart) {
    // A note of a hand-over that is no longer fresh changes nothing.
    PutDouble(L"Handover Time", NowAsDateTime() - 11 * kSecond);
    win32::UniqueWindow foreign = MarkerWindow();
    ASSERT_TRUE(foreign);
    Process monitor = StartMonitor();
    EXPECT_EQ(monitor.WaitForExit(5s), 0u);
    EXPECT_TRUE(TopLevelWindows(monitor.Id(), kMeterClass).empty());
}

TEST_F(MossikTest, TheMonitorBroughtBackRightAfterAHandOverWaitsForTheOldOneToEnd) {
    // The monitor that handed over moments ago still ends, its tray icon held up by a busy shell: a window with
    // the marker title stands for it.
    PutDouble(L"Handover Time", NowAsDateTime());
    win32::UniqueWindow ending = MarkerWindow();
    Process monitor = StartMonitor();
    // It waits: running, and no meter of its own beside the one still ending.
    EXPECT_TRUE(StaysFalse([&] { return !monitor.IsRunning() || MeterWindow(monitor); }, 3s));
    ending.reset();
    EXPECT_TRUE(WaitUntil([&] { return MeterWindow(monitor) && IsTicking(monitor); }));
}

TEST_F(MossikTest, TheTitleIsInEnglishWhenTheSettingsChooseIt) {
    PutDword(L"Language", 2);
    PutDword(L"Time", 1);
    PutDword(L"Cycle", 30);
    Process monitor = StartRunningMonitor();
    EXPECT_TRUE(std::regex_match(Title(monitor), kEnglishTitleWithCountdown)) << ToUtf8(Title(monitor));
}

// Whether Wine's tray window shows a pixel of this colour (Windows' notification area cannot be read from outside).
bool TrayShows(COLORREF colour) {
    HWND tray = FindWindowW(nullptr, L"Wine System Tray");
    const ScreenPixels shown = tray ? CaptureClientArea(tray) : ScreenPixels{};
    return std::ranges::find(shown.pixels, colour) != shown.pixels.end();
}

TEST_F(MossikTest, TheTrayFigureTakesThePlaceOfTheProgramIcon) {
    QN_SKIP_UNLESS_WINE("the icon is read back from Wine's own tray window");
    const COLORREF gaugeRed = RGB(255, 0, 0); // the program icon's gauge, never in a figure of enough memory
    {
        Process plain = StartRunningMonitor();
        EXPECT_TRUE(WaitUntil([&] { return TrayShows(gaugeRed); })) << "the program icon";
    }
    EndMonitors();
    PutDword(L"Tray Figure", 1);
    Process figure = StartRunningMonitor();
    EXPECT_TRUE(WaitUntil([&] { return !TrayShows(gaugeRed) && TrayShows(RGB(0, 0, 128)); }))
        << "the figure on the navy chip";
}

TEST_F(MossikTest, ShowHidesTheMeterWindowButTheTickGoesOn) {
    PutDword(L"Show", 1);
    Process monitor = StartRunningMonitor();
    EXPECT_FALSE(IsWindowVisible(MeterWindow(monitor)));
}

TEST_F(MossikTest, StoredPositionIsApplied) {
    PutString(L"Position", L"-1,-1,-1,-1,300,200,536,230");
    Process monitor = StartRunningMonitor();
    RECT window{};
    GetWindowRect(MeterWindow(monitor), &window);
    EXPECT_EQ(window.left, 300);
    EXPECT_EQ(window.top, 200);
}

TEST_F(MossikTest, DueScheduleCountsDownAndHandsOverToTheReservationToolWhichBringsTheMonitorBack) {
    ASSERT_TRUE(DefaultReservationIsBounded());
    std::filesystem::copy_file(ProductPath(L"Qelto.exe"), folder.Path() / L"Qelto.exe");
    PutDword(L"Time", 1);
    // Far enough ahead that the first tick on a loaded machine still counts down.
    const double nextRun = NowAsDateTime() + 10 * kSecond;
    PutDouble(L"Next Run", nextRun);
    Process monitor = StartRunningMonitor(L"C");
    EXPECT_TRUE(std::regex_match(Title(monitor), kTitleWithCountdown)) << ToUtf8(Title(monitor));
    EXPECT_EQ(GetDouble(L"Next Run"), nextRun) << "started with \"C\", the monitor keeps the stored next run";
    EXPECT_EQ(monitor.WaitForExit(20s), 0u);
    // The monitor that the reservation tool starts again.
    HWND marker = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (marker = FindWindowW(nullptr, kMarker)) != nullptr; }, 90s));
    DWORD newProcess = 0;
    GetWindowThreadProcessId(marker, &newProcess);
    EXPECT_NE(newProcess, monitor.Id());

    // Back after its own hand-over, it shows what the run stored.
    const auto record = GetReservationRecord();
    ASSERT_TRUE(record.has_value());
    EXPECT_NEAR(record->ended, NowAsDateTime(), 90 * kSecond) << "the run's end in local time";
    if (!RunsUnderWine()) {
        return; // Windows 10 and 11 show the balloon as a toast, which is no tooltip window of the monitor's
    }
    const auto balloon = WaitForTrayBalloonText();
    ASSERT_TRUE(balloon.has_value()) << "no balloon";
    EXPECT_TRUE(balloon->starts_with(L"空き ") && ShowsRecord(*balloon, *record)) << ToUtf8(*balloon);
}

// With a target of free memory 500 MB above what is free, the due run frees the shortfall, not everything.
TEST_F(MossikTest, ADueScheduleWithATargetOfFreeMemoryReservesTheShortfall) {
    ASSERT_TRUE(DefaultReservationIsBounded());
    std::filesystem::copy_file(ProductPath(L"Qelto.exe"), folder.Path() / L"Qelto.exe");
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    PutDword(L"Target Free", static_cast<std::uint32_t>(status.ullAvailPhys / 1048576 + 500));
    PutDword(L"Time", 1);
    PutDouble(L"Next Run", NowAsDateTime() + 2 * kSecond);
    Process monitor = StartRunningMonitor(L"C");
    EXPECT_EQ(monitor.WaitForExit(15s), 0u);
    std::optional<ReservationRecord> record;
    ASSERT_TRUE(WaitUntil([&] { return (record = GetReservationRecord()).has_value(); }, 90s));
    // The shortfall and a margin of at least 64 MB; free memory moves a little while the test runs.
    EXPECT_GT(record->sizeMB, 300);
    EXPECT_LT(record->sizeMB, 1500) << "about the default size (some 2 GB here), not the shortfall";
    // The monitor that the reservation tool brings back, so that none is left running after the test.
    EXPECT_TRUE(WaitUntil([&] { return FindWindowW(nullptr, kMarker) != nullptr; }, 90s));
}

// A window of the test program that covers the whole screen in the foreground, as a borderless full-screen game
// does, or a screen saver: every one built on the system's library makes a window of the class
// "WindowsScreenSaverClass".
win32::UniqueWindow FullScreenWindow(const wchar_t* className = L"STATIC") {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass); // fails for a class there is already, as STATIC
    win32::UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST, className, L"full screen", WS_POPUP | WS_VISIBLE, 0, 0,
                                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                               nullptr, nullptr, nullptr));
    // Windows' foreground lock refuses the foreground to a process that did not get the last input: a key of its
    // own makes the test program that process.
    if (!SetForegroundWindow(window.get())) {
        PressKeys({VK_MENU});
        SetForegroundWindow(window.get());
    }
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window.get(); }, 5s));
    return window;
}

// A game holds the due schedule back; the screen saver that takes the game's place, covering the screen as exactly,
// means the user is away: the hand-over goes ahead.
TEST_F(MossikTest, AFullScreenWindowHoldsADueScheduleBackAndAScreenSaverInItsPlaceLetsTheHandOverGoAhead) {
    PlaceRecorder(L"Qelto.exe");
    PutDword(L"Time", 1);
    PutDouble(L"Next Run", NowAsDateTime() + 2 * kSecond);
    win32::UniqueWindow fullScreen = FullScreenWindow();
    Process monitor = StartRunningMonitor(L"C");
    EXPECT_TRUE(StaysFalse([&] { return ReadRecording(recordFile).has_value(); }));
    EXPECT_TRUE(monitor.IsRunning());
    win32::UniqueWindow screenSaver = FullScreenWindow(L"WindowsScreenSaverClass");
    fullScreen.reset();
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return ReadRecording(recordFile).has_value(); }));
}

TEST_F(MossikTest, AFullScreenWindowHoldsTheLowMemoryPromptBack) {
    PutDword(L"Cation", 1);
    PutDword(L"Cation Memory", 0x7FFFFFFF);
    win32::UniqueWindow fullScreen = FullScreenWindow();
    Process monitor = StartRunningMonitor();
    EXPECT_EQ(WaitForDialog(monitor.Id(), kQuietPeriod), nullptr);
    fullScreen.reset();
    HWND prompt = WaitForDialog(monitor.Id());
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ReadDialog(prompt).text, L"残メモリが少なくなりました。\r\n空きメモリを確保しますか？");
    PressButton(prompt, IDCANCEL);
}

TEST_F(MossikTest, LowMemoryThresholdHandsOverAtOnceWithTheExactCommandLine) {
    PlaceRecorder(L"Qelto.exe");
    PutDword(L"Memory", 1);
    PutDword(L"Min Memory", 0x7FFFFFFF);
    Process monitor = StartMonitor();
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    ASSERT_TRUE(WaitUntil([&] { return ReadRecording(recordFile).has_value(); }));
    const Recording recording = *ReadRecording(recordFile);
    EXPECT_EQ(recording.modulePath, (folder.Path() / L"Qelto.exe").wstring());
    EXPECT_EQ(recording.arguments, L"/E:" + Quoted(monitorPath) + L" /NoMsg");
    EXPECT_EQ(recording.workingDirectory, folder.Path().wstring());
    EXPECT_EQ(GetDouble(L"Next Run"), 0.0);
}

TEST_F(MossikTest, LowMemoryHandsOverOnceWhenTheReservationCannotLiftFreeMemoryAboveTheThreshold) {
    PlaceRecorder(L"Qelto.exe");
    PutDword(L"Memory", 1);
    PutDword(L"Min Memory", 0x7FFFFFFF);
    ExpectOneHandOverAndAMonitorThatStays(StartMonitor());
}

TEST_F(MossikTest, AcceptedPromptHandsOverOnceWhenTheReservationCannotLiftFreeMemoryAboveTheThreshold) {
    PlaceRecorder(L"Qelto.exe");
    PutDword(L"Cation", 1);
    PutDword(L"Cation Memory", 0x7FFFFFFF);
    Process monitor = StartMonitor();
    HWND prompt = WaitForDialog(monitor.Id());
    ASSERT_NE(prompt, nullptr);
    PressButton(prompt, IDOK);
    ExpectOneHandOverAndAMonitorThatStays(monitor);
}

TEST_F(MossikTest, DeclinedPromptLetsTheAutomaticReservationFollow) {
    Process monitor = StartWithBothLowMemoryTriggersDue();
    HWND prompt = WaitForDialog(monitor.Id());
    ASSERT_NE(prompt, nullptr);
    const DialogSnapshot shown = ReadDialog(prompt);
    EXPECT_EQ(shown.title, L"QeltoNimbi Ver.0.04");
    EXPECT_EQ(shown.text, L"残メモリが少なくなりました。\r\n空きメモリを確保しますか？");
    EXPECT_THAT(shown.buttons, ElementsAre(IDOK, IDCANCEL));
    EXPECT_EQ(shown.icon, BoxIcon::Information);
    EXPECT_TRUE(shown.topmost);
    EXPECT_EQ(PressAndWaitForExit(monitor, prompt, IDCANCEL), 0u);
    EXPECT_TRUE(WaitUntil([&] { return ReadRecording(recordFile).has_value(); }));
}

// The real timer rests while the prompt shows, so that the box's own message loop brings no tick and no second
// prompt (the title, blanked from here, stays blank), and runs again once it is declined, without asking again.
TEST_F(MossikTest, TheMeterRestsWhileThePromptShowsAndTicksOnWithoutItOnceDeclined) {
    PutDword(L"Cation", 1);
    PutDword(L"Cation Memory", 0x7FFFFFFF);
    Process monitor = StartMonitor();
    HWND prompt = WaitForDialog(monitor.Id());
    ASSERT_NE(prompt, nullptr);
    SetWindowTextW(MeterWindow(monitor), L"");
    EXPECT_TRUE(StaysFalse([&] { return IsTicking(monitor) || WaitForNextDialog(monitor.Id(), prompt, 0ms); }));
    PressButton(prompt, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return IsTicking(monitor); }, 3s)) << "the timer did not come back";
    EXPECT_TRUE(StaysFalse([&] { return WaitForNextDialog(monitor.Id(), prompt, 0ms) != nullptr; })) << "it came back";
}

// The shell shows no box of its own for the missing tool: the monitor's is the only one. The meter rests while it
// shows and ticks on after it, the schedule switched off.
TEST_F(MossikTest, AMissingReservationToolShowsOneBoxAndTheMeterTicksOnWithoutTheSchedule) {
    PutDword(L"Time", 1);
    PutDouble(L"Next Run", NowAsDateTime() + 2 * kSecond);
    Process monitor = StartMonitor(L"C");
    HWND box = WaitForDialog(monitor.Id());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ReadDialog(box).text, L"必用なファイルがありません。");
    SetWindowTextW(MeterWindow(monitor), L"");
    EXPECT_TRUE(StaysFalse([&] { return IsTicking(monitor) || WaitForNextDialog(monitor.Id(), box, 0ms); }));
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return std::regex_match(Title(monitor), kTitleWithoutCountdown); }, 3s));
    EXPECT_TRUE(StaysFalse([&] { return WaitForNextDialog(monitor.Id(), box, 0ms) != nullptr; })) << "it came back";
    EXPECT_TRUE(monitor.IsRunning());
}

TEST_F(MossikTest, MenuSwitchesAboutAndExit) {
    PutDword(L"Cycle", 5);
    Process monitor = StartRunningMonitor(L"C");
    HWND meter = MeterWindow(monitor);

    ChooseMenuEntry(monitor, kMeterWindow);
    // The window changes before the value is written: wait for both.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(meter); }));
    EXPECT_TRUE(WaitUntil([&] { return GetDword(L"Show") == 1u; }));
    ChooseMenuEntry(monitor, kMeterWindow);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(meter) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return GetDword(L"Show") == 0u; }));
    RECT window{};
    GetWindowRect(meter, &window);
    EXPECT_EQ(window.left, 212);
    EXPECT_EQ(window.top, 108);

    ChooseMenuEntry(monitor, kAlwaysOnTop);
    EXPECT_TRUE(WaitUntil([&] { return GetDword(L"Top") == 1u; }));
    EXPECT_NE(GetWindowLongW(meter, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    ChooseMenuEntry(monitor, kPeriodic);
    EXPECT_TRUE(WaitUntil([&] { return GetDword(L"Time") == 1u; }));
    EXPECT_NEAR(*GetDouble(L"Next Run"), NowAsDateTime() + 5.0 / 1440.0, 10 * kSecond);
    EXPECT_TRUE(WaitUntil([&] { return std::regex_match(Title(monitor), kTitleWithCountdown); }, 3s));

    ChooseMenuEntry(monitor, kLowMemory);
    EXPECT_TRUE(WaitUntil([&] { return GetDword(L"Memory") == 1u; }));

    ChooseMenuEntry(monitor, kAbout);
    HWND about = WaitForDialog(monitor.Id());
    ASSERT_NE(about, nullptr);
    const DialogSnapshot shown = ReadDialog(about);
    EXPECT_EQ(shown.title, L"QeltoNimbi Ver.0.04");
    EXPECT_TRUE(shown.text.starts_with(L"QeltoNimbi\r\n\r\nCopyright")) << ToUtf8(shown.text);
    EXPECT_EQ(shown.icon, BoxIcon::Information);
    PressButton(about, IDOK);

    ChooseMenuEntry(monitor, kExit);
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    EXPECT_EQ(GetDouble(L"Next Run"), 0.0);
    const std::wstring position = GetString(L"Position").value_or(L"");
    EXPECT_TRUE(std::regex_match(position, std::wregex(L"-?\\d+,-?\\d+,-?\\d+,-?\\d+,212,108,\\d+,\\d+")))
        << ToUtf8(position);
}

TEST_F(MossikTest, SettingsProgramMissingThenPresent) {
    Process monitor = StartRunningMonitor();
    ChooseMenuEntry(monitor, kSettings);
    HWND box = WaitForDialog(monitor.Id());
    ASSERT_NE(box, nullptr);
    const DialogSnapshot shown = ReadDialog(box);
    EXPECT_EQ(shown.text, L"設定プログラムがありません。設定の変更ができません。");
    EXPECT_EQ(shown.icon, BoxIcon::Stop);
    PressButton(box, IDOK);
    EXPECT_TRUE(monitor.IsRunning());

    // A double click on the icon starts the settings program and ends the monitor.
    PlaceRecorder(L"Dunfel.exe");
    HWND receiver = TopLevelWindows(monitor.Id(), L"TCallbackWindow").front();
    PostMessageW(receiver, kTrayCallback, 1, WM_LBUTTONDOWN);
    PostMessageW(receiver, kTrayCallback, 1, WM_LBUTTONUP);
    PostMessageW(receiver, kTrayCallback, 1, WM_LBUTTONDBLCLK);
    PostMessageW(receiver, kTrayCallback, 1, WM_LBUTTONUP);
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    ASSERT_TRUE(WaitUntil([&] { return ReadRecording(recordFile).has_value(); }));
    EXPECT_EQ(ReadRecording(recordFile)->modulePath, (folder.Path() / L"Dunfel.exe").wstring());
}

TEST_F(MossikTest, CloseMessageFromElsewhereStoresThePositionButKeepsNextRun) {
    PutString(L"Position", L"-1,-1,-1,-1,320,240,556,270");
    Process monitor = StartRunningMonitor();
    const double nextRun = *GetDouble(L"Next Run");
    PostMessageW(MeterWindow(monitor), WM_CLOSE, 0, 0);
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    EXPECT_EQ(GetDouble(L"Next Run"), nextRun);
    const std::wstring position = GetString(L"Position").value_or(L"");
    EXPECT_TRUE(std::regex_match(position, std::wregex(L"-?\\d+,-?\\d+,-?\\d+,-?\\d+,320,240,\\d+,\\d+")))
        << ToUtf8(position);
}

TEST_F(MossikTest, CloseSentToTheApplicationWindowEndsTheMonitorLikeOneSentToTheMeter) {
    Process monitor = StartRunningMonitor();
    const double nextRun = *GetDouble(L"Next Run");
    PostMessageW(FindWindowW(nullptr, kMarker), WM_CLOSE, 0, 0);
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    EXPECT_EQ(GetDouble(L"Next Run"), nextRun);
    EXPECT_TRUE(std::regex_match(GetString(L"Position").value_or(L""), kDesignPositionRecord));
}

TEST_F(MossikTest, ASettingsKeyRemovedWhileTheMonitorRunsStaysGoneWhenItExits) {
    Process monitor = StartRunningMonitor();
    DeleteTree(kSettingsKey); // as the removal tool does, which neither finds nor stops a monitor
    ChooseMenuEntry(monitor, kExit);
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    EXPECT_FALSE(KeyExists(kSettingsKey));
}

TEST_F(MossikTest, EndOfTheSessionStoresThePositionAndAgrees) {
    Process monitor = StartRunningMonitor();
    DWORD_PTR answer = FALSE;
    ASSERT_NE(SendMessageTimeoutW(MeterWindow(monitor), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                  5000, &answer),
              0);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_TRUE(std::regex_match(GetString(L"Position").value_or(L""), kDesignPositionRecord));
}

TEST_F(MossikTest, ExitChosenWhileThePromptIsOpenEndsCleanly) {
    Process monitor = StartWithBothLowMemoryTriggersDue();
    HWND prompt = WaitForDialog(monitor.Id());
    ASSERT_NE(prompt, nullptr);
    ChooseMenuEntry(monitor, kExit);
    // The prompt goes with the monitor, and the reservation that would have followed it never starts.
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    EXPECT_TRUE(StaysFalse([&] { return ReadRecording(recordFile).has_value(); }));
    EXPECT_EQ(GetDouble(L"Next Run"), 0.0);
}

TEST_F(MossikTest, HotKeyStartsAReservation) {
    PlaceRecorder(L"Qelto.exe");
    PutDword(L"Use Hot Key", 1);
    PutDword(L"Hot Key", 0x6041); // Ctrl+Shift+A
    Process monitor = StartRunningMonitor();
    PressKeys({VK_CONTROL, VK_SHIFT, 'A'});
    EXPECT_EQ(monitor.WaitForExit(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return ReadRecording(recordFile).has_value(); }));
}

} // namespace
} // namespace qn::e2e
