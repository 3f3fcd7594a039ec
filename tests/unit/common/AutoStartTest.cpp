#include "common/AutoStart.h"
#include "common/DisplayScale.h"
#include "common/RegistryValues.h"
#include "tests/unit/support/FakeFileNames.h"
#include "tests/unit/support/FakeRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

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
// 'n' off) and the guards of the Run key and of the switch's key (' ' none, 'r' values readable only, 'd' denied).
struct RunState {
    std::string run;
    char approval = '-';
    const char* guards = "  ";
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
    for (const int i : {0, 1}) {
        const auto key = registry->Make(i == 0 ? std::string_view(kRunKeyPath) : kApproved);
        key->readOnly = setup.guards[i] == 'r';
        key->denied = setup.guards[i] == 'd';
    }
    return registry;
}

TEST(AutoStartTest, TheBoxIsOnOnlyForThisFoldersRunValueNotSwitchedOff) {
    using enum AutoStartState;
    const std::pair<RunState, AutoStartState> cases[] = {
        {{""}, Off},
        {{kOurs}, On},
        {{kOthers}, Off},
        {{kExpanded}, On},
        {{kOurs, 'y'}, On},
        {{kOurs, 'n'}, Off},
        {{kOurs, '-', "r "}, On},
        {{kOurs, '-', "d "}, Unreadable},
        {{kOurs, '-', " d"}, Unreadable},
    };
    fake::FileNames names;
    for (const auto& [setup, state] : cases) {
        const auto registry = Prepared(setup);
        EXPECT_EQ(ReadAutoStart(registry->Root(), kDir, names), state) << setup.run << setup.approval << setup.guards;
        EXPECT_EQ(registry->OpenKeys(), 0);
    }
}

TEST(AutoStartTest, ChangesTouchOnlyOurValuesAndFailWhenOneStays) {
    enum Action { Check, Uncheck, Remove };
    const std::tuple<RunState, Action, bool, RunState> cases[] = {
        {{""}, Check, true, {kOurs}},
        {{kOurs, 'n'}, Check, true, {kOurs}},
        {{"", '-', "r "}, Check, false, {""}},
        {{kOurs, 'y'}, Uncheck, true, {""}},
        {{kOthers, 'n'}, Uncheck, true, {kOthers, 'n'}},
        {{kOurs, 'y', "r "}, Uncheck, false, {kOurs, 'y'}},
        {{kOurs, 'n'}, Remove, true, {""}},
        {{kOthers, 'n'}, Remove, true, {kOthers, 'n'}},
        {{"", 'n'}, Remove, true, {""}},
        {{kOurs, 'y', "r "}, Remove, false, {kOurs, 'y'}},
        {{kOurs, 'y', "d "}, Remove, false, {kOurs, 'y'}},
        {{kOurs, 'y', " r"}, Remove, false, {"", 'y'}},
    };
    fake::FileNames names;
    for (const auto& [setup, action, succeeds, left] : cases) {
        SCOPED_TRACE(setup.run + setup.approval + setup.guards + "CUR"[action]);
        const auto registry = Prepared(setup);
        EXPECT_EQ(action == Remove ? RemoveAutoStartOf(registry->Root(), kDir, names)
                                   : SetAutoStart(registry->Root(), kDir, action == Check, names),
                  succeeds);
        const auto run = registry->Get(kRunKeyPath, kAutoStartValue);
        const auto approval = registry->Get(kApproved, kAutoStartValue);
        EXPECT_EQ(run ? TextOfStringData(run->data) : "", left.run);
        EXPECT_EQ(approval ? (approval->data[0] == 2 ? 'y' : 'n') : '-', left.approval);
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
