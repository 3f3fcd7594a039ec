#include "common/AutoStart.h"
#include "common/DisplayScale.h"
#include "common/RegistryValues.h"
#include "tests/unit/support/FakeRegistry.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

constexpr const char* kDir = "C:\\Program Files\\QeltoNimbi";

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
        {"\"C:\\Program Files\\QeltoNimbi\\Qelto.exe\"", false, true},
        {"\"C:\\Program Files\\QeltoNimbi\\Sub\\Mossik.exe\"", false, false},
        {"\"C:\\Program Files\\QeltoNimbi2\\Mossik.exe\"", false, false},
        {"\"D:\\QeltoNimbi\\Mossik.exe\"", false, false},
        {"Mossik.exe", false, false},
        {"\"\"", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartsMonitorIn(c.command, kDir), c.monitor) << c.command;
        EXPECT_EQ(StartsProgramIn(c.command, kDir), c.program) << c.command;
    }
    EXPECT_TRUE(StartsMonitorIn("\"C:\\Mossik.exe\"", "C:\\"));
    EXPECT_EQ(AutoStartCommand(kDir), "\"C:\\Program Files\\QeltoNimbi\\Mossik.exe\"");
}

TEST(AutoStartTest, TheDialogWritesAndDeletesOnlyThisFoldersValue) {
    fake::Registry registry;
    EXPECT_FALSE(AutoStartEnabled(registry.Root(), kDir));
    ASSERT_TRUE(SetAutoStart(registry.Root(), kDir, true));
    EXPECT_TRUE(AutoStartEnabled(registry.Root(), kDir));
    EXPECT_EQ(ReadText(*registry.Root().OpenSubkey(kRunKeyPath), kAutoStartValue), AutoStartCommand(kDir));
    ASSERT_TRUE(SetAutoStart(registry.Root(), kDir, false));
    EXPECT_FALSE(registry.Get(kRunKeyPath, kAutoStartValue));

    // Another copy's value is neither shown as ours nor deleted by unchecking, nor by this folder's removal.
    const std::string elsewhere = "\"D:\\Other\\Mossik.exe\"";
    registry.Put(kRunKeyPath, kAutoStartValue, regtype::kString, StringDataOf(elsewhere));
    EXPECT_FALSE(AutoStartEnabled(registry.Root(), kDir));
    EXPECT_TRUE(SetAutoStart(registry.Root(), kDir, false));
    EXPECT_TRUE(RemoveAutoStartOf(registry.Root(), kDir));
    EXPECT_EQ(ReadText(*registry.Root().OpenSubkey(kRunKeyPath), kAutoStartValue), elsewhere);
    EXPECT_EQ(registry.OpenKeys(), 0);
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
