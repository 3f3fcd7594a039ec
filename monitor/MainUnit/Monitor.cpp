#include "monitor/MainUnit/Monitor.h"

#include "common/ReservationReport.h"
#include "common/SettingsKey.h"
#include "common/Texts.h"

#include <algorithm>
#include <exception>

namespace qn {
namespace {

constexpr unsigned kErrorBox = mb::kIconStop | mb::kSystemModal;
constexpr unsigned kInformationBox = mb::kIconInformation | mb::kSystemModal;
constexpr double kMinutesPerDay = 1440.0;
// The reservation tool starts the monitor again right after it stored its record; an older record is another
// run's, or one that a monitor which never came back handed over to.
constexpr DateTime kFreshRecordDays = 10.0 / kMinutesPerDay;
// How long a monitor that handed over may take to end: the shell can keep it waiting for seconds on its tray icon.
constexpr DateTime kFreshHandoverDays = 10.0 / (kMinutesPerDay * 60.0);
// The furthest ahead a next run can lie: the longest period.
constexpr DateTime kLongestPeriodDays = setting::kCycle.max / kMinutesPerDay;

// Sets a flag for as long as it lives, also when what it guards throws.
class FlagSetWhile {
public:
    explicit FlagSetWhile(bool& flag) : m_flag(flag) { m_flag = true; }
    FlagSetWhile(const FlagSetWhile&) = delete;
    FlagSetWhile& operator=(const FlagSetWhile&) = delete;
    ~FlagSetWhile() { m_flag = false; }

private:
    bool& m_flag;
};

} // namespace

bool HandoverIsFresh(DateTime handedOver, DateTime now) {
    return handedOver != 0.0 && handedOver <= now && now - handedOver <= kFreshHandoverDays;
}

Monitor::Monitor(MonitorSystem& system, MonitorView& view, SettingsStore& settings, std::vector<std::string> arguments)
    : m_system(system), m_view(view), m_settings(settings), m_arguments(std::move(arguments)) {}

template <typename Step>
void Monitor::Guarded(WhileErrorShows timer, Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        if (m_closing) {
            return;
        }
        if (timer == WhileErrorShows::TimerStops) {
            m_view.StopTimer();
        }
        m_system.ShowError(error.what());
        if (timer == WhileErrorShows::TimerStops && !m_closing) {
            m_view.StartTimer();
        }
    }
}

bool Monitor::Checked(MenuCommand entry) const {
    switch (entry) {
    case MenuCommand::Meter:
        return m_meterShown;
    case MenuCommand::AlwaysOnTop:
        return m_topmost;
    case MenuCommand::Periodic:
        return m_periodic;
    case MenuCommand::LowMemory:
        return m_lowMemory;
    default:
        return false;
    }
}

void Monitor::SetCheck(MenuCommand entry, bool checked) {
    switch (entry) {
    case MenuCommand::Meter:
        m_meterShown = checked;
        break;
    case MenuCommand::AlwaysOnTop:
        m_topmost = checked;
        break;
    case MenuCommand::Periodic:
        m_periodic = checked;
        break;
    case MenuCommand::LowMemory:
        m_lowMemory = checked;
        break;
    default:
        return;
    }
    m_view.SetChecked(entry, checked);
}

void Monitor::Start() {
    Guarded([&] {
        m_settings.LoadPosition();
        m_view.MarkApplicationWindow();

        const MemoryStatus status = m_system.QueryMemoryStatus();
        m_view.SetGaugeMaximum(GaugeMaximum(status.totalPhys));
        m_gaugeMaximum = GaugeMaximum(status.totalPhys);
        m_view.SetGaugeProgress(std::clamp(BytesToKilobytesRounded(status.availPhys), 0, m_gaugeMaximum));

        const bool shown = !m_settings.ReadSettingBool(setting::kShow);
        m_view.SetMeterVisible(shown);
        SetCheck(MenuCommand::Meter, shown);
        m_view.SetEnabled(MenuCommand::AlwaysOnTop, shown);

        const bool topmost = m_settings.ReadSettingBool(setting::kTop);
        m_view.ApplyTopmost(topmost);
        SetCheck(MenuCommand::AlwaysOnTop, topmost);

        // A reservation that cannot lift free memory above a threshold would otherwise start again at once, for
        // ever: a monitor that low memory handed over holds both triggers until memory was above them once.
        if (m_settings.ReadSettingBool(setting::kLowMemoryHandover)) {
            m_settings.WriteSettingBool(setting::kLowMemoryHandover, false);
            m_reserveHeld = m_promptHeld = true;
        }
        // Read once: a monitor started later, by hand, finds no note and says nothing.
        const DateTime handedOver = m_settings.ReadSettingFloat(setting::kHandoverTime);
        if (handedOver != 0.0) {
            m_settings.WriteSettingFloat(setting::kHandoverTime, 0.0);
        }
        m_waitWhileBusy = m_settings.ReadSettingBool(setting::kWaitWhileBusy);

        SetCheck(MenuCommand::LowMemory, m_settings.ReadSettingBool(setting::kMemory));
        RefreshReserveThreshold();

        SetCheck(MenuCommand::Periodic, m_settings.ReadSettingBool(setting::kTime));
        ScheduleStep();

        m_promptSwitch = m_settings.ReadSettingBool(setting::kCation);
        m_promptThreshold = m_promptSwitch ? m_settings.ReadSettingInt(setting::kCationMemory) : 0;

        if (m_settings.ReadSettingBool(setting::kUseHotKey)) {
            m_view.AddHotKey(1, m_settings.ReadSettingInt(setting::kHotKey));
        }

        // The start time is stored unless the first argument is exactly "C"; the countdown keeps its own value.
        if (m_arguments.empty() || m_arguments.front() != "C") {
            m_settings.WriteSettingFloat(setting::kNextRun, m_system.Now());
        }

        m_view.ShowTrayIcon();
        ReportHandover(handedOver);
    });
}

void Monitor::ReportHandover(DateTime handedOver) {
    if (handedOver == 0.0 || !m_settings.ReadSettingBool(setting::kNotifyResult)) {
        return;
    }
    const auto record = m_settings.ReadLastReservation();
    const DateTime now = m_system.Now();
    if (record && handedOver <= record->ended && record->ended <= now && now - record->ended <= kFreshRecordDays) {
        m_view.ShowTrayBalloon(std::string(kReservationBalloonTitle),
                               ReservationSummary(*record, m_system.Separators()));
    }
}

void Monitor::CloseQuery() {
    m_settings.SavePosition();
}

void Monitor::ScheduleStep() {
    if (!m_periodic) {
        m_nextRun = 0.0;
        return;
    }
    m_nextRun = m_settings.ReadSettingFloat(setting::kNextRun);
    const DateTime now = m_system.Now();
    // A stored time further ahead than the longest period (edited by hand, or the clock set back) counts as
    // past, like one that is not a number at all.
    if (now < m_nextRun && m_nextRun - now <= kLongestPeriodDays) {
        return;
    }
    StartPeriod(now);
}

void Monitor::KeepNextRunWithinAPeriod(DateTime now) {
    if (m_nextRun != 0.0 && m_nextRun - now > kLongestPeriodDays) {
        StartPeriod(now);
    }
}

void Monitor::StartPeriod(DateTime now) {
    // "Cycle" is a period in minutes. Without a usable period there is no periodic schedule: a zero period
    // would hand over, come back and hand over again without end.
    const std::int32_t cycle = m_settings.ReadSettingInt(setting::kCycle);
    if (!setting::kCycle.InRange(cycle)) {
        m_nextRun = 0.0;
        return;
    }
    m_nextRun = now + cycle / kMinutesPerDay;
    m_settings.WriteSettingFloat(setting::kNextRun, m_nextRun);
}

void Monitor::RefreshReserveThreshold() {
    m_reserveThreshold = m_lowMemory ? m_settings.ReadSettingInt(setting::kMinMemory) : 0;
}

bool Monitor::ShowMessageAndSurvive(const std::string& text, unsigned style, DialogAnswer* answer) {
    const DialogAnswer given = m_system.ShowMessage(text, std::string(kTitleVersioned), style);
    if (answer) {
        *answer = given;
    }
    return !m_closing;
}

bool Monitor::LaunchReservation(bool lowMemory) {
    // A key held down or pressed again while a start or its box is under way would pile them up otherwise.
    if (LaunchUnderWay() || m_closing) {
        return false;
    }
    // The notes for the next monitor come first: the reservation tool may bring it back before this one has
    // ended, and it reads them at its start. A start that fails puts them back as they were.
    const auto notes =
        m_settings.Snapshot({setting::kNextRun.name, setting::kHandoverTime.name, setting::kLowMemoryHandover.name});
    m_settings.WriteSettingFloat(setting::kNextRun, 0.0);
    m_settings.WriteSettingFloat(setting::kHandoverTime, m_system.Now());
    if (lowMemory) {
        m_settings.WriteSettingBool(setting::kLowMemoryHandover, true);
    }
    bool started = false;
    {
        const FlagSetWhile starting(m_starting);
        started = m_system.Start("", ReservationLaunch(m_system.ModuleFileName())) > kLastShellError;
    }
    if (started) {
        m_view.RemoveTrayIcon(); // no icon is left behind in the notification area
        m_system.EndProcess();
        return true;
    }
    m_settings.Restore(notes);
    const FlagSetWhile boxOpen(m_launchBoxOpen);
    ShowMessageAndSurvive(std::string(kMissingFileText), kErrorBox);
    return false;
}

void Monitor::ShowTick(double freeMB, DateTime now, bool waiting) {
    const NumberSeparators separators = m_system.Separators();
    // A due schedule that waits shows its countdown at "  00:00": the remaining time is past.
    if (m_nextRun != 0.0) {
        const DateTime remaining = m_nextRun - now;
        m_view.SetMeterTitle(MeterTitle(freeMB, separators) + CountdownSuffix(remaining));
        m_view.SetGaugeHint(waiting ? HintWhileWaiting(freeMB, separators)
                                    : HintWithSchedule(freeMB, remaining, separators));
    } else {
        m_view.SetMeterTitle(MeterTitle(freeMB, separators));
        m_view.SetGaugeHint(waiting ? HintWhileWaiting(freeMB, separators) : HintWithoutSchedule(freeMB, separators));
    }
}

bool Monitor::AutomaticRunDue(std::int32_t freeKilobytes, DateTime now) const {
    const bool scheduleDue = m_nextRun != 0.0 && !(now < m_nextRun);
    const bool promptDue =
        m_promptThreshold > 0 && m_promptSwitch && freeKilobytes <= m_promptThreshold && !m_promptHeld;
    const bool reserveDue = m_reserveThreshold > 0 && freeKilobytes <= m_reserveThreshold && !m_reserveHeld;
    return scheduleDue || promptDue || reserveDue;
}

bool Monitor::HoldForBusyUser() {
    return m_waitWhileBusy && UserIsBusy(m_system.QueryUserNotificationState(), m_system.QueryForegroundWindow());
}

void Monitor::Tick() {
    Guarded(WhileErrorShows::TimerStops, [&] {
        const MemoryStatus status = m_system.QueryMemoryStatus();
        const std::int32_t freeKilobytes = std::clamp(BytesToKilobytesRounded(status.availPhys), 0, m_gaugeMaximum);
        const double freeMB = BytesToMegabytes(status.availPhys);
        m_view.SetGaugeProgress(freeKilobytes);
        m_promptHeld = m_promptHeld && freeKilobytes <= m_promptThreshold;
        m_reserveHeld = m_reserveHeld && freeKilobytes <= m_reserveThreshold;

        const DateTime now = m_system.Now();
        KeepNextRunWithinAPeriod(now);
        // A run that falls due while the user is busy waits: the tick only shows, and the next tick looks again
        // whether it is still due. The system is asked only when something is due.
        const bool waiting = !LaunchUnderWay() && AutomaticRunDue(freeKilobytes, now) && HoldForBusyUser();
        // While a start from the menu or the hot key, or its box, is under way, their loops bring ticks that only
        // show.
        if (LaunchUnderWay() || waiting || m_nextRun == 0.0 || now < m_nextRun) {
            ShowTick(freeMB, now, waiting);
            if (LaunchUnderWay() || waiting) {
                return;
            }
        } else {
            const DateTime due = m_nextRun;
            m_view.StopTimer();
            if (LaunchReservation() || m_closing) {
                return;
            }
            // The error was shown once; the schedule stays off for this process until it is switched on again,
            // rather than bringing the box back every second. Unless it was switched off and on meanwhile.
            if (m_nextRun == due) {
                m_nextRun = 0.0;
                SetCheck(MenuCommand::Periodic, false);
            }
        }

        if (m_promptThreshold > 0 && m_promptSwitch) {
            m_view.StopTimer();
            if (freeKilobytes <= m_promptThreshold && !m_promptHeld) {
                DialogAnswer answer = DialogAnswer::Other;
                if (!ShowMessageAndSurvive(std::string(kLowMemoryPromptText), mb::kOkCancel | kInformationBox,
                                           &answer)) {
                    return;
                }
                if (answer == DialogAnswer::Ok) {
                    if (LaunchReservation(true) || m_closing) {
                        return;
                    }
                } else {
                    m_promptSwitch = false;
                }
            }
        }

        if (m_reserveThreshold > 0 && freeKilobytes <= m_reserveThreshold && !m_reserveHeld) {
            const unsigned clicks = m_lowMemoryClicks;
            m_view.StopTimer();
            if (LaunchReservation(true) || m_closing) {
                return;
            }
            // As with the schedule: shown once, then off for this process until switched on again.
            if (m_lowMemoryClicks == clicks) {
                m_reserveThreshold = 0;
                SetCheck(MenuCommand::LowMemory, false);
            }
        }

        m_view.StartTimer();
    });
}

void Monitor::TimeChanged() {
    Guarded([&] { KeepNextRunWithinAPeriod(m_system.Now()); });
}

void Monitor::ReserveNow() {
    Guarded([&] { LaunchReservation(); });
}

void Monitor::OpenSettings() {
    Guarded([&] {
        if (m_starting || m_closing) {
            return;
        }
        bool started = false;
        {
            const FlagSetWhile starting(m_starting);
            started = m_system.Start("open", SettingsLaunch(m_system.ModuleFileName())) > kLastShellError;
        }
        if (started) {
            m_view.RemoveTrayIcon();
            m_system.EndProcess();
            return;
        }
        ShowMessageAndSurvive(std::string(kNoSettingsProgramText), kErrorBox);
    });
}

void Monitor::ToggleMeter() {
    Guarded([&] {
        const bool wasShown = m_meterShown;
        m_view.SetMeterVisible(!wasShown);
        m_settings.WriteSettingBool(setting::kShow, wasShown);
        m_view.SetEnabled(MenuCommand::AlwaysOnTop, !wasShown);
        SetCheck(MenuCommand::Meter, !wasShown);
    });
}

void Monitor::ToggleAlwaysOnTop() {
    Guarded([&] {
        const bool wasTopmost = m_topmost;
        m_view.ApplyTopmost(!wasTopmost);
        m_settings.WriteSettingBool(setting::kTop, !wasTopmost);
        SetCheck(MenuCommand::AlwaysOnTop, !wasTopmost);
    });
}

void Monitor::TogglePeriodic() {
    Guarded([&] {
        SetCheck(MenuCommand::Periodic, !m_periodic);
        m_settings.WriteSettingBool(setting::kTime, m_periodic);
        ScheduleStep();
    });
}

void Monitor::ToggleLowMemory() {
    Guarded([&] {
        ++m_lowMemoryClicks;
        SetCheck(MenuCommand::LowMemory, !m_lowMemory);
        m_settings.WriteSettingBool(setting::kMemory, m_lowMemory);
        RefreshReserveThreshold();
    });
}

void Monitor::ShowAbout() {
    Guarded([&] { ShowMessageAndSurvive(AboutText(), kInformationBox); });
}

void Monitor::Exit() {
    Guarded([&] {
        m_closing = true;
        m_settings.StopCreatingKey();
        m_settings.WriteSettingFloat(setting::kNextRun, 0.0);
        if (m_settings.ReadSettingBool(setting::kUseHotKey)) {
            m_view.RemoveHotKey(1);
        }
        m_view.CloseMeter();
    });
}

void Monitor::HotKeyPressed(int index) {
    if (index == 1) {
        ReserveNow();
    }
}

} // namespace qn
