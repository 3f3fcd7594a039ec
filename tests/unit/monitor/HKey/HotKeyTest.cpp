#include "monitor/HKey/HotKeyCore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qn {
namespace {

using testing::ElementsAre;

TEST(SplitShortcutTest, KeyAndModifiers) {
    struct Case {
        std::uint32_t shortcut;
        HotKeyCombination expected;
    };
    const Case cases[] = {
        {0xC07B, {0x7B, kModAlt | kModControl}}, // Ctrl+Alt+F12
        {0x0041, {0x41, 0}},                     // a bare key
        {0x2041, {0x41, kModShift}},
        {0x4041, {0x41, kModControl}},
        {0x8041, {0x41, kModAlt}},
        {0xE041, {0x41, kModAlt | kModControl | kModShift}},
        {0x1FFF, {0x1FFF, 0}},
        {0x1C07B, {0x7B, kModAlt | kModControl}}, // above 0xFFFF: modulo 0x10000
        {0xFFFF0041, {0x41, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitShortcut(c.shortcut), c.expected) << std::hex << c.shortcut;
    }
}

class FakeHotKeys : public HotKeyPort {
public:
    std::map<std::int32_t, HotKeyCombination> registered;
    std::vector<std::string> calls;
    bool refuse = false;
    bool refuseNoRepeat = false; // as Windows Vista and earlier do

    bool Register(std::int32_t index, const HotKeyCombination& combination) override {
        calls.push_back("register " + std::to_string(index));
        if (refuse || (refuseNoRepeat && (combination.modifiers & kModNoRepeat))) {
            return false;
        }
        registered[index] = combination;
        return true;
    }
    bool Unregister(std::int32_t index) override {
        calls.push_back("unregister " + std::to_string(index));
        return registered.erase(index) == 1;
    }
    void ActivateOwner() override { calls.push_back("activate"); }
};

class HotKeyCoreTest : public testing::Test {
protected:
    FakeHotKeys port;
    HotKeyCore keys{port};
};

TEST_F(HotKeyCoreTest, RegistersAndRemovesUnderTheIndex) {
    EXPECT_TRUE(keys.AddHotKey(1, 0xC07B));
    // Held down, the key fires once.
    EXPECT_EQ(port.registered.at(1), (HotKeyCombination{0x7B, kModAlt | kModControl | kModNoRepeat}));
    EXPECT_TRUE(keys.RemoveHotKey(1));
    EXPECT_FALSE(keys.RemoveHotKey(1));
    port.refuse = true;
    EXPECT_FALSE(keys.AddHotKey(2, 0x41));
}

TEST_F(HotKeyCoreTest, WhereNoRepeatIsRefusedThePlainCombinationIsRegistered) {
    port.refuseNoRepeat = true;
    EXPECT_TRUE(keys.AddHotKey(1, 0xC07B));
    EXPECT_EQ(port.registered.at(1), (HotKeyCombination{0x7B, kModAlt | kModControl}));
}

TEST_F(HotKeyCoreTest, ACodeWithoutAKeyRegistersNothing) {
    EXPECT_FALSE(keys.AddHotKey(1, 0));
    EXPECT_FALSE(keys.AddHotKey(1, 0xC000));
    EXPECT_FALSE(keys.AddHotKey(1, 0x10000));
    EXPECT_TRUE(port.calls.empty());
}

TEST_F(HotKeyCoreTest, PressActivatesTheOwnerFirstThenFiresWithItsIndex) {
    keys.OnHotKey = [&](std::int32_t index) { port.calls.push_back("OnHotKey " + std::to_string(index)); };
    keys.HotKeyPressed(1);
    keys.HotKeyPressed(7);
    EXPECT_THAT(port.calls, ElementsAre("activate", "OnHotKey 1", "activate", "OnHotKey 7"));
}

TEST_F(HotKeyCoreTest, WithoutActivateTheOwnerIsLeftAlone) {
    keys.SetActivate(false);
    keys.OnHotKey = [&](std::int32_t index) { port.calls.push_back("OnHotKey " + std::to_string(index)); };
    keys.HotKeyPressed(1);
    EXPECT_THAT(port.calls, ElementsAre("OnHotKey 1"));
}

TEST_F(HotKeyCoreTest, WithoutAHandlerAPressDoesNothingAtAll) {
    keys.HotKeyPressed(1);
    EXPECT_TRUE(port.calls.empty());
}

TEST_F(HotKeyCoreTest, HandlerErrorsReachTheCaller) {
    keys.OnHotKey = [](std::int32_t) { throw std::runtime_error("boom"); };
    EXPECT_THROW(keys.HotKeyPressed(1), std::runtime_error);
}

} // namespace
} // namespace qn
