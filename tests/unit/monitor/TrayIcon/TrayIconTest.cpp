#include "monitor/TrayIcon/TrayIconCore.h"
#include "tests/unit/monitor/TrayIcon/TrayFakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qn {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::FakeMenu;
using testing_support::FakeSystem;
using testing_support::Icon;
namespace mouse = tray_mouse;

class TrayIconTest : public testing_support::TrayFixture {
protected:
    // Records every event into the system's log.
    void Watch(TrayIconCore& icon) {
        const auto name = [](MouseButton b) {
            return b == MouseButton::Left ? "left" : b == MouseButton::Right ? "right" : "middle";
        };
        icon.OnClick = [this] { system.log.push_back("click"); };
        icon.OnDblClick = [this] { system.log.push_back("dblclick"); };
        icon.OnMouseDown = [this, name](MouseButton b, ButtonsDown s, int x, int y) {
            system.log.push_back(std::string("down ") + name(b) + " " + std::to_string(s) + " " + std::to_string(x) +
                                 "," + std::to_string(y));
        };
        icon.OnMouseMove = [this](ButtonsDown s, int, int) { system.log.push_back("move " + std::to_string(s)); };
    }
    void WatchUp(TrayIconCore& icon) {
        icon.OnMouseUp = [this](MouseButton b, ButtonsDown s, int, int) {
            system.log.push_back("up " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s));
        };
    }
    void Send(const TrayIconCore& icon, std::initializer_list<std::uint32_t> messages) {
        for (const std::uint32_t m : messages) {
            DispatchTrayMessage(list, icon.IconId(), m);
        }
    }
};

TEST_F(TrayIconTest, IdsFollowTheNewestLivingInstance) {
    auto first = std::make_unique<Icon>(list, system);
    auto second = std::make_unique<Icon>(list, system);
    auto third = std::make_unique<Icon>(list, system);
    EXPECT_EQ(first->IconId(), 1u);
    EXPECT_EQ(third->IconId(), 3u);
    third.reset();
    third = std::make_unique<Icon>(list, system);
    EXPECT_EQ(third->IconId(), 3u); // the newest one's id is free again
    second.reset();
    EXPECT_EQ(Icon(list, system).IconId(), 4u); // one more than the newest living instance's
    EXPECT_EQ(list.Find(3), third.get());
    EXPECT_EQ(list.Find(2), nullptr);
    EXPECT_TRUE(system.shellCalls.empty()) << "creation shows nothing";
}

TEST_F(TrayIconTest, TheHundredAndFirstInstanceFails) {
    std::vector<std::unique_ptr<Icon>> icons;
    for (int i = 0; i < 100; ++i) {
        icons.push_back(std::make_unique<Icon>(list, system));
    }
    try {
        Icon extra(list, system);
        FAIL() << "created";
    } catch (const OutOfResourcesError& error) {
        EXPECT_STREQ(error.what(), "トレイにアイコンを登録できません");
    }
    icons.pop_back();
    EXPECT_EQ(Icon(list, system).IconId(), 100u);
}

TEST_F(TrayIconTest, DestructionDeletesARegisteredIcon) {
    Shown().reset();
    ASSERT_EQ(system.shellCalls.size(), 1u);
    EXPECT_EQ(system.shellCalls[0].call, TrayCall::Delete);
    EXPECT_THAT(list.Instances(), IsEmpty());
}

TEST_F(TrayIconTest, MouseTableWithoutMenus) {
    auto icon = Shown();
    Watch(*icon);
    Send(*icon, {mouse::kMove, mouse::kLeftDown, mouse::kRightDown, mouse::kRightUp, mouse::kRightDoubleClick,
                 mouse::kMiddleDown, mouse::kMiddleUp, 0x0209, 0x0100});
    EXPECT_THAT(system.log,
                ElementsAre("move 0", "down left 1 640,1000", "down right 2 640,1000", "down middle 4 640,1000"));
    system.log.clear();
    WatchUp(*icon);
    Send(*icon, {mouse::kLeftUp, mouse::kRightUp, mouse::kMiddleUp});
    EXPECT_THAT(system.log, ElementsAre("up 0 1", "up 1 2", "up 2 4"));
}

TEST_F(TrayIconTest, MenusPopUpAfterActivatingTheOwnerUnlessAutoPopupIsOff) {
    auto icon = Shown();
    Watch(*icon);
    WatchUp(*icon);
    FakeMenu right(system.log);
    FakeMenu left(system.log);
    icon->SetRBPopupMenu(&right);
    icon->SetLBPopupMenu(&left);
    Send(*icon, {mouse::kRightDown, mouse::kRightUp, mouse::kLeftDown});
    EXPECT_THAT(system.log, ElementsAre("activate", "popup 640,1000", "up 1 2", "activate", "popup 640,1000"));
    system.log.clear();
    icon->SetAutoPopup(false);
    Send(*icon, {mouse::kRightDown, mouse::kRightUp});
    EXPECT_THAT(system.log, ElementsAre("down right 2 640,1000", "up 1 2"));
}

TEST_F(TrayIconTest, ADestroyedMenuIsForgotten) {
    auto icon = Shown();
    Watch(*icon);
    {
        FakeMenu menu(system.log);
        icon->SetRBPopupMenu(&menu);
        icon->SetLBPopupMenu(&menu);
    }
    EXPECT_EQ(icon->RBPopupMenu(), nullptr);
    EXPECT_EQ(icon->LBPopupMenu(), nullptr);
    Send(*icon, {mouse::kRightDown});
    EXPECT_THAT(system.log, ElementsAre("down right 2 640,1000"));
    // A menu that outlives the icon has nobody left to tell.
    auto menu = std::make_unique<FakeMenu>(system.log);
    icon->SetRBPopupMenu(menu.get());
    icon.reset();
    menu.reset();
}

TEST_F(TrayIconTest, SingleClickFiresAfterTheDoubleClickTimePlus50) {
    auto icon = Shown();
    Watch(*icon);
    Send(*icon, {mouse::kLeftDown, mouse::kLeftUp});
    system.log.clear();
    system.Advance(549);
    EXPECT_THAT(system.log, IsEmpty());
    system.Advance(1);
    EXPECT_THAT(system.log, ElementsAre("click"));
    system.Advance(5000);
    EXPECT_THAT(system.log, ElementsAre("click"));
}

TEST_F(TrayIconTest, DoubleClickFiresOnlyOnDblClick) {
    auto icon = Shown();
    Watch(*icon);
    icon->OnMouseDown = nullptr;
    Send(*icon, {mouse::kLeftDown, mouse::kLeftUp, mouse::kLeftDoubleClick, mouse::kLeftUp});
    system.Advance(1000);
    EXPECT_THAT(system.log, ElementsAre("dblclick"));
    // A single click after that works as before.
    Send(*icon, {mouse::kLeftDown, mouse::kLeftUp});
    system.Advance(1000);
    EXPECT_THAT(system.log, ElementsAre("dblclick", "click"));
}

TEST_F(TrayIconTest, NoClickDetectionWithMouseUpOrWithoutOnClick) {
    auto icon = Shown();
    Watch(*icon);
    WatchUp(*icon);
    icon->OnMouseDown = nullptr;
    Send(*icon, {mouse::kLeftUp});
    system.Advance(1000);
    EXPECT_THAT(system.log, ElementsAre("up 0 1"));
    EXPECT_TRUE(system.timers.empty());
    icon->OnMouseUp = nullptr;
    icon->OnClick = nullptr;
    Send(*icon, {mouse::kLeftUp});
    EXPECT_TRUE(system.timers.empty()) << "the monitor's icon starts no wait";
}

TEST_F(TrayIconTest, DisabledIgnoresEverythingAndDropsAWaitingClick) {
    auto icon = Shown();
    Watch(*icon);
    WatchUp(*icon);
    FakeMenu menu(system.log);
    icon->SetRBPopupMenu(&menu);
    icon->SetEnabled(false);
    Send(*icon, {mouse::kMove, mouse::kLeftDown, mouse::kLeftUp, mouse::kLeftDoubleClick, mouse::kRightDown,
                 mouse::kRightUp, mouse::kMiddleDown});
    EXPECT_THAT(system.log, IsEmpty());

    icon->SetEnabled(true);
    icon->OnMouseUp = nullptr;
    Send(*icon, {mouse::kLeftUp});
    icon->SetEnabled(false);
    icon->SetEnabled(true);
    system.Advance(1000);
    EXPECT_THAT(system.log, IsEmpty());
}

TEST_F(TrayIconTest, MessagesForUnknownIdsAreIgnoredAndAWaitEndsWithItsIcon) {
    auto icon = Shown();
    Watch(*icon);
    DispatchTrayMessage(list, 99, mouse::kMiddleDown);
    EXPECT_THAT(system.log, IsEmpty());
    Send(*icon, {mouse::kLeftUp});
    icon.reset();
    EXPECT_TRUE(system.timers.empty());
}

} // namespace
} // namespace qn
