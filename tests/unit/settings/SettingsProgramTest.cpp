#include "settings/SettingsProgram.h"
#include "common/RegistryValues.h"
#include "tests/unit/support/FakeFileNames.h"
#include "tests/unit/support/FakeRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

namespace qn {
namespace {

using testing::HasSubstr;
constexpr const char* kKey = "Software\\Harvelt\\Ambrola";
constexpr std::uint64_t kTotal = 4ULL << 30; // 4096 MB

TEST(ShortcutTest, HotKeyControlAndShortcutCodeBothWays) {
    struct Case {
        std::uint16_t control;
        std::uint16_t shortcut;
    };
    const Case cases[] = {
        {0x0341, 0x6041}, // Ctrl+Shift+A
        {0x0470, 0x8070}, // Alt+F1
        {0x0730, 0xE030}, // Ctrl+Shift+Alt+0
        {0x0A24, 0x4024}, // Ctrl+Home: the control's extended-key flag has no place in the code
        {0x092E, 0x202E}, // Shift+Delete
        {0x0000, 0x0000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortcutFromHotKeyControl(c.control), c.shortcut) << std::hex << c.control;
        EXPECT_EQ(HotKeyControlFromShortcut(c.shortcut), c.control) << std::hex << c.shortcut;
    }
    // The upper half of a stored code is ignored; a key beyond what the control holds shows as none.
    EXPECT_EQ(HotKeyControlFromShortcut(0x16041), 0x0341);
    EXPECT_EQ(HotKeyControlFromShortcut(0x6141), 0);
}

TEST(ProgramSettingsTest, ReadsDefaultsAndWritesDwordsOfTheStoredUnits) {
    fake::Registry registry;
    const ProgramSettings none = ReadProgramSettings(registry.Root());
    EXPECT_FALSE(registry.Exists(kKey)) << "reading creates nothing";
    EXPECT_FALSE(none.reserveWhenLow);
    EXPECT_EQ(none.reserveThresholdKB, 0);
    EXPECT_EQ(none.hotKey, 0);

    // Each value reaches its own field (the encodings themselves are the settings key's own suite's).
    registry.Put(kKey, "Cation", regtype::kDword, {2, 0, 0, 0});
    registry.Put(kKey, "Cycle", regtype::kDword, {45, 0, 0, 0});
    const ProgramSettings stored = ReadProgramSettings(registry.Root());
    EXPECT_TRUE(stored.askWhenLow);
    EXPECT_FALSE(stored.reserveWhenLow);
    EXPECT_EQ(stored.periodMinutes, 45);

    ProgramSettings wanted{true, 524288, false, 1048576, true, 45, true, 0x6041};
    wanted.targetFreeMB = 2048;
    ASSERT_TRUE(WriteProgramSettings(registry.Root(), wanted));
    const std::pair<const char*, std::vector<std::uint8_t>> expected[] = {
        {"Memory", {1, 0, 0, 0}},         {"Min Memory", {0, 0, 8, 0}},    {"Cation", {0, 0, 0, 0}},
        {"Cation Memory", {0, 0, 16, 0}}, {"Time", {1, 0, 0, 0}},          {"Cycle", {45, 0, 0, 0}},
        {"Use Hot Key", {1, 0, 0, 0}},    {"Hot Key", {0x41, 0x60, 0, 0}}, {"Target Free", {0, 8, 0, 0}}};
    for (const auto& [name, bytes] : expected) {
        const auto value = registry.Get(kKey, name);
        ASSERT_TRUE(value) << name;
        EXPECT_EQ(value->type, regtype::kDword) << name;
        EXPECT_EQ(value->data, bytes) << name;
    }
    EXPECT_EQ(registry.OpenKeys(), 0);

    // Where a policy keeps the key from changes, the values are still read, and writing them fails.
    registry.Find(kKey)->readOnly = true;
    EXPECT_EQ(ReadProgramSettings(registry.Root()).periodMinutes, 45);
    EXPECT_FALSE(WriteProgramSettings(registry.Root(), wanted));
    registry.Find(kKey)->denied = true;
    EXPECT_FALSE(WriteProgramSettings(registry.Root(), wanted));
}

TEST(SwitchFieldsTest, EverySwitchHasItsOwnSettingFieldsAndCheckBox) {
    for (std::size_t i = 0; i < std::size(kSwitchFields); ++i) {
        for (std::size_t j = i + 1; j < std::size(kSwitchFields); ++j) {
            const SwitchField& a = kSwitchFields[i];
            const SwitchField& b = kSwitchFields[j];
            EXPECT_TRUE(a.stored != b.stored && a.value != b.value && a.shown != b.shown && a.checkBox != b.checkBox)
                << a.stored->name << " and " << b.stored->name;
        }
    }
    EXPECT_EQ(std::size(kSwitchFields), 7u) << "every switch of ProgramSettings";
}

TEST(FormOfTest, ShowsWholeMegabytesAndAUsablePeriod) {
    const SettingsForm form = FormOf(ProgramSettings{true, 1500, true, -5, false, 0, true, 0x16041});
    EXPECT_EQ(form.reserveThresholdMB, "1");
    EXPECT_EQ(form.askThresholdMB, "0");
    EXPECT_EQ(form.periodMinutes, "30");
    EXPECT_EQ(form.hotKey, 0x6041);
    EXPECT_EQ(FormOf(ProgramSettings{false, 524288, false, 0, false, 119, false, 0}).reserveThresholdMB, "512");
    EXPECT_EQ(FormOf(ProgramSettings{false, 0, false, 0, false, 119, false, 0}).periodMinutes, "119");
    EXPECT_EQ(FormOf(ProgramSettings{false, 0, false, 0, false, 1440, false, 0}).periodMinutes, "1440");
    EXPECT_EQ(FormOf(ProgramSettings{false, 0, false, 0, false, 1441, false, 0}).periodMinutes, "30");
}

SettingsForm ValidForm() {
    return SettingsForm{true, "512", true, "1024", true, "60", true, 0x6041};
}

struct FormCase {
    const char* what;
    void (*change)(SettingsForm&);
    std::optional<FormField> error;
};

std::ostream& operator<<(std::ostream& out, const FormCase& c) {
    return out << c.what;
}

class SettingsFromFormTest : public testing::TestWithParam<FormCase> {};

TEST_P(SettingsFromFormTest, RefusesWhatTheMonitorCannotUse) {
    SettingsForm form = ValidForm();
    GetParam().change(form);
    const auto result = SettingsFromForm(form, ProgramSettings{}, kTotal);
    if (GetParam().error) {
        ASSERT_TRUE(std::holds_alternative<FormError>(result));
        EXPECT_EQ(std::get<FormError>(result).field, *GetParam().error);
        EXPECT_FALSE(std::get<FormError>(result).message.empty());
    } else {
        EXPECT_TRUE(std::holds_alternative<ProgramSettings>(result));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SettingsFromFormTest,
    testing::Values(
        FormCase{"valid", [](SettingsForm&) {}, std::nullopt},
        FormCase{"negative", [](SettingsForm& f) { f.reserveThresholdMB = "-5"; }, FormField::ReserveThreshold},
        FormCase{"fraction", [](SettingsForm& f) { f.reserveThresholdMB = "1.5"; }, FormField::ReserveThreshold},
        FormCase{"empty", [](SettingsForm& f) { f.askThresholdMB = ""; }, FormField::AskThreshold},
        FormCase{"letters", [](SettingsForm& f) { f.askThresholdMB = "12MB"; }, FormField::AskThreshold},
        FormCase{"beyond the key", [](SettingsForm& f) { f.reserveThresholdMB = "2097152"; },
                 FormField::ReserveThreshold},
        FormCase{"zero while on", [](SettingsForm& f) { f.reserveThresholdMB = "0"; }, FormField::ReserveThreshold},
        FormCase{"zero while off",
                 [](SettingsForm& f) {
                     f.reserveWhenLow = false;
                     f.reserveThresholdMB = "0";
                 },
                 std::nullopt},
        FormCase{"all memory", [](SettingsForm& f) { f.reserveThresholdMB = "4096"; }, FormField::ReserveThreshold},
        FormCase{"just below", [](SettingsForm& f) { f.reserveThresholdMB = "4095"; }, std::nullopt},
        FormCase{"prompt at all memory", [](SettingsForm& f) { f.askThresholdMB = "5000"; }, FormField::AskThreshold},
        FormCase{"all memory while off",
                 [](SettingsForm& f) {
                     f.askWhenLow = false;
                     f.askThresholdMB = "5000";
                 },
                 std::nullopt},
        FormCase{"cycle 0", [](SettingsForm& f) { f.periodMinutes = "0"; }, FormField::Period},
        FormCase{"cycle beyond a day", [](SettingsForm& f) { f.periodMinutes = "1441"; }, FormField::Period},
        FormCase{"cycle 0 while off",
                 [](SettingsForm& f) {
                     f.periodic = false;
                     f.periodMinutes = "0";
                 },
                 FormField::Period},
        FormCase{"cycle 119", [](SettingsForm& f) { f.periodMinutes = "119"; }, std::nullopt},
        FormCase{"cycle of a day", [](SettingsForm& f) { f.periodMinutes = "1440"; }, std::nullopt},
        FormCase{"no key", [](SettingsForm& f) { f.hotKey = 0x6000; }, FormField::HotKey},
        FormCase{"target", [](SettingsForm& f) { f.targetFreeMB = "2048"; }, std::nullopt},
        FormCase{"target at a threshold", [](SettingsForm& f) { f.targetFreeMB = "1024"; }, FormField::TargetFree},
        FormCase{"target at a threshold that is off",
                 [](SettingsForm& f) {
                     f.askWhenLow = false;
                     f.targetFreeMB = "1024";
                 },
                 std::nullopt},
        FormCase{"target at all memory", [](SettingsForm& f) { f.targetFreeMB = "4096"; }, std::nullopt},
        FormCase{"target beyond it", [](SettingsForm& f) { f.targetFreeMB = "4097"; }, FormField::TargetFree},
        FormCase{"target letters", [](SettingsForm& f) { f.targetFreeMB = "2GB"; }, FormField::TargetFree},
        FormCase{"no key while off",
                 [](SettingsForm& f) {
                     f.useHotKey = false;
                     f.hotKey = 0;
                 },
                 std::nullopt}));

TEST(SettingsFromFormTest, StoresKilobytesAndKeepsWhatWasNotChanged) {
    SettingsForm form = ValidForm();
    form.reserveThresholdMB = " ５１２ ";
    form.askThresholdMB = "1";
    ProgramSettings stored{false, 0, true, 1500, false, 0, false, 0x16041};
    stored.language = 7; // a later version's choice: shown as following Windows
    const auto result = SettingsFromForm(form, stored, kTotal);
    ASSERT_TRUE(std::holds_alternative<ProgramSettings>(result));
    const ProgramSettings& s = std::get<ProgramSettings>(result);
    EXPECT_EQ(s.reserveThresholdKB, 512 * 1024);
    EXPECT_EQ(s.askThresholdKB, 1500) << "shown as 1 MB and left alone";
    EXPECT_EQ(s.periodMinutes, 60);
    EXPECT_EQ(s.hotKey, 0x16041) << "unchanged hot key keeps its stored code";
    EXPECT_EQ(s.language, 7) << "an unchanged language choice keeps its stored value";

    form.askThresholdMB = "2";
    form.hotKey = 0x8070;
    form.language = 2;
    const ProgramSettings changed = std::get<ProgramSettings>(SettingsFromForm(form, stored, kTotal));
    EXPECT_EQ(changed.askThresholdKB, 2048);
    EXPECT_EQ(changed.hotKey, 0x8070);
    EXPECT_EQ(changed.language, 2);
}

TEST(SettingsFromFormTest, TheFormAsShownIsAcceptedForTheLargestStoredThreshold) {
    // The largest kilobytes the key holds show as 2,097,152 MB, one more than a typed threshold may be.
    const ProgramSettings stored{false, INT32_MAX, false, INT32_MAX, true, 60, false, 0};
    const auto result = SettingsFromForm(FormOf(stored), stored, kTotal);
    ASSERT_TRUE(std::holds_alternative<ProgramSettings>(result)) << std::get<FormError>(result).message;
    EXPECT_EQ(std::get<ProgramSettings>(result).reserveThresholdKB, INT32_MAX);
}

TEST(SettingsFromFormTest, TheRefusalOfAThresholdNamesThePhysicalMemory) {
    // The total as the dialog shows it, in whole megabytes, is refused as well.
    SettingsForm shownTotal = ValidForm();
    shownTotal.reserveThresholdMB = "4096";
    EXPECT_TRUE(std::holds_alternative<FormError>(SettingsFromForm(shownTotal, ProgramSettings{}, kTotal + 1000)));

    SettingsForm form = ValidForm();
    form.reserveThresholdMB = "8192";
    const auto result = SettingsFromForm(form, ProgramSettings{}, kTotal);
    ASSERT_TRUE(std::holds_alternative<FormError>(result));
    EXPECT_THAT(std::get<FormError>(result).message, HasSubstr("4096 MB"));
}

TEST(LastReservationLineTest, TellsTheStoredRunInLocalTimeOrThatThereWasNone) {
    EXPECT_EQ(LastReservationLine(std::nullopt, {}), "前回の確保: まだありません");
    // Two digits each but the year; the seconds are not shown, nor do they round the minute up. The figures in the
    // locale's separators, the run's seconds rounded to one decimal.
    const ReservationRecord record{46389.0 + (3 * 3600 + 4 * 60 + 59.9) / 86400.0, 2048, 1234.56, 24105.5, 4.25};
    EXPECT_EQ(LastReservationLine(record, {".", ","}),
              "前回の確保: 2027/01/02 03:04  空き 1.234,56MB → 24.105,50MB（4,3 秒）");
}

class FakeLauncher : public MonitorLauncher {
public:
    bool running = false;
    bool endsWithinWait = false;
    std::optional<std::string> failure;
    std::vector<std::pair<std::string, std::string>> started;
    std::vector<std::uint32_t> waits;
    std::vector<std::string> errors;
    bool MonitorRunning() override { return running; }
    bool WaitUntilNoMonitorRuns(std::uint32_t ms) override {
        waits.push_back(ms);
        running = running && !endsWithinWait;
        return !running;
    }
    std::optional<std::string> StartMonitor(const std::string& path, const std::string& directory) override {
        started.emplace_back(path, directory);
        return failure;
    }
    void ShowError(const std::string& message) override { errors.push_back(message); }
};

TEST(RestartMonitorTest, AfterAFreshHandOverAMonitorStillEndingIsAwaitedAndAFailedStartIsReported) {
    // A monitor runs; the note of the hand-over is fresh; that monitor ends within the wait; the start fails.
    // Then: the waits, whether the monitor is started, and whether an error is shown.
    const std::tuple<bool, bool, bool, bool, std::size_t, bool, bool> cases[] = {
        {true, true, true, false, 1, true, false},   {true, true, false, false, 1, false, false},
        {true, false, true, false, 0, false, false}, {false, true, false, false, 0, true, false},
        {false, false, false, true, 0, true, true},
    };
    for (const auto& [running, fresh, ends, fails, waits, starts, reported] : cases) {
        FakeLauncher launcher;
        launcher.running = running;
        launcher.endsWithinWait = ends;
        if (fails) {
            launcher.failure = "The system cannot find the file specified.";
        }
        RestartMonitor(launcher, "C:\\Tools\\Dunfel.exe", fresh);
        EXPECT_EQ(launcher.waits, std::vector<std::uint32_t>(waits, 10'000u)) << running << fresh << ends;
        EXPECT_EQ(launcher.started.size(), starts ? 1u : 0u) << running << fresh << ends;
        EXPECT_EQ(launcher.errors, reported
                                       ? std::vector<std::string>{"常駐モニタ Mossik.exe を起動できませんでした｡\r\n"
                                                                  "The system cannot find the file specified."}
                                       : std::vector<std::string>{});
    }
}

TEST(RestartMonitorTest, StartsTheMonitorFromItsOwnFolderUnlessOneRuns) {
    FakeLauncher launcher;
    RestartMonitor(launcher, "C:\\表\\Dunfel.exe", false);
    RestartMonitor(launcher, "C:\\Dunfel.exe", false);
    EXPECT_THAT(launcher.started,
                testing::ElementsAre(std::pair<std::string, std::string>{"C:\\表\\Mossik.exe", "C:\\表"},
                                     std::pair<std::string, std::string>{"C:\\Mossik.exe", "C:\\"}));
    launcher.running = true;
    RestartMonitor(launcher, "C:\\Tools\\Dunfel.exe", false);
    EXPECT_EQ(launcher.started.size(), 2u);
}

TEST(SaveSettingsTest, WhatOkCannotStoreLeavesNothingChanged) {
    constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::vector<std::uint8_t> ourCommand = StringDataOf("\"C:\\QeltoNimbi\\Mossik.exe\"");
    enum Refuses { Nothing, RunReading, RunChanges, SettingsKey, LastValue };
    const struct {
        bool ours; // the Run value, REG_EXPAND_SZ, starts this folder's monitor, and the box showed it
        bool wanted;
        Refuses refuses;
        SaveFailure result;
    } cases[] = {
        {false, false, RunReading, SaveFailure::None},     {false, true, RunChanges, SaveFailure::AutoStart},
        {false, true, SettingsKey, SaveFailure::Settings}, {true, false, SettingsKey, SaveFailure::Settings},
        {true, false, Nothing, SaveFailure::None},         {false, false, LastValue, SaveFailure::Settings},
    };
    fake::FileNames names;
    for (const auto& c : cases) {
        fake::Registry registry;
        if (c.ours) {
            registry.Put(kRun, "QeltoNimbi", regtype::kExpandString, ourCommand);
        }
        registry.Make(kRun)->denied = c.refuses == RunReading;
        registry.Make(kRun)->readOnly = c.refuses == RunChanges;
        registry.Make(kKey)->readOnly = c.refuses == SettingsKey;
        registry.Make(kKey)->refusedValue = c.refuses == LastValue ? "hot key" : "";
        registry.Put(kKey, "Memory", regtype::kString, StringDataOf("1"));
        const ProgramSettings entered{true, 524288, false, 0, true, 45, false, 0};
        EXPECT_EQ(SaveSettings(registry.Root(), entered, "C:\\QeltoNimbi", c.ours, c.wanted, names), c.result);
        const bool saved = c.result == SaveFailure::None;
        // Every value written before the refused one is put back as it was: absent, or of its own type.
        EXPECT_EQ(registry.Get(kKey, "Cycle").has_value(), saved) << c.refuses;
        EXPECT_EQ(registry.Get(kKey, "Memory")->type, saved ? regtype::kDword : regtype::kString) << c.refuses;
        // Put back byte for byte, REG_EXPAND_SZ as it was.
        const auto run = registry.Get(kRun, "QeltoNimbi");
        EXPECT_EQ(run.has_value(), saved ? c.wanted : c.ours) << c.refuses;
        EXPECT_TRUE(saved || !run || (run->type == regtype::kExpandString && run->data == ourCommand)) << c.refuses;
    }
}

} // namespace
} // namespace qn
