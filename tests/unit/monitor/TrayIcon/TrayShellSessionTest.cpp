#include "monitor/TrayIcon/TrayShellSession.h"
#include "tests/unit/monitor/TrayIcon/TrayFakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

namespace qn {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::FakeSystem;
using testing_support::Icon;
using testing_support::ShellCall;

class TrayShellSessionTest : public testing_support::TrayFixture {};

TEST_F(TrayShellSessionTest, VisibleAddsAndDeletesOnlyOnChangeAndOnlyWithAnImage) {
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

TEST_F(TrayShellSessionTest, ARefusedAddIsTriedAgainBeforeItsErrorIsRaised) {
    // The shell's answers ('y' taken, 'n' refused, then refused), what happens then, the calls it got after the
    // first add over the seven seconds of waits, and whether the error was raised.
    enum Then { Wait, ShellRestarts, Hide, Destroy, Redraw };
    const std::tuple<const char*, Then, const char*, bool, bool> cases[] = {
        {"ny", Wait, "M", true, false}, // the add timed out but showed the icon: a modify finds it
        {"nny", Wait, "MA", true, false},   {"nnnnnny", Wait, "MAMAMA", true, false},
        {"n", Wait, "MAMAMA", false, true}, {"ny", ShellRestarts, "A", true, false},
        {"n", Hide, "D", false, false},     {"n", Destroy, "D", false, false},
        {"yn", Hide, "D", false, false}, // a refused delete counts as deleted too
        // A refused modify of the image goes through the add's tries; only their last refusal is raised.
        {"ynny", Redraw, "MMA", true, false},
        {"yn", Redraw, "MMAMAMA", false, true},
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
        } else if (then == Redraw) {
            icon->SetImage(true);
            EXPECT_FALSE(icon->Registered());
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

TEST_F(TrayShellSessionTest, TipHelpIsCutModifiesOnlyOnChangeAndSetsTheFlags) {
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

TEST_F(TrayShellSessionTest, ABalloonOnlyOverAnIconInTheTrayWithATextCutToTheRecordsFields) {
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

TEST_F(TrayShellSessionTest, EmptyingTheImageModifiesThenDeletes) {
    auto icon = Shown();
    icon->SetImage(true); // a new image while registered: passed on
    icon->SetImage(false);
    ASSERT_EQ(system.shellCalls.size(), 3u);
    EXPECT_EQ(system.shellCalls[0].call, TrayCall::Modify);
    EXPECT_EQ(system.shellCalls[1].call, TrayCall::Modify);
    EXPECT_EQ(system.shellCalls[2].call, TrayCall::Delete);
    EXPECT_FALSE(icon->Visible());
}

TEST_F(TrayShellSessionTest, ShellRestartAddsWantedIconsAgain) {
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

} // namespace
} // namespace qn
