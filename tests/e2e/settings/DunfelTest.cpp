// Dunfel.exe driven from outside: what is typed into its dialog reaches the settings key in the monitor's
// kinds and units, Cancel writes nothing, and the monitor is started again when it closes.
#include "settings/SettingsIds.h"
#include "tests/support/Display.h"
#include "tests/support/Driver.h"
#include "tests/support/RunKey.h"
#include "tests/support/TestRegistry.h"

#include "common/win32/UniqueHandle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>

namespace qn::e2e {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

// A copy of Dunfel.exe with the recorder standing in for the monitor next to it.
class DunfelTest : public testing::Test {
protected:
    void SetUp() override {
        ForgetSettings();
        ForgetRunCommand();
        fs::copy_file(ProductPath(L"Dunfel.exe"), temp.Path() / L"Dunfel.exe");
        fs::copy_file(ProductPath(L"QnRecorder.exe"), temp.Path() / L"Mossik.exe");
    }
    void TearDown() override {
        ForgetSettings();
        ForgetRunCommand();
    }

    Process Start() {
        return Process::Start(Quoted(temp.Path() / L"Dunfel.exe"), temp.Path(),
                              {{kRecordFileVariable, recordFile.wstring()}});
    }
    static void Type(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }
    // WM_GETTEXT itself: GetWindowText gives only the creation text of another process's controls.
    static std::wstring Shown(HWND dialog, int id) {
        wchar_t text[512] = {};
        SendDlgItemMessageW(dialog, id, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
        return text;
    }
    static bool Checked(HWND dialog, int id) {
        return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // The monitor started on closing: the recorder, from the settings program's folder.
    void ExpectMonitorStarted() {
        std::optional<Recording> recording;
        ASSERT_TRUE(WaitUntil([&] { return (recording = ReadRecording(recordFile)).has_value(); }))
            << "Mossik.exe was not started";
        EXPECT_TRUE(fs::equivalent(recording->modulePath, temp.Path() / L"Mossik.exe"));
    }

    TempDir temp{L"dunfel"};
    fs::path recordFile = temp.Path() / L"record.txt";
};

TEST_F(DunfelTest, TypedValuesReachTheKeyInTheMonitorsKindsAndUnits) {
    PutDword(L"Notify Result", 0);
    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(Checked(dialog, IDC_RESERVE_WHEN_LOW));
    PressButton(dialog, IDC_RESERVE_WHEN_LOW);
    Type(dialog, IDC_RESERVE_THRESHOLD, L"256");
    Type(dialog, IDC_ASK_THRESHOLD, L"300");
    PressButton(dialog, IDC_PERIODIC);
    Type(dialog, IDC_PERIOD, L"15");
    PressButton(dialog, IDC_USE_HOT_KEY);
    SendDlgItemMessageW(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, MAKEWORD('A', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    PressButton(dialog, IDC_WAIT_WHILE_BUSY);
    PressButton(dialog, IDC_NOTIFY_RESULT);
    EXPECT_FALSE(Checked(dialog, IDC_TRAY_FIGURE));
    PressButton(dialog, IDC_TRAY_FIGURE);
    EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDOK), 0u);

    EXPECT_EQ(GetDword(L"Memory"), 1u);
    EXPECT_EQ(GetDword(L"Min Memory"), 256u * 1024);
    EXPECT_EQ(GetDword(L"Cation"), 0u);
    EXPECT_EQ(GetDword(L"Cation Memory"), 300u * 1024);
    EXPECT_EQ(GetDword(L"Time"), 1u);
    EXPECT_EQ(GetDword(L"Cycle"), 15u);
    EXPECT_EQ(GetDword(L"Use Hot Key"), 1u);
    EXPECT_EQ(GetDword(L"Hot Key"), 0x6041u);
    EXPECT_EQ(GetDword(L"Wait While Busy"), 0u);
    EXPECT_EQ(GetDword(L"Notify Result"), 1u);
    EXPECT_EQ(GetDword(L"Tray Figure"), 1u);
    ExpectMonitorStarted();
}

// How much wider a caption is than its control leaves room for, in pixels (0: it fits), measured with the
// dialog's own font: the template's 9-point shell font, which the system maps to the same face in every process.
int Overflow(HWND control, const std::wstring& text) {
    const win32::WindowDc screen(nullptr);
    const win32::UniqueFont font(CreateFontW(-MulDiv(9, GetDeviceCaps(screen.get(), LOGPIXELSY), 72), 0, 0, 0,
                                             FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                             L"MS Shell Dlg 2"));
    const win32::SelectedObject selected(screen.get(), font.get());
    SIZE extent{};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    RECT client{};
    GetClientRect(control, &client);
    // A check box's box and the gap after it, a group box's frame on either side of its caption, a button's edge.
    const LONG style = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    const int taken = ClassName(control) != L"Button" ? 0
                      : style == BS_AUTOCHECKBOX      ? GetSystemMetrics(SM_CXMENUCHECK) + 6
                      : style == BS_GROUPBOX          ? 16
                                                      : 8;
    return std::max(0, static_cast<int>(extent.cx) - (static_cast<int>(client.right) - taken));
}

// Each one-line caption fits its control in both languages. In English the dialog says what it is, and the
// language's choice shows what is stored.
TEST_F(DunfelTest, EveryCaptionFitsItsControlInBothLanguages) {
    for (const std::uint32_t language : {1u, 2u}) {
        PutDword(L"Language", language);
        Process dunfel = Start();
        HWND dialog = WaitForDialog(dunfel.Id());
        ASSERT_NE(dialog, nullptr);
        int measured = 0;
        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(control);
            const bool caption = (ClassName(control) == L"Button" || ClassName(control) == L"Static") &&
                                 id != IDC_LAST_RESERVATION && id != IDC_MESSAGE; // these two wrap
            measured += caption ? 1 : 0;
            EXPECT_TRUE(!caption || Overflow(control, Shown(dialog, id)) == 0)
                << ToUtf8(Shown(dialog, id)) << " in " << language;
        }
        // Three groups, eight check boxes, nine labels and two buttons.
        EXPECT_EQ(measured, 22) << "captions measured in " << language;
        if (language == 2) {
            EXPECT_EQ(WindowText(dialog), L"QeltoNimbi Settings");
            EXPECT_EQ(Shown(dialog, IDC_LAST_RESERVATION), L"Last run: none yet");
            EXPECT_EQ(Shown(dialog, IDC_LANGUAGE), L"English");
            EXPECT_EQ(Shown(dialog, IDC_TARGET_FREE_BEFORE), L"Automatic runs free memory up to");
        }
        EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDCANCEL), 0u);
    }
}

TEST_F(DunfelTest, ShowsTheStoredValuesAndCancelWritesNothing) {
    PutDword(L"Min Memory", 524288);
    PutDword(L"Cation", 1);
    PutDword(L"Hot Key", 0x18070);
    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Shown(dialog, IDC_RESERVE_THRESHOLD), L"512");
    EXPECT_TRUE(Checked(dialog, IDC_ASK_WHEN_LOW));
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_HOT_KEY, HKM_GETHOTKEY, 0, 0), MAKEWORD(VK_F1, HOTKEYF_ALT));
    EXPECT_TRUE(Checked(dialog, IDC_WAIT_WHILE_BUSY) && Checked(dialog, IDC_NOTIFY_RESULT)) << "on until turned off";
    Type(dialog, IDC_RESERVE_THRESHOLD, L"64");
    PressButton(dialog, IDC_PERIODIC);
    EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDCANCEL), 0u);

    EXPECT_EQ(GetDword(L"Min Memory"), 524288u);
    EXPECT_EQ(GetDword(L"Hot Key"), 0x18070u);
    EXPECT_FALSE(GetRaw(L"Time"));
    EXPECT_FALSE(GetRaw(L"Cycle"));
    ExpectMonitorStarted();
}

TEST_F(DunfelTest, AThresholdAtThePhysicalMemoryIsRefusedInTheDialog) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    const std::wstring totalMB = std::to_wstring(status.ullTotalPhys / 1048576);

    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, IDC_RESERVE_WHEN_LOW);
    Type(dialog, IDC_RESERVE_THRESHOLD, totalMB.c_str());
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !Shown(dialog, IDC_MESSAGE).empty(); }, 5s));
    EXPECT_THAT(Shown(dialog, IDC_MESSAGE), HasSubstr(L"物理メモリ(" + totalMB + L" MB)以上"));
    EXPECT_TRUE(dunfel.IsRunning()) << "the dialog stays for a better value";
    EXPECT_FALSE(GetRaw(L"Min Memory"));

    const std::wstring aboveTotal = Shown(dialog, IDC_MESSAGE);
    Type(dialog, IDC_RESERVE_THRESHOLD, L"-1");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return Shown(dialog, IDC_MESSAGE) != aboveTotal; }, 5s)) << "-1 was not refused";
    EXPECT_TRUE(dunfel.IsRunning());
    EXPECT_FALSE(GetRaw(L"Min Memory"));

    Type(dialog, IDC_RESERVE_THRESHOLD, L"128");
    EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDOK), 0u);
    EXPECT_EQ(GetDword(L"Min Memory"), 128u * 1024);
}

TEST_F(DunfelTest, ShowsTheRecordThatAReservationStored) {
    fs::copy_file(ProductPath(L"Qelto.exe"), temp.Path() / L"Qelto.exe");
    Process qelto = Process::Start(Quoted(temp.Path() / L"Qelto.exe") + L" /NOMSG /M:64", temp.Path());
    ASSERT_EQ(qelto.WaitForExit(60s), 0u);
    const auto record = GetReservationRecord();
    ASSERT_TRUE(record.has_value()) << "the run stored no record";
    EXPECT_EQ(record->sizeMB, 64);

    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    const std::wstring line = Shown(dialog, IDC_LAST_RESERVATION);
    EXPECT_TRUE(line.starts_with(L"前回の確保: ") && ShowsRecord(line, *record)) << ToUtf8(line);
    EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDCANCEL), 0u);
}

TEST_F(DunfelTest, StartWithWindowsRoundTripAndCancelWritesNothing) {
    {
        Process dunfel = Start();
        HWND dialog = WaitForDialog(dunfel.Id());
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(Checked(dialog, IDC_AUTO_START));
        PressButton(dialog, IDC_AUTO_START);
        EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDCANCEL), 0u);
        EXPECT_FALSE(RunCommand());
    }
    {
        Process dunfel = Start();
        HWND dialog = WaitForDialog(dunfel.Id());
        ASSERT_NE(dialog, nullptr);
        PressButton(dialog, IDC_AUTO_START);
        EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDOK), 0u);
        const auto command = RunCommand();
        ASSERT_TRUE(command);
        ASSERT_TRUE(command->starts_with(L"\"") && command->ends_with(L"\"")) << ToUtf8(*command);
        EXPECT_TRUE(fs::equivalent(command->substr(1, command->size() - 2), temp.Path() / L"Mossik.exe"));
    }
    {
        Process dunfel = Start();
        HWND dialog = WaitForDialog(dunfel.Id());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(Checked(dialog, IDC_AUTO_START));
        PressButton(dialog, IDC_AUTO_START);
        EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDOK), 0u);
        EXPECT_FALSE(RunCommand());
    }
}

TEST_F(DunfelTest, AStartOfAnotherCopyIsLeftAlone) {
    const std::wstring elsewhere = L"\"C:\\Other Folder\\Mossik.exe\"";
    PutRunCommand(elsewhere);
    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(Checked(dialog, IDC_AUTO_START));
    EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDOK), 0u);
    EXPECT_EQ(RunCommand(), elsewhere);
}

TEST_F(DunfelTest, AStartThatCanBeReadButNotDeletedIsShownCheckedAndItsFailureKeepsTheDialog) {
    PutRunCommand(Quoted(temp.Path() / L"Mossik.exe"));
    const GuardedRunKey guard;
    ASSERT_TRUE(guard.Guarded());
    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Checked(dialog, IDC_AUTO_START)) << "a value that can be read is read";
    PressButton(dialog, IDC_AUTO_START);
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !Shown(dialog, IDC_MESSAGE).empty(); }, 5s));
    EXPECT_EQ(Shown(dialog, IDC_MESSAGE), L"Windows の起動時の設定を保存できませんでした｡");
    EXPECT_TRUE(dunfel.IsRunning()) << "the dialog stays";
    EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDCANCEL), 0u);
    EXPECT_TRUE(RunCommand());
}

// The monitor that opened the settings moments ago may still be ending while the dialog is closed at once: the
// monitor is started once its marker has gone. A start that fails says why.
TEST_F(DunfelTest, AfterAFreshHandOverTheMonitorStillEndingIsAwaitedAndAFailedStartIsReported) {
    PutDouble(L"Handover Time", NowAsDateTime());
    win32::UniqueWindow ending(
        CreateWindowExW(0, L"STATIC", L"AmbrolaTrayIcon", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(StaysFalse([&] { return fs::exists(recordFile); }, 3s));
    ending.reset();
    ExpectMonitorStarted();
    EXPECT_EQ(dunfel.WaitForExit(), 0u);

    fs::remove(temp.Path() / L"Mossik.exe");
    Process failing = Start();
    ASSERT_NE(dialog = WaitForDialog(failing.Id()), nullptr);
    PressButton(dialog, IDCANCEL);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = WaitForDialog(failing.Id())) != nullptr && box != dialog; }));
    EXPECT_THAT(ToUtf8(ReadDialog(box).text), HasSubstr("Mossik.exe"));
    EXPECT_EQ(PressAndWaitForExit(failing, box, IDOK), 0u);
}

TEST_F(DunfelTest, ARunningMonitorIsNotStartedAgain) {
    // The monitor's marker: a top-level window titled "AmbrolaTrayIcon".
    const win32::UniqueWindow marker(
        CreateWindowExW(0, L"STATIC", L"AmbrolaTrayIcon", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(marker);
    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDCANCEL), 0u);
    EXPECT_TRUE(StaysFalse([&] { return fs::exists(recordFile); })) << "a second monitor was started";
}

TEST_F(DunfelTest, DarkAppsThemePaintsTheDialogDarkAndItsCaptionsLight) {
    // The user's own theme comes back, whatever the test finds.
    struct DarkApps {
        const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
        const std::optional<RawValue> before = GetRaw(L"AppsUseLightTheme", key);
        DarkApps() { PutRaw(L"AppsUseLightTheme", REG_DWORD, {0, 0, 0, 0}, key); }
        ~DarkApps() {
            win32::UniqueRegKey opened;
            RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, opened.put());
            before ? void(RegSetValueExW(opened.get(), L"AppsUseLightTheme", 0, before->type, before->data.data(),
                                         static_cast<DWORD>(before->data.size())))
                   : void(RegDeleteValueW(opened.get(), L"AppsUseLightTheme"));
        }
    } darkApps;
    Process dunfel = Start();
    HWND dialog = WaitForDialog(dunfel.Id());
    ASSERT_NE(dialog, nullptr);
    const auto brightness = [](COLORREF c) { return std::min({GetRValue(c), GetGValue(c), GetBValue(c)}); };
    const auto darkness = [](COLORREF c) { return std::max({GetRValue(c), GetGValue(c), GetBValue(c)}); };
    EXPECT_TRUE(WaitUntil([&] { return darkness(CaptureClientArea(dialog).At(2, 2)) < 0x40; }, 5s))
        << "the dialog's background";
    // The caption, right of the box: light letters on the dialog's dark background, once the dialog has painted.
    int light = 0;
    int dark = 0;
    const auto count = [&] {
        const ScreenPixels box = CaptureClientArea(GetDlgItem(dialog, IDC_TRAY_FIGURE));
        light = dark = 0;
        for (int y = 0; y < box.height; ++y) {
            for (int x = box.width / 4; x < box.width; ++x) {
                light += brightness(box.At(x, y)) > 0xC0;
                dark += darkness(box.At(x, y)) < 0x40;
            }
        }
        return light > 20;
    };
    EXPECT_TRUE(WaitUntil(count, 5s)) << "the caption's letters";
    EXPECT_GT(dark, light) << "their background";
    EXPECT_EQ(PressAndWaitForExit(dunfel, dialog, IDCANCEL), 0u);
}

} // namespace
} // namespace qn::e2e
