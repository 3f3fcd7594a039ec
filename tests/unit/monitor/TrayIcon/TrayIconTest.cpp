#include "monitor/TrayIcon/TrayIconCore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace qn {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
namespace mouse = tray_mouse;

struct ShellCall {
    TrayCall call;
    std::uint32_t flags;
    std::string tip;
};

// A shell that records every call, a cursor at a fixed point, and a clock moved by hand.
class FakeSystem : public TrayShellPort, public ClickTimerPort {
public:
    std::vector<ShellCall> shellCalls;
    std::vector<std::string> log;
    bool refuse = false;
    std::string answers; // the next calls' answers, 'y' or 'n', before `refuse` counts

    bool Notify(TrayCall call, std::uint32_t flags, const std::string& tip) override {
        shellCalls.push_back({call, flags, tip});
        const bool taken = answers.empty() ? !refuse : answers.front() == 'y';
        answers.erase(0, 1);
        return taken;
    }
    TrayPoint CursorPos() override { return {640, 1000}; }
    void ActivateOwner() override { log.push_back("activate"); }
    bool NotifyBalloon(const std::string& title, const std::string& text) override {
        balloons.emplace_back(title, text);
        return !refuse;
    }
    std::vector<std::pair<std::string, std::string>> balloons;

    std::uint32_t doubleClickTime = 500;
    std::uint32_t now = 0;
    std::map<std::uint32_t, std::pair<std::uint32_t, std::function<void()>>> timers;
    std::uint32_t nextTicket = 1;

    std::uint32_t DoubleClickTimeMs() override { return doubleClickTime; }
    std::uint32_t StartTimer(std::uint32_t delayMs, std::function<void()> elapsed) override {
        timers[nextTicket] = {now + delayMs, std::move(elapsed)};
        return nextTicket++;
    }
    void CancelTimer(std::uint32_t ticket) override { timers.erase(ticket); }
    // Fires the due timers in the order they fall due, also those that a completion starts meanwhile.
    void Advance(std::uint32_t ms) {
        const std::uint32_t end = now + ms;
        for (;;) {
            const auto next = std::min_element(timers.begin(), timers.end(), [](const auto& a, const auto& b) {
                return a.second.first < b.second.first;
            });
            if (next == timers.end() || next->second.first > end) {
                break;
            }
            now = next->second.first;
            auto elapsed = std::move(next->second.second);
            timers.erase(next);
            elapsed();
        }
        now = end;
    }
};

// An icon with an image, as the Win32 side gives it one.
class Icon : public TrayIconCore {
public:
    Icon(TrayInstanceList& list, FakeSystem& system) : TrayIconCore(list, system, system) {}
    ~Icon() override { Release(); }
    void SetImage(bool present) { ImageChanged(present); }
};

class FakeMenu : public PopupMenu {
public:
    explicit FakeMenu(std::vector<std::string>& log) : m_log(log) {}
    void Popup(int x, int y) override { m_log.push_back("popup " + std::to_string(x) + "," + std::to_string(y)); }

private:
    std::vector<std::string>& m_log;
};

class TrayIconTest : public testing::Test {
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
    // An icon in the tray with no shell calls recorded yet.
    std::unique_ptr<Icon> Shown() {
        auto icon = std::make_unique<Icon>(list, system);
        icon->SetImage(true);
        icon->Loaded();
        system.shellCalls.clear();
        return icon;
    }
    void Send(const TrayIconCore& icon, std::initializer_list<std::uint32_t> messages) {
        for (const std::uint32_t m : messages) {
            DispatchTrayMessage(list, icon.IconId(), m);
        }
    }

    FakeSystem system;
    TrayInstanceList list;
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

TEST_F(TrayIconTest, VisibleAddsAndDeletesOnlyOnChangeAndOnlyWithAnImage) {
    Icon icon(list, system);
    EXPECT_TRUE(icon.Visible());
    icon.SetVisible(true); // unchanged: nothing, also not added
    EXPECT_THAT(system.shellCalls, IsEmpty());
    icon.SetVisible(false);
    icon.SetVisible(true); // no image: stays false without a call or an error
    EXPECT_FALSE(icon.Visible());
    ASSERT_EQ(system.shellCalls.size(), 1u); // hiding always deletes
    system.shellCalls.clear();

    icon.SetImage(true);
    icon.SetVisible(true);
    EXPECT_TRUE(icon.Registered());
    icon.SetVisible(false);
    EXPECT_FALSE(icon.Registered());
    ASSERT_EQ(system.shellCalls.size(), 2u);
    EXPECT_EQ(system.shellCalls[0].call, TrayCall::Add);
    EXPECT_EQ(system.shellCalls[1].call, TrayCall::Delete);
}

TEST_F(TrayIconTest, ARefusedAddIsTriedAgainBeforeItsErrorIsRaised) {
    // The shell's answers ('y' taken, 'n' refused, then refused), what happens then, the calls it got after the
    // first add over the seven seconds of waits, and whether the error was raised.
    enum Then { Wait, ShellRestarts, Hide, Destroy };
    const std::tuple<const char*, Then, const char*, bool, bool> cases[] = {
        {"ny", Wait, "M", true, false}, // the add timed out but showed the icon: a modify finds it
        {"nny", Wait, "MA", true, false},   {"nnnnnny", Wait, "MAMAMA", true, false},
        {"n", Wait, "MAMAMA", false, true}, {"ny", ShellRestarts, "A", true, false},
        {"n", Hide, "D", false, false},     {"n", Destroy, "D", false, false},
        {"yn", Hide, "D", false, false}, // a refused delete counts as deleted too
    };
    for (const auto& [answers, then, expected, registered, raised] : cases) {
        system.refuse = true;
        system.answers = answers;
        auto icon = Shown();
        if (then == ShellRestarts) {
            icon->ShellRestarted();
        } else if (then == Hide) {
            icon->SetVisible(false);
        } else if (then == Destroy) {
            icon.reset();
        }
        bool error = false;
        try {
            system.Advance(1000 + 2000 + 4000);
        } catch (const OutOfResourcesError&) {
            error = true;
        }
        std::string calls;
        for (const ShellCall& call : system.shellCalls) {
            calls += "AMD"[static_cast<int>(call.call)];
        }
        EXPECT_EQ(calls, expected) << answers << then;
        EXPECT_EQ(icon && icon->Registered(), registered) << answers << then;
        EXPECT_EQ(error, raised) << answers << then;
    }
}

TEST_F(TrayIconTest, TipHelpIsCutModifiesOnlyOnChangeAndSetsTheFlags) {
    auto icon = Shown();
    EXPECT_EQ(icon->TipHelp(), "TipHelp");
    const std::string longTip(140, 'x');
    icon->SetTipHelp(longTip);
    icon->SetTipHelp(longTip); // the same after cutting: no call
    EXPECT_EQ(icon->TipHelp(), std::string(127, 'x'));
    icon->SetTipHelp("");
    icon->SetTipHelp("Nimbi");
    ASSERT_EQ(system.shellCalls.size(), 3u);
    EXPECT_EQ(system.shellCalls[0].call, TrayCall::Modify);
    EXPECT_EQ(system.shellCalls[0].flags, kTrayFlagsWithTip);
    EXPECT_EQ(system.shellCalls[1].flags, kTrayFlagsNoTip);
    EXPECT_EQ(system.shellCalls[2].flags, kTrayFlagsWithTip);
    EXPECT_EQ(system.shellCalls[2].tip, "Nimbi");

    Icon hidden(list, system);
    hidden.SetTipHelp("unregistered");
    EXPECT_EQ(system.shellCalls.size(), 3u);
}

TEST(CutToUtf16UnitsTest, NeverSplitsACharacter) {
    struct Case {
        std::string text;
        std::size_t units;
        std::string expected;
    };
    const std::string kanji = "確";               // 3 bytes, one unit
    const std::string emoji = "\xF0\x9F\x98\x80"; // 4 bytes, two units
    const Case cases[] = {
        {"abc", 2, "ab"},
        {kanji + kanji + kanji, 2, kanji + kanji},
        {"a" + emoji, 2, "a"}, // the pair does not fit in the last unit
        {"a" + emoji, 3, "a" + emoji},
        {"ab\xC3", 3, "ab\xC3"}, // a broken sequence counts as the conversion replaces it
        {"\xC0\xAF", 1, "\xC0"}, // an overlong form becomes two replacement characters
        {"", 5, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutToUtf16Units(c.text, c.units), c.expected) << c.text;
    }
}

TEST_F(TrayIconTest, ABalloonOnlyOverAnIconInTheTrayWithATextCutToTheRecordsFields) {
    EXPECT_FALSE(Icon(list, system).ShowBalloon("title", "text")) << "not in the tray";
    auto icon = Shown();
    EXPECT_FALSE(icon->ShowBalloon("title", "")) << "an empty text would take a balloon away";
    // 63 and 255 UTF-16 units, never a character split; the icon's own record is left as it is.
    EXPECT_TRUE(icon->ShowBalloon(std::string(70, 't'), std::string(250, 'x') + "表表表表表表"));
    EXPECT_THAT(system.balloons, ElementsAre(std::pair{std::string(63, 't'), std::string(250, 'x') + "表表表表表"}));
    EXPECT_TRUE(system.shellCalls.empty());
    system.refuse = true;
    EXPECT_FALSE(icon->ShowBalloon("title", "text")) << "refused: only false, no error";
}

TEST(PendingBalloonTest, ABalloonAskedForWhileTheAddWaitsShowsOnceWhenTheIconComesInWithinAMinute) {
    // The shell's answers to the add and its retries, when the shell starts anew after the add (0: it does not),
    // and how many times the balloon shows.
    const std::tuple<const char*, std::uint32_t, std::size_t> cases[] = {
        {"ny", 0, 1},     // the first retry finds the icon in
        {"n", 30'000, 1}, // refused throughout; the shell's restart adds it within the minute
        {"n", 61'000, 0}, // after the minute: what it tells is stale
        {"y", 30'000, 1}, // in at once: shown at once, and not again when the shell restarts
    };
    for (const auto& [answers, restartAfterMs, shown] : cases) {
        FakeSystem system;
        TrayInstanceList list;
        Icon icon(list, system);
        icon.SetImage(true);
        system.refuse = true;
        system.answers = answers;
        icon.Loaded();
        icon.ShowBalloon("title", "text");
        try {
            system.Advance(1000 + 2000 + 4000);
        } catch (const OutOfResourcesError&) {
        }
        if (restartAfterMs != 0) {
            system.Advance(restartAfterMs - 7000);
            system.refuse = false;
            icon.ShellRestarted();
        }
        EXPECT_EQ(system.balloons.size(), shown) << answers << " " << restartAfterMs;
    }
}

TEST_F(TrayIconTest, EmptyingTheImageModifiesThenDeletes) {
    auto icon = Shown();
    icon->SetImage(true); // a new image while registered: passed on
    icon->SetImage(false);
    ASSERT_EQ(system.shellCalls.size(), 3u);
    EXPECT_EQ(system.shellCalls[0].call, TrayCall::Modify);
    EXPECT_EQ(system.shellCalls[1].call, TrayCall::Modify);
    EXPECT_EQ(system.shellCalls[2].call, TrayCall::Delete);
    EXPECT_FALSE(icon->Visible());
}

TEST_F(TrayIconTest, ShellRestartAddsWantedIconsAgain) {
    auto shown = Shown();
    Icon hidden(list, system);
    hidden.SetImage(true);
    hidden.SetVisible(false);
    system.shellCalls.clear();
    for (TrayIconCore* instance : list.Instances()) {
        instance->ShellRestarted();
    }
    ASSERT_EQ(system.shellCalls.size(), 1u);
    EXPECT_EQ(system.shellCalls[0].call, TrayCall::Add);
    EXPECT_TRUE(shown->Registered());
    EXPECT_FALSE(hidden.Registered());
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
