// The settings store through the W-function registry adapter, against values the test writes itself, and the
// position record applied to a real window.
#include "common/win32/Registry.h"
#include "monitor/MainUnit/SettingsStore.h"
#include "monitor/MainUnit/win32/MeterWindowPlacement.h"
#include "tests/support/Driver.h"
#include "tests/support/TestRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace qn::e2e {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes DoubleBytes(double value) {
    Bytes bytes(8);
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}

Bytes Utf16(const std::wstring& text, bool withNul) {
    Bytes bytes(reinterpret_cast<const std::uint8_t*>(text.c_str()),
                reinterpret_cast<const std::uint8_t*>(text.c_str() + text.size() + (withNul ? 1 : 0)));
    return bytes;
}

class SettingsStoreTest : public testing::Test {
protected:
    SettingsStoreTest() {
        window.reset(CreateWindowExW(0, L"STATIC", L"meter", WS_OVERLAPPED | WS_CAPTION, 100, 120, 236, 30, nullptr,
                                     nullptr, nullptr, nullptr));
        meter = std::make_unique<win32::MeterWindowPlacement>(window.get());
        store = std::make_unique<SettingsStore>(currentUser, *meter);
    }
    void SetUp() override { ForgetSettings(); }
    void TearDown() override { ForgetSettings(); }

    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(window.get(), &r);
        return r;
    }

    win32::Win32RegistryKey currentUser = win32::Win32RegistryKey::CurrentUser();
    win32::UniqueWindow window;
    std::unique_ptr<win32::MeterWindowPlacement> meter;
    std::unique_ptr<SettingsStore> store;
};

TEST_F(SettingsStoreTest, TheStartCreatesTheKeyAReadDoesNotAndWritesUseTheirKinds) {
    EXPECT_FALSE(store->Read(setting::kMeterHidden));
    EXPECT_FALSE(KeyExists(kSettingsKey));
    store->CreateKey();
    EXPECT_TRUE(KeyExists(kSettingsKey));

    store->Write(setting::kMeterHidden, true);
    EXPECT_EQ(GetRaw(L"Show")->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(GetRaw(L"Show")->data, (Bytes{1, 0, 0, 0}));
    EXPECT_TRUE(store->Read(setting::kMeterHidden));
    store->Write(setting::kMeterHidden, false);
    EXPECT_EQ(GetRaw(L"Show")->data, (Bytes{0, 0, 0, 0}));

    store->Write(setting::kNextRun, 36526.5);
    EXPECT_EQ(GetRaw(L"Next Run")->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(GetRaw(L"Next Run")->data, (Bytes{0, 0, 0, 0, 0xD0, 0xD5, 0xE1, 0x40}));
    EXPECT_EQ(store->Read(setting::kNextRun), 36526.5);

    PutDword(L"Hot Key", 0x16041);
    EXPECT_EQ(store->Read(setting::kHotKey), 0x16041);
    PutDword(L"Min Memory", 0xFFFFFC00);
    EXPECT_EQ(store->Read(setting::kReserveThreshold), -1024);
}

TEST_F(SettingsStoreTest, ValuesOfAnotherTypeOrLengthReadAsDefaults) {
    struct Case {
        const wchar_t* what;
        DWORD type;
        Bytes data;
    };
    const Case ints[] = {{L"2-byte dword", REG_DWORD, {5, 0}},
                         {L"8-byte dword", REG_DWORD, {5, 0, 0, 0, 0, 0, 0, 0}},
                         {L"string 1", REG_SZ, Utf16(L"1", true)},
                         {L"binary", REG_BINARY, {5, 0, 0, 0}},
                         {L"big-endian dword", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 5}}};
    for (const Case& c : ints) {
        PutRaw(L"Cycle", c.type, c.data);
        EXPECT_EQ(store->Read(setting::kPeriodMinutes), 0) << ToUtf8(c.what);
        EXPECT_FALSE(store->Read(SwitchSetting{setting::kPeriodMinutes.name, false, false, true})) << ToUtf8(c.what);
    }
    const Case floats[] = {{L"dword", REG_DWORD, {1, 0, 0, 0}},
                           {L"4-byte binary", REG_BINARY, {0, 0, 0x80, 0x3F}},
                           {L"16-byte binary", REG_BINARY, Bytes(16, 0x40)},
                           {L"qword", REG_QWORD, DoubleBytes(36526.5)},
                           {L"NaN", REG_BINARY, DoubleBytes(std::numeric_limits<double>::quiet_NaN())},
                           {L"infinity", REG_BINARY, DoubleBytes(std::numeric_limits<double>::infinity())}};
    for (const Case& c : floats) {
        PutRaw(L"Next Run", c.type, c.data);
        EXPECT_EQ(store->Read(setting::kNextRun), 0.0) << ToUtf8(c.what);
    }
}

TEST_F(SettingsStoreTest, ThePositionGoesAndComesBackKeepingTheSize) {
    store->LoadPosition();
    EXPECT_TRUE(KeyExists(kSettingsParent));
    EXPECT_FALSE(KeyExists(kSettingsKey)) << "loading creates only the parent";
    MakeKey(kSettingsKey); // as the monitor's first read does

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window.get(), &placement);
    store->SavePosition();
    const auto stored = GetRaw(L"Position");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    const RECT& r = placement.rcNormalPosition;
    wchar_t expected[128] = {};
    swprintf(expected, 128, L"%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", placement.ptMinPosition.x, placement.ptMinPosition.y,
             placement.ptMaxPosition.x, placement.ptMaxPosition.y, r.left, r.top, r.right, r.bottom);
    EXPECT_EQ(stored->data, Utf16(expected, true));

    const RECT before = WindowRect();
    SetWindowPos(window.get(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    store->LoadPosition();
    const RECT after = WindowRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_FALSE(IsWindowVisible(window.get())) << "a window not shown yet stays hidden";
}

TEST_F(SettingsStoreTest, StoredRecordsOfEveryStringKind) {
    struct Case {
        const wchar_t* what;
        DWORD type;
        Bytes data;
        bool applied;
    };
    const Case cases[] = {{L"no NUL", REG_SZ, Utf16(L"1,2,3,4,150,160,7,8", false), true},
                          {L"expand string", REG_EXPAND_SZ, Utf16(L"%X%,2,3,4,150,160,7,8", true), true},
                          {L"odd size", REG_SZ,
                           [] {
                               Bytes b = Utf16(L"1,2,3,4,150,160,7,", true);
                               b.push_back('8');
                               return b;
                           }(),
                           true},
                          {L"binary", REG_BINARY, Utf16(L"1,2,3,4,150,160,7,8", true), false},
                          {L"seven items", REG_SZ, Utf16(L"1,2,3,150,160,7,8", true), false}};
    for (const Case& c : cases) {
        SetWindowPos(window.get(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PutRaw(L"Position", c.type, c.data);
        store->LoadPosition();
        const RECT r = WindowRect();
        EXPECT_EQ(r.left, c.applied ? 150 : 10) << ToUtf8(c.what);
        EXPECT_EQ(r.top, c.applied ? 160 : 20) << ToUtf8(c.what);
    }
}

TEST_F(SettingsStoreTest, APositionOnNoDisplayIsBroughtOntoTheNearestWorkArea) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    const RECT before = WindowRect();

    PutRaw(L"Position", REG_SZ, Utf16(L"-1,-1,-1,-1,30000,-30000,30236,-29970", true));
    store->LoadPosition();
    const RECT moved = WindowRect();
    EXPECT_EQ(moved.right - moved.left, before.right - before.left);
    EXPECT_EQ(moved.right, work.right) << "against the nearest edge";
    EXPECT_EQ(moved.top, work.top);

    // Partly off the display, negative coordinates included, is still on a display: it stays.
    PutRaw(L"Position", REG_SZ, Utf16(L"-1,-1,-1,-1,-100,-10,136,20", true));
    store->LoadPosition();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window.get(), &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, -100);
    EXPECT_EQ(placement.rcNormalPosition.top, -10);

    // Item 6 not a number: only the left edge moves.
    PutRaw(L"Position", REG_SZ, Utf16(L"-1,-1,-1,-1,50,x,0,0", true));
    store->LoadPosition();
    GetWindowPlacement(window.get(), &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, 50);
    EXPECT_EQ(placement.rcNormalPosition.top, -10);
}

} // namespace
} // namespace qn::e2e
