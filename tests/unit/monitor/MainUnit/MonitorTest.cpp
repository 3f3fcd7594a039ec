#include "monitor/MainUnit/Monitor.h"
#include "monitor/MainUnit/UserBusy.h"
#include "tests/unit/monitor/MainUnit/MonitorFakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

namespace qn {
namespace {

using testing::ElementsAre;
using testing_support::FakeSystem;
using testing_support::FakeView;
using testing_support::StoredSettings;
using testing_support::StoredValues;

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kSecond = 1.0 / 86400.0;
constexpr std::uint64_t MB = 1048576;

class MonitorTest : public testing::Test {
protected:
    Monitor& StartMonitor(std::vector<std::string> arguments = {}) {
        monitor = std::make_unique<Monitor>(system, view, settings.store, std::move(arguments));
        monitor->Start();
        return *monitor;
    }

    FakeSystem system;
    FakeView view;
    StoredSettings settings{view};
    std::unique_ptr<Monitor> monitor;
};

TEST_F(MonitorTest, FirstStartWithAnEmptyKey) {
    system.status = MemoryStatus{64 * MB, 66584576};
    StartMonitor();
    EXPECT_TRUE(view.marked);
    // An exact 64 MB still gets one megabyte added.
    EXPECT_EQ(view.gaugeMaximum, 66560);
    EXPECT_EQ(view.gaugeProgress, 65024);
    EXPECT_EQ(view.meterVisible, true);
    EXPECT_EQ(view.checked[MenuCommand::Meter], true);
    EXPECT_EQ(view.enabled[MenuCommand::AlwaysOnTop], true);
    EXPECT_EQ(view.topmost, false);
    EXPECT_EQ(view.checked[MenuCommand::AlwaysOnTop], false);
    EXPECT_EQ(view.checked[MenuCommand::Periodic], false);
    EXPECT_EQ(view.checked[MenuCommand::ReserveWhenLow], false);
    EXPECT_EQ(monitor->NextRunTime(), 0.0);
    EXPECT_EQ(monitor->ReserveThreshold(), 0);
    EXPECT_FALSE(monitor->AsksWhenLow());
    EXPECT_TRUE(view.hotKeysAdded.empty());
    EXPECT_EQ(settings.Count(), 1u) << "nothing written but the start time";
    EXPECT_EQ(settings.Float("Next Run"), system.now);
    EXPECT_TRUE(view.trayShown);
    EXPECT_TRUE(system.errors.empty());
    // No stored position, so none is applied before the mark; the tray icon comes last.
    EXPECT_EQ(view.calls.front(), "mark");
    EXPECT_EQ(view.calls.back(), "tray");
}

TEST_F(MonitorTest, MemoryBeyondThirtyTwoBitsKeepsTheGaugeWorking) {
    system.status = MemoryStatus{24ULL << 30, 30ULL << 30};
    StartMonitor();
    EXPECT_EQ(view.gaugeMaximum, (24576 + 1) * 1024);
    // Available memory is clamped into the gauge's range, as the gauge itself does.
    EXPECT_EQ(view.gaugeProgress, view.gaugeMaximum);
}

TEST_F(MonitorTest, StoredSwitchesAreApplied) {
    settings.Put({{"Show", 1}, {"Top", 1}, {"Memory", 1}, {"Min Memory", 500000}, {"Cation", 1}});
    settings.Put({{"Cation Memory", 700000}, {"Use Hot Key", 1}, {"Hot Key", 0x16041}});
    settings.Put({{"Position", "-1,-1,-1,-1,100,200,336,228"}});
    StartMonitor();
    EXPECT_EQ(view.calls.front(), "position") << "the stored position comes first";
    EXPECT_EQ(view.meterVisible, false);
    EXPECT_EQ(view.checked[MenuCommand::Meter], false);
    EXPECT_EQ(view.enabled[MenuCommand::AlwaysOnTop], false);
    // The topmost state is applied and checked even while the meter is hidden.
    EXPECT_EQ(view.topmost, true);
    EXPECT_EQ(view.checked[MenuCommand::AlwaysOnTop], true);
    EXPECT_EQ(monitor->ReserveThreshold(), 500000);
    EXPECT_TRUE(monitor->AsksWhenLow());
    EXPECT_EQ(monitor->AskThreshold(), 700000);
    EXPECT_THAT(view.hotKeysAdded, ElementsAre(std::pair<int, std::int32_t>{1, 0x16041}));
}

TEST_F(MonitorTest, ThresholdsAreOnlyReadWhileTheirSwitchIsOn) {
    settings.Put({{"Min Memory", 500000}, {"Cation Memory", 700000}, {"Hot Key", 0x6041}});
    StartMonitor();
    EXPECT_EQ(monitor->ReserveThreshold(), 0);
    EXPECT_EQ(monitor->AskThreshold(), 0);
    EXPECT_FALSE(settings.WasRead("Min Memory"));
    EXPECT_FALSE(settings.WasRead("Cation Memory"));
    EXPECT_FALSE(settings.WasRead("Hot Key"));
}

TEST_F(MonitorTest, OnlyAFirstArgumentOfCapitalCKeepsNextRun) {
    const std::vector<std::vector<std::string>> writing = {{}, {"c"}, {"x", "C"}, {"CC"}};
    for (const auto& arguments : writing) {
        StoredSettings fresh(view);
        Monitor own(system, view, fresh.store, arguments);
        own.Start();
        EXPECT_EQ(fresh.Float("Next Run"), system.now);
    }
    StoredSettings kept(view);
    Monitor own(system, view, kept.store, {"C"});
    own.Start();
    EXPECT_FALSE(kept.Has("Next Run"));
}

struct ScheduleCase {
    const char* name;
    bool periodic;
    double storedNextRun; // relative to now, in days; 0: absent
    std::int32_t cycle;
    double expectedNextRun; // relative to now; NAN: exactly 0.0
    bool cycleRead;
    bool written;
};

class ScheduleStepTest : public MonitorTest, public testing::WithParamInterface<ScheduleCase> {};

TEST_P(ScheduleStepTest, WorksOutTheNextRun) {
    const ScheduleCase& c = GetParam();
    settings.Put({{"Time", c.periodic ? 1 : 0}, {"Cycle", c.cycle}});
    if (c.storedNextRun != 0.0) {
        settings.Put({{"Next Run", system.now + c.storedNextRun}});
    }
    const std::optional<double> stored = settings.Float("Next Run");
    StartMonitor({"C"});
    if (std::isnan(c.expectedNextRun)) {
        EXPECT_EQ(monitor->NextRunTime(), 0.0);
    } else {
        EXPECT_NEAR(monitor->NextRunTime() - system.now, c.expectedNextRun, 1e-9);
    }
    EXPECT_EQ(settings.WasRead("Cycle"), c.cycleRead);
    EXPECT_EQ(settings.Float("Next Run"), c.written ? std::optional(monitor->NextRunTime()) : stored);
    EXPECT_TRUE(system.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScheduleStepTest,
    testing::Values(ScheduleCase{"Off", false, 5 * kMinute, 45, NAN, false, false},
                    ScheduleCase{"FutureKept", true, 5 * kMinute, 45, 5 * kMinute, true, false},
                    ScheduleCase{"AbsentStartsAPeriod", true, 0.0, 45, 45 * kMinute, true, true},
                    ScheduleCase{"PastStartsAPeriod", true, -kMinute, 90, 90 * kMinute, true, true},
                    ScheduleCase{"Reached", true, -0.0 + 1e-12, 119, 119 * kMinute, true, true},
                    // Any positive period works, also two hours and more, whatever the time separator.
                    ScheduleCase{"TwoHours", true, 0.0, 120, 120 * kMinute, true, true},
                    ScheduleCase{"ADay", true, 0.0, 1440, 1.0, true, true},
                    ScheduleCase{"ADayAheadKept", true, 1.0, 1440, 1.0, true, false},
                    // Further ahead than the stored period, or no number: as if past.
                    ScheduleCase{"MoreThanAPeriodAhead", true, 50 * kMinute, 30, 30 * kMinute, true, true},
                    ScheduleCase{"APeriodAheadKept", true, 30 * kMinute, 30, 30 * kMinute, true, false},
                    ScheduleCase{"MoreThanADayAhead", true, 1.0 + kSecond, 45, 45 * kMinute, true, true},
                    ScheduleCase{"FarFuture", true, 1e300, 45, 45 * kMinute, true, true},
                    ScheduleCase{"NotANumber", true, NAN, 45, 45 * kMinute, true, true},
                    // No period: no schedule, rather than a reservation at every start.
                    ScheduleCase{"ZeroCycle", true, 0.0, 0, NAN, true, false},
                    ScheduleCase{"MoreThanADay", true, 0.0, 1441, NAN, true, false},
                    ScheduleCase{"NegativeCycle", true, -kMinute, -5, NAN, true, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(MonitorTest, TickShowsFreeMemoryWithoutASchedule) {
    StartMonitor();
    system.status.availPhys = static_cast<std::uint64_t>(1234.56 * MB);
    monitor->Tick();
    EXPECT_EQ(view.title, "Nimbi  1,234.56MBの空き");
    EXPECT_EQ(view.reading, "1,234.56MBの空き (5%)") << "what a reader hears: the title's figure and the gauge's";
    EXPECT_EQ(view.hint, "空きメモリ：1,234.56MB");
    EXPECT_EQ(view.gaugeProgress, static_cast<std::int32_t>(1234.56 * 1024 + 0.5));
    EXPECT_TRUE(view.timerRunning);
    EXPECT_TRUE(system.started.empty());
}

struct CountdownCase {
    double remaining;
    const char* suffix;
    const char* secondLine;
};

class CountdownTest : public MonitorTest, public testing::WithParamInterface<CountdownCase> {};

TEST_P(CountdownTest, ShowsHoursFromAnHourOn) {
    settings.Put({{"Time", 1}, {"Next Run", system.now + GetParam().remaining}});
    StartMonitor({"C"});
    system.status.availPhys = static_cast<std::uint64_t>(1234.56 * MB);
    monitor->Tick();
    EXPECT_EQ(view.title, std::string("Nimbi  1,234.56MBの空き") + GetParam().suffix);
    EXPECT_EQ(view.hint, std::string(" 1,234.56MBの空き\r\n") + GetParam().secondLine);
}

INSTANTIATE_TEST_SUITE_P(Cases, CountdownTest,
                         testing::Values(CountdownCase{5 * kMinute + 30 * kSecond, "  05:30", "次回確保まで 05分 30秒"},
                                         // Milliseconds are rounded, seconds truncated.
                                         CountdownCase{59 * kMinute + 59.6 * kSecond, "  59:59",
                                                       "次回確保まで 59分 59秒"},
                                         CountdownCase{60 * kMinute, "  1:00:00", "次回確保まで 1時間 00分 00秒"},
                                         CountdownCase{85 * kMinute, "  1:25:00", "次回確保まで 1時間 25分 00秒"},
                                         CountdownCase{1.0, "  24:00:00", "次回確保まで 24時間 00分 00秒"},
                                         CountdownCase{0.4 * kSecond, "  00:00", "次回確保まで 00分 00秒"}));

TEST(CountdownTextTest, APastTimeOrNoNumberShowsNothingLeft) {
    for (const double remaining : {-kMinute, -HUGE_VAL, std::nan("")}) {
        EXPECT_EQ(CountdownSuffix(remaining), "  00:00") << remaining;
    }
    EXPECT_EQ(CountdownSuffix(HUGE_VAL), "  24:00:00");
}

TEST_F(MonitorTest, DueScheduleHandsOverWithTheExactLaunchAndEnds) {
    system.modulePath = "C:\\My Tools\\表\\Mossik.EXE";
    settings.Put({{"Time", 1}, {"Next Run", system.now + 2 * kSecond}});
    StartMonitor({"C"});
    view.title.clear();
    system.now += 2 * kSecond;
    // The monitor the reservation tool brings back may start before this one has ended: the notes come first.
    system.duringStart = [&] { EXPECT_EQ(settings.Float("Handover Time"), system.now); };
    monitor->Tick();
    ASSERT_EQ(system.started.size(), 1u);
    EXPECT_EQ(system.started[0].verb, "");
    EXPECT_EQ(system.started[0].launch.file, "\"C:\\My Tools\\表\\Qelto.exe\"");
    EXPECT_EQ(system.started[0].launch.parameters, " /E:\"C:\\My Tools\\表\\Mossik.EXE\" /NoMsg");
    EXPECT_EQ(system.started[0].launch.directory, "C:\\My Tools\\表\\");
    // The monitor that comes back knows by the note of the hand-over's time that it was its own.
    EXPECT_EQ(settings.Float("Next Run"), 0.0);
    EXPECT_EQ(settings.Float("Handover Time"), system.now);
    EXPECT_TRUE(view.trayRemoved);
    EXPECT_EQ(system.endProcessCalls, 1);
    EXPECT_FALSE(view.timerRunning);
    EXPECT_EQ(view.title, "");
    EXPECT_FALSE(settings.Has("Position"));
    EXPECT_FALSE(settings.Has("Low Memory Handover")) << "not a low-memory hand-over";
}

// With a target of free memory, 4000 MB here: what each way of starting a run hands the reservation tool, with
// 3000 MB free (a shortfall of 1000 MB and the margin of 64 MB) or 4000 MB; nothing where nothing starts.
TEST(MonitorTargetTest, AutomaticRunsFreeUpToTheTargetAndTheMenuStillTakesTheDefault) {
    enum class Way { Schedule, LowMemory, Menu };
    const std::tuple<Way, std::uint64_t, const char*> cases[] = {
        {Way::Schedule, 3000, " /M:1064"}, {Way::LowMemory, 3000, " /M:1064"}, {Way::Menu, 3000, ""},
        {Way::Schedule, 4000, nullptr},    {Way::Schedule, 1000, " /M:1884"}, // within the 32-bit default
    };
    for (const auto& [way, freeMB, sizeOption] : cases) {
        SCOPED_TRACE(static_cast<int>(way) * 10000 + freeMB);
        FakeSystem system;
        FakeView view;
        StoredSettings settings{view};
        system.status = MemoryStatus{8192 * MB, freeMB * MB, 16384 * MB, 12288 * MB};
        settings.Put({{"Target Free", 4000}, {"Time", way == Way::Schedule ? 1 : 0}, {"Cycle", 60}});
        settings.Put({{"Next Run", system.now + kSecond}, {"Memory", way == Way::LowMemory ? 1 : 0}});
        settings.Put({{"Min Memory", 3500 * 1024}});
        Monitor monitor(system, view, settings.store, {"C"});
        monitor.Start();
        system.now += kSecond;
        way == Way::Menu ? monitor.ReserveNow() : monitor.Tick();
        if (!sizeOption) {
            EXPECT_TRUE(system.started.empty());
            EXPECT_EQ(monitor.NextRunTime(), system.now + 60 * kMinute) << "the next period starts";
            EXPECT_TRUE(view.timerRunning);
            continue;
        }
        ASSERT_EQ(system.started.size(), 1u);
        EXPECT_EQ(system.started[0].launch.parameters,
                  std::string(" /E:\"C:\\Tools\\Mossik.EXE\" /NoMsg") + sizeOption);
    }
}

TEST_F(MonitorTest, ANextRunPushedBeyondTheLongestPeriodByTheClockStartsAFreshPeriod) {
    // How far the clock goes back (days), whether the monitor hears of it by the system's message or only at the
    // next tick, and whether a fresh period starts.
    const std::tuple<double, bool, bool> cases[] = {
        {2.0, false, true},
        {2.0, true, true},
        {1.0 / 24, false, true},     // an hour back: beyond the 30 minutes
        {10 * kMinute, true, false}, // still within the period
    };
    for (const auto& [back, message, fresh] : cases) {
        FakeSystem clock;
        StoredSettings stored(view, {{"Time", 1}, {"Cycle", 30}, {"Next Run", clock.now + 10 * kMinute}});
        Monitor own(clock, view, stored.store, {"C"});
        own.Start();
        clock.now -= back;
        message ? own.TimeChanged() : own.Tick();
        const double expected = fresh ? clock.now + 30 * kMinute : clock.now + back + 10 * kMinute;
        EXPECT_NEAR(own.NextRunTime(), expected, 1e-9) << back << message;
        EXPECT_EQ(stored.Float("Next Run"), fresh ? std::optional(expected) : clock.now + back + 10 * kMinute);
    }
}

TEST_F(MonitorTest, AnErrorOfTheTickStopsItsTimerWhileItsBoxShows) {
    StartMonitor();
    system.statusError = "QueryMemoryStatus";
    const int stops = view.timerStops;
    monitor->Tick();
    EXPECT_THAT(system.errors, ElementsAre("QueryMemoryStatus"));
    EXPECT_EQ(view.timerStops, stops + 1);
    EXPECT_TRUE(view.timerRunning) << "and runs again once it is closed";
}

TEST_F(MonitorTest, LaunchFromADriveRoot) {
    const Launch launch = ReservationLaunch("C:\\Mossik.EXE");
    EXPECT_EQ(launch.file, "\"C:\\Qelto.exe\"");
    EXPECT_EQ(launch.parameters, " /E:\"C:\\Mossik.EXE\" /NoMsg");
    EXPECT_EQ(launch.directory, "C:\\");
    const Launch settingsLaunch = SettingsLaunch("C:\\Mossik.EXE");
    EXPECT_EQ(settingsLaunch.file, "\"C:\\Dunfel.exe\"");
    EXPECT_EQ(settingsLaunch.parameters, "");
    EXPECT_EQ(settingsLaunch.directory, "C:\\");
}

TEST_F(MonitorTest, FailedScheduledLaunchIsReportedOnceAndSwitchesTheScheduleOff) {
    settings.Put({{"Time", 1}, {"Next Run", system.now + kSecond}});
    StartMonitor({"C"});
    system.now += kSecond;
    system.startResult = 2;
    monitor->Tick();
    // The hand-over's notes are put back as they were.
    EXPECT_EQ(settings.Float("Next Run"), system.now);
    EXPECT_FALSE(settings.Has("Handover Time"));
    ASSERT_EQ(system.shown.size(), 1u);
    EXPECT_EQ(system.shown[0].text, "必用なファイルがありません。");
    EXPECT_EQ(system.shown[0].style, 0x1010u);
    EXPECT_TRUE(view.title.empty()) << "the failing tick updates nothing";
    EXPECT_TRUE(view.timerRunning);
    EXPECT_EQ(monitor->NextRunTime(), 0.0);
    EXPECT_EQ(view.checked[MenuCommand::Periodic], false);
    EXPECT_EQ(settings.Int("Time"), 1) << "off for this process only";

    monitor->Tick();
    EXPECT_EQ(system.shown.size(), 1u);
    EXPECT_EQ(view.title, "Nimbi  12,288.00MBの空き");

    // Switched on again from the menu, a fresh period starts.
    settings.Put({{"Cycle", 30}});
    monitor->TogglePeriodic();
    EXPECT_NEAR(monitor->NextRunTime(), system.now + 30 * kMinute, 1e-9);
}

TEST_F(MonitorTest, PromptAtTheThresholdAndCancelSuppressesItForGoodButNotTheAutomaticReservation) {
    settings.Put({{"Cation", 1}, {"Cation Memory", 1000}, {"Memory", 1}, {"Min Memory", 1000}});
    StartMonitor();
    system.status.availPhys = 1000 * 1024; // exactly at both thresholds: counts as low
    system.answers = {DialogAnswer::Cancel};
    monitor->Tick();
    ASSERT_EQ(system.shown.size(), 1u);
    EXPECT_EQ(system.shown[0].text, "残メモリが少なくなりました。\r\n空きメモリを確保しますか？");
    EXPECT_EQ(system.shown[0].style, 0x1041u);
    EXPECT_FALSE(monitor->AsksWhenLow());
    // The automatic reservation follows in the same tick.
    EXPECT_EQ(system.started.size(), 1u);
    EXPECT_EQ(system.endProcessCalls, 1);
}

TEST_F(MonitorTest, DeclinedPromptStaysOffEvenAfterMemoryRoseAndFellAgain) {
    settings.Put({{"Cation", 1}, {"Cation Memory", 1000}});
    StartMonitor();
    system.status.availPhys = 900 * 1024;
    system.answers = {DialogAnswer::Cancel};
    monitor->Tick();
    system.status.availPhys = 5000 * 1024;
    monitor->Tick();
    system.status.availPhys = 900 * 1024;
    monitor->Tick();
    EXPECT_EQ(system.shown.size(), 1u);
    EXPECT_TRUE(view.timerRunning);
}

TEST_F(MonitorTest, AcceptedPromptHandsOver) {
    settings.Put({{"Cation", 1}, {"Cation Memory", 1000}});
    StartMonitor();
    system.status.availPhys = 999 * 1024;
    monitor->Tick();
    EXPECT_EQ(system.started.size(), 1u);
    EXPECT_EQ(system.endProcessCalls, 1);
    EXPECT_EQ(settings.Int("Low Memory Handover"), 1);
}

TEST_F(MonitorTest, AfterALowMemoryHandOverEachTriggerWaitsUntilFreeMemoryWasAboveItsThreshold) {
    settings.Put(
        {{"Low Memory Handover", 1}, {"Cation", 1}, {"Cation Memory", 2000}, {"Memory", 1}, {"Min Memory", 1000}});
    StartMonitor();
    EXPECT_EQ(settings.Int("Low Memory Handover"), 0);
    system.status.availPhys = 500 * 1024;
    monitor->Tick();
    EXPECT_TRUE(system.shown.empty());
    EXPECT_TRUE(system.started.empty());
    EXPECT_TRUE(view.timerRunning);

    system.status.availPhys = 1500 * 1024; // above the automatic threshold only
    monitor->Tick();
    system.status.availPhys = 500 * 1024;
    monitor->Tick();
    EXPECT_TRUE(system.shown.empty()) << "the prompt still waits";
    EXPECT_EQ(system.started.size(), 1u);
    EXPECT_EQ(settings.Int("Low Memory Handover"), 1);
}

TEST_F(MonitorTest, PromptComesBackAfterAFailedLaunchAndCanBeDeclined) {
    settings.Put({{"Cation", 1}, {"Cation Memory", 1000}});
    StartMonitor();
    system.status.availPhys = 999 * 1024;
    system.startResult = 2;
    system.answers = {DialogAnswer::Ok, DialogAnswer::Ok, DialogAnswer::Cancel};
    monitor->Tick(); // prompt, failed launch box
    monitor->Tick(); // prompt again, declined
    monitor->Tick(); // nothing
    ASSERT_EQ(system.shown.size(), 3u);
    EXPECT_EQ(system.shown[1].text, "必用なファイルがありません。");
    EXPECT_FALSE(monitor->AsksWhenLow());
}

TEST_F(MonitorTest, ThresholdsOfZeroOrBelowAreOff) {
    for (const std::int32_t threshold : {0, -1}) {
        FakeSystem quiet;
        quiet.status.availPhys = 0;
        StoredSettings stored(view,
                              {{"Cation", 1}, {"Cation Memory", threshold}, {"Memory", 1}, {"Min Memory", threshold}});
        Monitor own(quiet, view, stored.store, {});
        own.Start();
        own.Tick();
        EXPECT_TRUE(quiet.shown.empty());
        EXPECT_TRUE(quiet.started.empty());
    }
}

TEST_F(MonitorTest, FailedAutomaticLaunchIsReportedOnceAndSwitchesTheThresholdOff) {
    settings.Put({{"Memory", 1}, {"Min Memory", 1000}});
    StartMonitor();
    system.status.availPhys = 10 * 1024;
    system.startResult = 0;
    monitor->Tick();
    monitor->Tick();
    EXPECT_EQ(system.shown.size(), 1u);
    EXPECT_EQ(monitor->ReserveThreshold(), 0);
    EXPECT_EQ(view.checked[MenuCommand::ReserveWhenLow], false);
    monitor->ToggleReserveWhenLow();
    EXPECT_EQ(monitor->ReserveThreshold(), 1000);
}

TEST_F(MonitorTest, FailedLaunchLeavesASwitchThatWasUsedWhileItsBoxShowed) {
    settings.Put({{"Time", 1}, {"Next Run", system.now + kSecond}, {"Cycle", 30}, {"Memory", 1}, {"Min Memory", 1000}});
    StartMonitor({"C"});
    system.now += kSecond;
    system.status.availPhys = 10 * 1024;
    system.startResult = 2;
    system.whileShown = [&] {
        for (int i = 0; i < 2; ++i) {
            monitor->TogglePeriodic();
            monitor->ToggleReserveWhenLow();
        }
    };
    monitor->Tick(); // the schedule's box, then the automatic reservation's
    EXPECT_EQ(system.shown.size(), 2u);
    EXPECT_EQ(view.checked[MenuCommand::Periodic], true);
    EXPECT_NEAR(monitor->NextRunTime(), system.now + 30 * kMinute, 1e-9);
    EXPECT_EQ(view.checked[MenuCommand::ReserveWhenLow], true);
    EXPECT_EQ(monitor->ReserveThreshold(), 1000);
}

TEST_F(MonitorTest, NoSecondLaunchWhileAStartOrItsBoxIsUnderWay) {
    settings.Put({{"Memory", 1}, {"Min Memory", 1000}});
    StartMonitor();
    system.startResult = 2;
    int boxes = 0;
    const auto tryAgain = [&] {
        monitor->HotKeyPressed(1);
        monitor->ReserveNow();
        system.status.availPhys = 10 * 1024;
        monitor->Tick();
    };
    system.duringStart = [&] {
        system.duringStart = nullptr;
        tryAgain();
        monitor->OpenSettings();
    };
    system.whileShown = [&] {
        if (boxes++ == 0) {
            tryAgain();
        }
    };
    monitor->ReserveNow();
    EXPECT_EQ(system.started.size(), 1u);
    EXPECT_EQ(system.shown.size(), 1u);
    // Once the box is gone, the tick starts one again.
    monitor->Tick();
    EXPECT_EQ(system.started.size(), 2u);
}

TEST_F(MonitorTest, NothingStartsOnceTheMonitorHasBegunToClose) {
    StartMonitor();
    monitor->Exit();
    monitor->HotKeyPressed(1);
    monitor->OpenSettings();
    EXPECT_TRUE(system.started.empty());
    EXPECT_TRUE(system.shown.empty());
}

TEST_F(MonitorTest, ExitDuringATickBoxTouchesNothingAfterwards) {
    settings.Put({{"Cation", 1}, {"Cation Memory", 1000}, {"Memory", 1}, {"Min Memory", 1000}});
    StartMonitor();
    system.status.availPhys = 10 * 1024;
    system.answers = {DialogAnswer::Cancel};
    system.whileShown = [&] {
        monitor->Exit();
        monitor->MeterDestroyed();
    };
    const int stopsBefore = view.timerStops;
    monitor->Tick();
    EXPECT_EQ(view.closeRequests, 1);
    EXPECT_TRUE(system.started.empty());
    EXPECT_EQ(view.timerStops, stopsBefore + 1);
    EXPECT_FALSE(view.timerRunning);
}

TEST_F(MonitorTest, MeterWindowSwitchTwice) {
    StartMonitor();
    monitor->ToggleMeter();
    EXPECT_EQ(view.meterVisible, false);
    EXPECT_EQ(view.enabled[MenuCommand::AlwaysOnTop], false);
    EXPECT_EQ(view.checked[MenuCommand::Meter], false);
    EXPECT_EQ(settings.Int("Show"), 1);
    monitor->ToggleMeter();
    EXPECT_EQ(view.meterVisible, true);
    EXPECT_EQ(view.enabled[MenuCommand::AlwaysOnTop], true);
    EXPECT_EQ(settings.Int("Show"), 0);
}

TEST_F(MonitorTest, SwitchCommandsWriteTheirNewState) {
    settings.Put({{"Min Memory", 4096}, {"Cycle", 10}});
    StartMonitor({"C"});
    monitor->ToggleAlwaysOnTop();
    EXPECT_EQ(view.topmost, true);
    monitor->TogglePeriodic();
    EXPECT_NEAR(monitor->NextRunTime(), system.now + 10 * kMinute, 1e-9);
    EXPECT_EQ(settings.Int("Time"), 1);
    monitor->ToggleReserveWhenLow();
    EXPECT_EQ(monitor->ReserveThreshold(), 4096);
    monitor->TogglePeriodic();
    EXPECT_EQ(monitor->NextRunTime(), 0.0);
    EXPECT_EQ(settings.Int("Top"), 1);
    EXPECT_EQ(settings.Int("Memory"), 1);
    EXPECT_EQ(settings.Int("Time"), 0);
}

TEST_F(MonitorTest, PeriodicSwitchResumesAStoredFutureRunWithinItsPeriod) {
    StartMonitor({"C"});
    settings.Put({{"Next Run", system.now + 7 * kMinute}, {"Cycle", 10}});
    monitor->TogglePeriodic();
    EXPECT_NEAR(monitor->NextRunTime(), system.now + 7 * kMinute, 1e-9);
    EXPECT_NEAR(settings.Float("Next Run").value_or(0.0), system.now + 7 * kMinute, 1e-9) << "not written again";
}

TEST_F(MonitorTest, AboutBox) {
    StartMonitor();
    monitor->ShowAbout();
    ASSERT_EQ(system.shown.size(), 1u);
    EXPECT_EQ(system.shown[0].text, "QeltoNimbi\r\n\r\nCopyright (C) 2026 Harvelt. All rights reserved.");
    EXPECT_EQ(system.shown[0].style, 0x1040u);
}

TEST_F(MonitorTest, ExitResetsNextRunAndRemovesTheHotKeyOnlyWhenStillWanted) {
    settings.Put({{"Use Hot Key", 1}, {"Hot Key", 0x6041}});
    StartMonitor();
    settings.Put({{"Use Hot Key", 0}});
    monitor->Exit();
    EXPECT_TRUE(view.hotKeysRemoved.empty());
    EXPECT_EQ(settings.Float("Next Run"), 0.0);
    EXPECT_EQ(view.closeRequests, 1);

    settings.Put({{"Use Hot Key", 1}});
    monitor->Exit();
    EXPECT_THAT(view.hotKeysRemoved, ElementsAre(1));
    EXPECT_FALSE(settings.Has("Position"));
    monitor->CloseQuery();
    EXPECT_TRUE(settings.Has("Position"));
}

TEST_F(MonitorTest, HotKeyOneStartsAReservationAndOthersNothing) {
    StartMonitor();
    system.notificationState = UserNotificationState::Busy; // a run the user starts never waits
    monitor->HotKeyPressed(2);
    EXPECT_TRUE(system.started.empty());
    monitor->HotKeyPressed(1);
    EXPECT_EQ(system.started.size(), 1u);
}

TEST_F(MonitorTest, SettingsProgramStartsAndTheMonitorEnds) {
    StartMonitor();
    // The settings program waits for a monitor that noted its hand-over moments ago: the note comes first.
    system.duringStart = [&] { EXPECT_EQ(settings.Float("Handover Time"), system.now); };
    monitor->OpenSettings();
    ASSERT_EQ(system.started.size(), 1u);
    EXPECT_EQ(system.started[0].verb, "open");
    EXPECT_EQ(system.started[0].launch.file, "\"C:\\Tools\\Dunfel.exe\"");
    EXPECT_EQ(system.endProcessCalls, 1);
    EXPECT_TRUE(view.trayRemoved);
    EXPECT_EQ(settings.Count(), 2u) << "nothing written but the start time and the note";

    const double noted = system.now;
    system.now += kMinute;
    system.startResult = 31;
    monitor->OpenSettings();
    EXPECT_EQ(settings.Float("Handover Time"), noted) << "a failed start puts the note back";
    ASSERT_EQ(system.shown.size(), 1u);
    EXPECT_EQ(system.shown[0].text, "設定プログラムがありません。設定の変更ができません。");
    EXPECT_EQ(system.shown[0].style, 0x1010u);
}

TEST_F(MonitorTest, StartUpErrorSkipsTheRemainingStepsAndIsShown) {
    view.gaugeMaximumError = "-2147483647 から 99 の間の値でなければなりません";
    StartMonitor();
    EXPECT_THAT(system.errors, ElementsAre("-2147483647 から 99 の間の値でなければなりません"));
    EXPECT_FALSE(view.trayShown);
    EXPECT_FALSE(view.meterVisible.has_value());

    FakeView refusing;
    refusing.trayError = "トレイにアイコンを登録できません";
    FakeSystem other;
    Monitor own(other, refusing, settings.store, {});
    own.Start();
    EXPECT_THAT(other.errors, ElementsAre("トレイにアイコンを登録できません"));
}

TEST(UserIsBusyTest, TheShellOrAWindowCoveringExactlyItsMonitorSaysSo) {
    using S = UserNotificationState;
    const Rect screen{0, 0, 1920, 1080};
    const Rect second{1920, 0, 3840, 1080};
    const auto window = [&](const char* className, Rect bounds, Rect monitor, bool shell = false) {
        return std::optional<ForegroundWindow>(ForegroundWindow{className, shell, bounds, monitor});
    };
    const auto editor = window("Notepad", {100, 100, 900, 700}, screen);
    const struct {
        std::optional<S> state;
        std::optional<ForegroundWindow> foreground;
        bool busy;
    } cases[] = {
        {S::Busy, editor, true},
        {S::RunningD3dFullScreen, std::nullopt, true},
        {S::PresentationMode, editor, true},
        {S::QuietTime, editor, false},
        {std::nullopt, std::nullopt, false},
        // The shell says nothing of a borderless full-screen window (Wine), or lacks the function: the window does.
        {S::AcceptsNotifications, window("Game", screen, screen), true},
        {std::nullopt, window("Game", second, second), true},
        {std::nullopt, window("Notepad", {-8, -8, 1928, 1088}, screen), false}, // maximised, frame outside
        {std::nullopt, window("Game", screen, second), false},
        {std::nullopt, window("#32769", screen, screen), false}, // the system's desktop window
        {std::nullopt, window("WorkerW", screen, screen), false},
        {std::nullopt, window("Other", screen, screen, true), false}, // the shell's desktop by any name
        {std::nullopt, window("Shell_TrayWnd", screen, screen), false},
        {std::nullopt, window("Game", {}, {}), false}, // on no monitor
        // Away, not busy: a screen saver or the lock screen covers the monitor exactly.
        {S::NotPresent, window("LockScreen", screen, screen), false},
        {S::AcceptsNotifications, window("WindowsScreenSaverClass", screen, screen), false},
        // The screen saver comes before what the shell says: it may still tell of the game it took the place of.
        {S::RunningD3dFullScreen, window("WindowsScreenSaverClass", screen, screen), false},
        {S::Busy, window("WindowsScreenSaverClass", second, second), false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(UserIsBusy(cases[i].state, cases[i].foreground), cases[i].busy) << i;
    }
}

TEST(BusyUserTest, ADueAutomaticRunWaitsWhileTheUserIsBusyAndGoesAheadAtTheFirstTickAfterIfStillDue) {
    enum Trigger { Schedule, Prompt, Automatic };
    const std::map<Trigger, StoredValues> due = {{Schedule, {{"Time", 1}, {"Next Run", 46363.5 + kSecond}}},
                                                 {Prompt, {{"Cation", 1}, {"Cation Memory", 1000}}},
                                                 {Automatic, {{"Memory", 1}, {"Min Memory", 1000}}}};
    // What falls due, whether the switch lets it wait, the free memory at the tick after (KB), the runs then.
    const std::tuple<Trigger, bool, std::uint64_t, std::size_t> cases[] = {
        {Schedule, true, 900, 1},  {Prompt, true, 900, 1},     {Automatic, true, 900, 1},
        {Schedule, false, 900, 1}, {Automatic, true, 1100, 0}, // memory rose meanwhile: the run is no longer due
    };
    for (const auto& [trigger, waitSwitch, freeAfterKB, runs] : cases) {
        FakeSystem system;
        FakeView view;
        StoredSettings settings(view, due.at(trigger));
        settings.Put({{"Wait While Busy", waitSwitch ? 1 : 0}});
        Monitor monitor(system, view, settings.store, {"C"});
        monitor.Start();
        system.now += kSecond;
        system.status.availPhys = 900 * 1024;
        system.notificationState = UserNotificationState::Busy;
        monitor.Tick();
        if (waitSwitch) {
            EXPECT_TRUE(system.started.empty() && system.shown.empty()) << "nothing starts, no prompt: " << trigger;
            EXPECT_EQ(view.hint, " 0.88MBの空き\r\n全画面表示の終了を待っています");
            EXPECT_EQ(view.title, trigger == Schedule ? "Nimbi  0.88MBの空き  00:00" : "Nimbi  0.88MBの空き");
            system.notificationState = UserNotificationState::AcceptsNotifications;
            system.status.availPhys = freeAfterKB * 1024;
            monitor.Tick();
        }
        EXPECT_EQ(system.started.size(), runs) << trigger << (waitSwitch ? "" : ", switched off: at once");
        EXPECT_EQ(system.shown.size(), trigger == Prompt ? 1u : 0u) << "the prompt, answered OK, first";
    }
}

TEST(HandoverReportTest, OnlyTheMonitorBackFromItsOwnHandOverShowsTheRecordStoredSinceAndThenForgetsIt) {
    const struct {
        double handedOver; // before now, in days; 0: no note of a hand-over
        double ended;      // before now; 0: no record
        bool notify;
        bool shown;
    } cases[] = {
        {30 * kSecond, 5 * kSecond, true, true},   {0.0, 5 * kSecond, true, false},
        {30 * kSecond, 0.0, true, false},          {30 * kSecond, 5 * kSecond, false, false},
        {30 * kSecond, 60 * kSecond, true, false}, // the record of an earlier run
        {1.0, 11 * kMinute, true, false},          // a note left by a monitor that never came back
    };
    for (const auto& c : cases) {
        FakeSystem system;
        FakeView view;
        StoredSettings settings(view, {{"Notify Result", c.notify ? 1 : 0},
                                       {"Handover Time", c.handedOver ? system.now - c.handedOver : 0.0}});
        if (c.ended != 0.0) {
            settings.Put(ReservationRecord{system.now - c.ended, 2048, 1234.56, 5678.9, 4.2});
        }
        Monitor(system, view, settings.store, {}).Start();
        if (c.shown) {
            EXPECT_THAT(view.balloons, ElementsAre(std::pair<std::string, std::string>{
                                           "空きメモリを確保しました", "空き 1,234.56MB → 5,678.90MB（4.2 秒）"}));
            EXPECT_EQ(view.calls.back(), "balloon") << "once the icon stands in the tray";
        } else {
            EXPECT_TRUE(view.balloons.empty()) << c.handedOver << " " << c.ended << " " << c.notify;
        }
        EXPECT_EQ(settings.Float("Handover Time"), 0.0) << "read once";
    }
}

TEST(MenuLayoutTest, EveryCommandOnceInOrderWithItsOwnCaptionAndSeparatorsOnlyBetweenEntries) {
    std::vector<MenuCommand> commands;
    std::set<std::string_view> captions;
    for (std::size_t i = 0; i < kMenuLayout.size(); ++i) {
        const MenuCommand command = kMenuLayout[i];
        if (command == MenuCommand::None) {
            EXPECT_TRUE(i > 0 && i + 1 < kMenuLayout.size() && kMenuLayout[i - 1] != MenuCommand::None) << i;
            continue;
        }
        commands.push_back(command);
        const std::string_view caption = MenuCaption(command);
        EXPECT_FALSE(caption.empty()) << i;
        captions.insert(caption);
    }
    std::vector<MenuCommand> everyCommand;
    for (std::size_t c = 1; c < kMenuCommandCount; ++c) {
        everyCommand.push_back(static_cast<MenuCommand>(c));
    }
    EXPECT_EQ(commands, everyCommand);
    EXPECT_EQ(captions.size(), commands.size()) << "two entries share a caption";
}

TEST(TrayFigureTest, TheDigitsReadOnEitherTaskbarAndLowMemoryTakesTheWarningColour) {
    using T = TaskbarTheme;
    const std::tuple<int, T, bool, const char*> cases[] = {
        {0, T::Dark, false, "0"},    {57, T::Dark, false, "57"}, {100, T::Light, false, "100"},
        {57, T::Light, false, "57"}, {9, T::Dark, true, "9"},    {9, T::Light, true, "9"},
    };
    for (const auto& [percent, theme, low, digits] : cases) {
        const TrayFigure figure = TrayFigureOf(percent, theme, low);
        EXPECT_EQ(figure.digits, digits);
        EXPECT_NE(figure.ink, figure.background) << percent;
        EXPECT_NE(figure.background, TrayFigureOf(percent, theme, !low).background) << "low memory shows";
    }
}

TEST(TrayFigureTest, TheMonitorShowsTheGaugesPercentageBeforeItsIconIsAddedAndRedrawsItOnlyWhenItChanges) {
    FakeSystem system;
    FakeView view;
    StoredSettings settings(view, {{"Tray Figure", 1}, {"Cation", 1}, {"Cation Memory", 2048}});
    system.status = MemoryStatus{1023 * MB, 512 * MB};
    Monitor monitor(system, view, settings.store, {});
    monitor.Start();
    ASSERT_EQ(view.figures.size(), 1u);
    EXPECT_EQ(view.figures[0], TrayFigureOf(50, TaskbarTheme::Dark, false)) << "the gauge's 524288 of 1048576 KB";
    EXPECT_LT(std::find(view.calls.begin(), view.calls.end(), "figure"),
              std::find(view.calls.begin(), view.calls.end(), "tray"));
    const std::tuple<std::uint64_t, TaskbarTheme, std::size_t, TrayFigure> ticks[] = {
        {512 * MB + 4096, TaskbarTheme::Dark, 1, TrayFigureOf(50, TaskbarTheme::Dark, false)}, // the same figure
        {256 * MB, TaskbarTheme::Dark, 2, TrayFigureOf(25, TaskbarTheme::Dark, false)},
        {2 * MB, TaskbarTheme::Dark, 3, TrayFigureOf(0, TaskbarTheme::Dark, true)}, // at the question's threshold
        // The question, declined, is off for this process: its threshold no longer makes the figure red.
        {2 * MB, TaskbarTheme::Light, 4, TrayFigureOf(0, TaskbarTheme::Light, false)},
    };
    system.answers = {DialogAnswer::Cancel};
    for (const auto& [free, theme, count, shown] : ticks) {
        system.status.availPhys = free;
        system.taskbarTheme = theme;
        theme == TaskbarTheme::Light ? monitor.ThemeChanged() : monitor.Tick();
        ASSERT_EQ(view.figures.size(), count) << free;
        EXPECT_EQ(view.figures.back(), shown) << free;
    }
    EXPECT_EQ(system.shown.size(), 1u) << "the question, once, at its threshold";
    EXPECT_TRUE(system.started.empty());
    const HighContrastColors colours{1, 2, 3, 4, 5};
    system.highContrast = colours;
    monitor.ThemeChanged();
    EXPECT_EQ(view.figures.back(), (TrayFigure{"0", 1, 2, 2})) << "the system's colours win";

    FakeView plain;
    StoredSettings off(plain);
    Monitor(system, plain, off.store, {}).Start();
    EXPECT_TRUE(plain.figures.empty()) << "the program icon stays the default";
}

} // namespace
} // namespace qn
