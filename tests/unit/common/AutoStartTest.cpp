#include "common/AutoStart.h"
#include "common/DisplayScale.h"
#include "common/RegistryValues.h"
#include "tests/unit/support/FakeFileNames.h"
#include "tests/unit/support/FakeRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

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
    EXPECT_TRUE(StartsProgramIn("\\\\?\\UNC\\server\\share\\Mossik.exe", "\\\\server\\share\\", names));
    EXPECT_EQ(AutoStartCommand(kDir), "\"C:\\Program Files\\QeltoNimbi\\Mossik.exe\"");
}

// The Run value ("": none; REG_EXPAND_SZ when it starts with %), Task Manager's switch for it ('-' none, 'y' on,
// 'n' off) and the guard of each key (' ' none, 'r' values readable only, 'd' denied).
struct RunState {
    std::string run;
    char approval;
    char runGuard;
    char approvalGuard;
};
constexpr const char* kApproved = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr const char* kExpanded = "%ProgramFiles%\\QeltoNimbi\\Mossik.exe";

std::unique_ptr<fake::Registry> Prepared(const RunState& setup) {
    auto registry = std::make_unique<fake::Registry>();
    if (!setup.run.empty()) {
        const auto type = setup.run[0] == '%' ? regtype::kExpandString : regtype::kString;
        registry->Put(kRunKeyPath, kAutoStartValue, type, StringDataOf(setup.run));
    }
    if (setup.approval != '-') {
        registry->Put(kApproved, kAutoStartValue, regtype::kBinary,
                      {static_cast<std::uint8_t>(setup.approval == 'y' ? 2 : 3), 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    }
    for (const auto& [path, guard] :
         {std::pair{kRunKeyPath.data(), setup.runGuard}, {kApproved, setup.approvalGuard}}) {
        registry->Make(path)->readOnly = guard == 'r';
        registry->Make(path)->denied = guard == 'd';
    }
    return registry;
}

// What a setup holds afterwards, in its own terms.
RunState Left(const fake::Registry& registry) {
    const auto value = registry.Get(kRunKeyPath, kAutoStartValue);
    const auto approval = registry.Get(kApproved, kAutoStartValue);
    return {value ? TextOfStringData(value->data) : "", approval ? (approval->data[0] == 2 ? 'y' : 'n') : '-', ' ',
            ' '};
}

TEST(AutoStartTest, TheBoxIsOnOnlyForThisFoldersRunValueNotSwitchedOff) {
    const std::pair<RunState, AutoStartState> cases[] = {
        {{"", '-', ' ', ' '}, AutoStartState::Off},           {{kOurs, '-', ' ', ' '}, AutoStartState::On},
        {{kOthers, '-', ' ', ' '}, AutoStartState::Off},      {{kExpanded, '-', ' ', ' '}, AutoStartState::On},
        {{kOurs, 'y', ' ', ' '}, AutoStartState::On},         {{kOurs, 'n', ' ', ' '}, AutoStartState::Off},
        {{kOurs, '-', 'r', ' '}, AutoStartState::On},         {{kOurs, '-', 'd', ' '}, AutoStartState::Unreadable},
        {{kOurs, '-', ' ', 'd'}, AutoStartState::Unreadable},
    };
    fake::FileNames names;
    for (const auto& [setup, state] : cases) {
        const auto registry = Prepared(setup);
        EXPECT_EQ(ReadAutoStart(registry->Root(), kDir, names), state) << setup.run << setup.approval;
        EXPECT_EQ(registry->OpenKeys(), 0);
    }
}

TEST(AutoStartTest, ChangesTouchOnlyOurValuesAndFailWhenOneStays) {
    enum Action { Check, Uncheck, Remove };
    struct Case {
        RunState setup;
        Action action;
        bool succeeds;
        const char* run;
        char approval;
    };
    const Case cases[] = {
        {{"", '-', ' ', ' '}, Check, true, kOurs, '-'},
        {{kOurs, 'n', ' ', ' '}, Check, true, kOurs, '-'},
        {{"", '-', 'r', ' '}, Check, false, "", '-'},
        {{kOurs, 'y', ' ', ' '}, Uncheck, true, "", '-'},
        {{kOthers, 'n', ' ', ' '}, Uncheck, true, kOthers, 'n'},
        {{kOurs, 'y', 'r', ' '}, Uncheck, false, kOurs, 'y'},
        {{kOurs, 'n', ' ', ' '}, Remove, true, "", '-'},
        {{kOthers, 'n', ' ', ' '}, Remove, true, kOthers, 'n'},
        {{"", 'n', ' ', ' '}, Remove, true, "", '-'},
        {{kOurs, 'y', 'r', ' '}, Remove, false, kOurs, 'y'},
        {{kOurs, 'y', 'd', ' '}, Remove, false, kOurs, 'y'},
        {{kOurs, 'y', ' ', 'r'}, Remove, false, "", 'y'},
    };
    fake::FileNames names;
    for (const Case& c : cases) {
        const auto registry = Prepared(c.setup);
        const bool done = c.action == Remove ? RemoveAutoStartOf(registry->Root(), kDir, names)
                                             : SetAutoStart(registry->Root(), kDir, c.action == Check, names);
        const RunState left = Left(*registry);
        EXPECT_EQ(done, c.succeeds) << c.setup.run << c.setup.approval << c.action;
        EXPECT_EQ(left.run, c.run) << c.setup.run << c.setup.approval << c.action;
        EXPECT_EQ(left.approval, c.approval) << c.setup.run << c.setup.approval << c.action;
        EXPECT_EQ(registry->OpenKeys(), 0);
    }
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
