#include "common/AutoStart.h"
#include "common/DisplayScale.h"
#include "common/RegistryValues.h"
#include "tests/unit/support/FakeFileNames.h"
#include "tests/unit/support/FakeRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace qn {
namespace {

constexpr const char* kDir = "C:\\Program Files\\QeltoNimbi";
constexpr const char* kOurs = "\"C:\\Program Files\\QeltoNimbi\\Mossik.exe\"";
constexpr const char* kOthers = "\"D:\\Other\\Mossik.exe\"";

TEST(AutoStartTest, WhichCommandsStartThisFoldersMonitorOrAProgramInIt) {
    struct Case {
        const char* command;
        bool monitor;
        bool program;
    };
    const Case cases[] = {
        {"\"C:\\Program Files\\QeltoNimbi\\Mossik.exe\"", true, true},
        {"  \"c:\\program files\\qeltonimbi\\MOSSIK.EXE\" C", true, true},
        {"C:/Program Files/QeltoNimbi/Mossik.exe", true, true},
        {"C:\\Program Files\\QeltoNimbi\\Mossik.exe", true, true},
        {"\"\\\\?\\C:\\Program Files\\QeltoNimbi\\Mossik.exe\"", true, true},
        {"\"C:\\Program Files\\QeltoNimbi\\Qelto.exe\"", false, true},
        {"\"C:\\Program Files\\QeltoNimbi\\Sub\\Mossik.exe\"", false, false},
        {"\"C:\\Program Files\\QeltoNimbi2\\Mossik.exe\"", false, false},
        {"\"D:\\QeltoNimbi\\Mossik.exe\"", false, false},
        {"Mossik.exe", false, false},
        {"\"\"", false, false},
        {"", false, false},
    };
    fake::FileNames names;
    for (const Case& c : cases) {
        EXPECT_EQ(StartsMonitorIn(c.command, kDir, names), c.monitor) << c.command;
        EXPECT_EQ(StartsProgramIn(c.command, kDir, names), c.program) << c.command;
    }
    EXPECT_TRUE(StartsMonitorIn("\"C:\\Mossik.exe\"", "C:\\", names));
    EXPECT_TRUE(StartsProgramIn("\"C:\\Qelto.exe\"", "C:\\", names));
    EXPECT_TRUE(StartsProgramIn("\\\\?\\UNC\\server\\share\\Mossik.exe", "\\\\server\\share\\", names));
    EXPECT_EQ(AutoStartCommand(kDir), "\"C:\\Program Files\\QeltoNimbi\\Mossik.exe\"");
}

// The registry around the log-on start: the Run value and its switch in Task Manager, either key guarded.
enum class Guard { None, ReadOnly, Denied };
struct RunSetup {
    RunSetup(std::uint32_t valueType = regtype::kNone, std::string text = {}, std::vector<std::uint8_t> bytes = {},
             Guard onRun = Guard::None, Guard onApproval = Guard::None)
        : type(valueType), command(std::move(text)), approval(std::move(bytes)), runGuard(onRun),
          approvalGuard(onApproval) {}
    std::uint32_t type; // kNone: no Run value
    std::string command;
    std::vector<std::uint8_t> approval; // empty: no StartupApproved value
    Guard runGuard;
    Guard approvalGuard;
};

const std::vector<std::uint8_t> kEnabled = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const std::vector<std::uint8_t> kDisabled = {3, 0, 0, 0, 0x17, 0x79, 0xBD, 0x01, 0x17, 0xD9, 0xD1, 0x01};
constexpr const char* kApprovedPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

class AutoStartRegistryTest : public testing::Test {
protected:
    void Prepare(const RunSetup& setup) {
        registry = std::make_unique<fake::Registry>();
        registry->Make(kRunKeyPath);
        if (setup.type != regtype::kNone) {
            registry->Put(kRunKeyPath, kAutoStartValue, setup.type, StringDataOf(setup.command));
        }
        if (!setup.approval.empty()) {
            registry->Put(kApprovedPath, kAutoStartValue, regtype::kBinary, setup.approval);
        }
        Guarded(kRunKeyPath, setup.runGuard);
        if (setup.approvalGuard != Guard::None) {
            Guarded(kApprovedPath, setup.approvalGuard);
        }
        names.environment["LOCALAPPDATA"] = "C:\\Users\\Ö\\AppData\\Local";
    }
    void Guarded(std::string_view path, Guard guard) {
        const auto node = registry->Make(path);
        node->readOnly = guard == Guard::ReadOnly;
        node->denied = guard == Guard::Denied;
    }
    std::optional<std::string> Run() const {
        const auto value = registry->Get(kRunKeyPath, kAutoStartValue);
        return value ? std::optional(TextOfStringData(value->data)) : std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> Approval() const {
        const auto value = registry->Get(kApprovedPath, kAutoStartValue);
        return value ? std::optional(value->data) : std::nullopt;
    }

    std::unique_ptr<fake::Registry> registry;
    fake::FileNames names;
};

TEST_F(AutoStartRegistryTest, TheBoxIsOnOnlyForThisFoldersRunValueNotSwitchedOff) {
    constexpr auto kSz = regtype::kString;
    struct Case {
        const char* what;
        RunSetup setup;
        const char* directory;
        AutoStartState state;
    };
    const Case cases[] = {
        {"no value", {}, kDir, AutoStartState::Off},
        {"ours", {kSz, kOurs}, kDir, AutoStartState::On},
        {"another copy's", {kSz, kOthers}, kDir, AutoStartState::Off},
        {"not text", {regtype::kBinary, kOurs}, kDir, AutoStartState::Off},
        {"expanded",
         {regtype::kExpandString, "\"%LocalAppData%\\QeltoNimbi\\Mossik.exe\""},
         "C:\\Users\\Ö\\AppData\\Local\\QeltoNimbi",
         AutoStartState::On},
        {"REG_SZ is not expanded",
         {kSz, "%LOCALAPPDATA%\\QeltoNimbi\\Mossik.exe"},
         "C:\\Users\\Ö\\AppData\\Local\\QeltoNimbi",
         AutoStartState::Off},
        {"switched on", {kSz, kOurs, kEnabled}, kDir, AutoStartState::On},
        {"switched off", {kSz, kOurs, kDisabled}, kDir, AutoStartState::Off},
        {"switched off, other form", {kSz, kOurs, {7, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}}, kDir, AutoStartState::Off},
        {"switched on, other form", {kSz, kOurs, {6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}, kDir, AutoStartState::On},
        {"Run only readable", {kSz, kOurs, {}, Guard::ReadOnly}, kDir, AutoStartState::On},
        {"Run unreadable", {kSz, kOurs, {}, Guard::Denied}, kDir, AutoStartState::Unreadable},
        {"switch unreadable", {kSz, kOurs, {}, Guard::None, Guard::Denied}, kDir, AutoStartState::Unreadable},
        {"another's switch unreadable", {kSz, kOthers, {}, Guard::None, Guard::Denied}, kDir, AutoStartState::Off},
    };
    for (const Case& c : cases) {
        Prepare(c.setup);
        EXPECT_EQ(ReadAutoStart(registry->Root(), c.directory, names), c.state) << c.what;
        EXPECT_EQ(registry->OpenKeys(), 0) << c.what;
    }
}

TEST_F(AutoStartRegistryTest, ChangesTouchOnlyOurValuesAndFailWhenOneStays) {
    constexpr auto kSz = regtype::kString;
    enum class Action { Check, Uncheck, Remove };
    struct Case {
        const char* what;
        RunSetup setup;
        Action action;
        bool succeeds;
        std::optional<std::string> run;
        std::optional<std::vector<std::uint8_t>> approval;
    };
    const Case cases[] = {
        {"check", {}, Action::Check, true, kOurs, std::nullopt},
        {"check clears the switch", {kSz, kOurs, kDisabled}, Action::Check, true, kOurs, std::nullopt},
        {"check keeps a switch that allows", {kSz, kOurs, kEnabled}, Action::Check, true, kOurs, kEnabled},
        {"check, Run guarded",
         {regtype::kNone, "", {}, Guard::ReadOnly},
         Action::Check,
         false,
         std::nullopt,
         std::nullopt},
        {"check, another's value guarded",
         {kSz, kOthers, {}, Guard::ReadOnly},
         Action::Check,
         false,
         kOthers,
         std::nullopt},
        {"uncheck deletes both", {kSz, kOurs, kEnabled}, Action::Uncheck, true, std::nullopt, std::nullopt},
        {"uncheck leaves another copy's", {kSz, kOthers, kDisabled}, Action::Uncheck, true, kOthers, kDisabled},
        {"uncheck, Run guarded", {kSz, kOurs, kEnabled, Guard::ReadOnly}, Action::Uncheck, false, kOurs, kEnabled},
        {"uncheck, Run unreadable", {kSz, kOurs, {}, Guard::Denied}, Action::Uncheck, false, kOurs, std::nullopt},
        {"remove deletes both", {kSz, kOurs, kDisabled}, Action::Remove, true, std::nullopt, std::nullopt},
        {"remove takes any program of the folder",
         {kSz, "\"C:\\Program Files\\QeltoNimbi\\Qelto.exe\" /E:x"},
         Action::Remove,
         true,
         std::nullopt,
         std::nullopt},
        {"remove leaves another copy's", {kSz, kOthers, kDisabled}, Action::Remove, true, kOthers, kDisabled},
        {"remove takes a switch left alone",
         {regtype::kNone, "", kDisabled},
         Action::Remove,
         true,
         std::nullopt,
         std::nullopt},
        {"remove, Run guarded", {kSz, kOurs, kEnabled, Guard::ReadOnly}, Action::Remove, false, kOurs, kEnabled},
        {"remove, Run unreadable", {kSz, kOurs, kEnabled, Guard::Denied}, Action::Remove, false, kOurs, kEnabled},
        {"remove, switch guarded",
         {kSz, kOurs, kEnabled, Guard::None, Guard::ReadOnly},
         Action::Remove,
         false,
         std::nullopt,
         kEnabled},
        {"remove, nothing there, switch guarded",
         {regtype::kNone, "", {}, Guard::None, Guard::ReadOnly},
         Action::Remove,
         true,
         std::nullopt,
         std::nullopt},
    };
    for (const Case& c : cases) {
        Prepare(c.setup);
        RegistryKey& root = registry->Root();
        const bool done = c.action == Action::Remove ? RemoveAutoStartOf(root, kDir, names)
                                                     : SetAutoStart(root, kDir, c.action == Action::Check, names);
        EXPECT_EQ(done, c.succeeds) << c.what;
        EXPECT_EQ(Run(), c.run) << c.what;
        EXPECT_EQ(Approval(), c.approval) << c.what;
        EXPECT_EQ(registry->OpenKeys(), 0) << c.what;
    }
}

TEST_F(AutoStartRegistryTest, ARecordPutsBothValuesBackAsTheyWere) {
    Prepare({regtype::kExpandString, "%LOCALAPPDATA%\\QeltoNimbi\\Mossik.exe", kDisabled});
    const auto record = ReadAutoStartRecord(registry->Root());
    ASSERT_TRUE(record);
    const auto before = registry->Get(kRunKeyPath, kAutoStartValue);
    ASSERT_TRUE(SetAutoStart(registry->Root(), "C:\\Users\\Ö\\AppData\\Local\\QeltoNimbi", false, names));
    ASSERT_FALSE(Run());
    EXPECT_TRUE(RestoreAutoStartRecord(registry->Root(), *record));
    const auto after = registry->Get(kRunKeyPath, kAutoStartValue);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->type, before->type);
    EXPECT_EQ(after->data, before->data);
    EXPECT_EQ(Approval(), kDisabled);

    Prepare({});
    const auto empty = ReadAutoStartRecord(registry->Root());
    ASSERT_TRUE(SetAutoStart(registry->Root(), kDir, true, names));
    EXPECT_TRUE(RestoreAutoStartRecord(registry->Root(), *empty));
    EXPECT_FALSE(Run());

    Prepare({regtype::kString, kOurs, {}, Guard::Denied});
    EXPECT_FALSE(ReadAutoStartRecord(registry->Root()));
}

TEST(DisplayScaleTest, DesignSizesAtCommonScales) {
    struct Case {
        int design;
        unsigned dpi;
        int scaled;
    };
    const Case cases[] = {{230, 96, 230}, {230, 120, 288}, {230, 144, 345}, {230, 192, 460},
                          {22, 120, 28},  {22, 144, 33},   {12, 144, 18},   {-3, 144, -5}};
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleForDpi(c.design, c.dpi), c.scaled) << c.design << " at " << c.dpi;
    }
}

} // namespace
} // namespace qn
