#include "monitor/MainUnit/Monitor.h"

#include "common/PathUtil.h"
#include "common/ProductFiles.h"
#include "common/ReservationReport.h"
#include "common/SettingsKey.h"
#include "common/Texts.h"
#include "common/Trace.h"
#include "monitor/Gauges/GaugeGeometry.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace qn {
namespace {

constexpr unsigned kErrorBox = mb::kIconStop | mb::kSystemModal;
constexpr unsigned kInformationBox = mb::kIconInformation | mb::kSystemModal;
constexpr double kMinutesPerDay = 1440.0;
// The reservation tool starts the monitor again right after it stored its record; an older record is another
// run's, or one that a monitor which never came back handed over to.
constexpr DateTime kFreshRecordDays = 10.0 / kMinutesPerDay;
// The furthest ahead a next run can lie: the longest period.
constexpr DateTime kLongestPeriodDays = setting::kPeriodMinutes.max / kMinutesPerDay;

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

std::int32_t GaugeMaximum(std::uint64_t totalPhysBytes) {
    const std::uint64_t kilobytes = (WholeMegabytes(totalPhysBytes) + 1) * 1024;
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(kilobytes > kMax ? kMax : kilobytes);
}

Launch ReservationLaunch(std::string_view monitorPath, std::int32_t sizeMB) {
    const std::string directory = DirectoryWithoutSeparator(monitorPath);
    // The monitor is named as the hand-over has always named it.
    return Launch{"\"" + directory + "\\" + std::string(kReserverFile) + "\"",
                  " /E:\"" + directory + "\\Mossik.EXE\" /NoMsg" + (sizeMB > 0 ? " /M:" + std::to_string(sizeMB) : ""),
                  directory + "\\"};
}

Launch SettingsLaunch(std::string_view monitorPath) {
    const std::string directory = DirectoryWithoutSeparator(monitorPath);
    return Launch{"\"" + directory + "\\" + std::string(kSettingsProgramFile) + "\"", "", directory + "\\"};
}

Monitor::Monitor(MonitorSystem& system, MonitorView& view, SettingsStore& settings, std::vector<std::string> arguments)
    : m_system(system), m_view(view), m_settings(settings), m_arguments(std::move(arguments)) {}

template <typename Step>
void Monitor::Guarded(WhileErrorShows timer, Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        // A closing monitor shows no more boxes; what failed on the way out is left for a developer.
        if (m_closing) {
            Trace(TraceLevel::Warning, std::string("error while closing: ") + error.what());
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

bool Monitor::StoredCheck(MenuCommand entry) {
    const CheckMark mark = MenuCommandOf(entry).checkMark;
    return mark.setting && m_settings.Read(*mark.setting) == mark.checkedWhen;
}

void Monitor::StoreCheck(MenuCommand entry, bool checked) {
    const CheckMark mark = MenuCommandOf(entry).checkMark;
    if (mark.setting) {
        m_settings.Write(*mark.setting, checked == mark.checkedWhen);
    }
}

void Monitor::SetCheck(MenuCommand entry, bool checked) {
    m_checked[static_cast<std::size_t>(entry)] = checked;
    m_view.SetChecked(entry, checked);
}

void Monitor::ApplySwitch(MenuCommand entry) {
    if (entry == MenuCommand::Periodic) {
        ScheduleStep();
    } else if (entry == MenuCommand::ReserveWhenLow) {
        RefreshReserveThreshold();
    }
}

void Monitor::Start() {
    Guarded([&] {
        m_settings.LoadPosition();
        m_settings.CreateKey();
        m_view.MarkApplicationWindow();

        const MemoryStatus status = m_system.QueryMemoryStatus();
        m_view.SetGaugeMaximum(GaugeMaximum(status.totalPhys));
        m_gaugeMaximum = GaugeMaximum(status.totalPhys);
        const std::int32_t freeKilobytes = std::clamp(BytesToKilobytesRounded(status.availPhys), 0, m_gaugeMaximum);
        m_view.SetGaugeProgress(freeKilobytes);

        const bool shown = StoredCheck(MenuCommand::Meter);
        m_view.SetMeterVisible(shown);
        SetCheck(MenuCommand::Meter, shown);
        m_view.SetEnabled(MenuCommand::AlwaysOnTop, shown);

        const bool topmost = StoredCheck(MenuCommand::AlwaysOnTop);
        m_view.ApplyTopmost(topmost);
        SetCheck(MenuCommand::AlwaysOnTop, topmost);

        // A reservation that cannot lift free memory above a threshold would otherwise start again at once, for
        // ever: a monitor that low memory handed over holds both triggers until memory was above them once.
        if (m_settings.Read(setting::kLowMemoryHandover)) {
            m_settings.Write(setting::kLowMemoryHandover, false);
            m_reserveHeld = m_askHeld = true;
        }
        // Read once: a monitor started later, by hand, finds no note and says nothing.
        const DateTime handedOver = m_settings.Read(setting::kHandoverTime);
        if (handedOver != 0.0) {
            m_settings.Write(setting::kHandoverTime, 0.0);
        }
        m_waitWhileBusy = m_settings.Read(setting::kWaitWhileBusy);
        m_targetFreeMB = m_settings.Read(setting::kTargetFree);

        SetCheck(MenuCommand::ReserveWhenLow, StoredCheck(MenuCommand::ReserveWhenLow));
        RefreshReserveThreshold();

        SetCheck(MenuCommand::Periodic, StoredCheck(MenuCommand::Periodic));
        ScheduleStep();

        m_askWhenLow = m_settings.Read(setting::kAskWhenLow);
        m_askThreshold = m_askWhenLow ? m_settings.Read(setting::kAskThreshold) : 0;

        if (m_settings.Read(setting::kUseHotKey)) {
            m_view.AddHotKey(kReserveNowHotKey, m_settings.Read(setting::kHotKey));
        }

        // Before the icon is added: the first add, after a hand-over too, already shows the figure.
        m_trayFigure = m_settings.Read(setting::kTrayFigure);
        if (m_trayFigure) {
            m_taskbarTheme = m_system.QueryTaskbarTheme();
            m_highContrast = m_system.QueryHighContrast();
            ShowFreeMemory(freeKilobytes);
        }

        // The start time is stored unless the first argument says otherwise; the countdown keeps its own value.
        if (m_arguments.empty() || m_arguments.front() != kKeepNextRunArgument) {
            m_settings.Write(setting::kNextRun, m_system.Now());
        }

        m_view.ShowTrayIcon();
        ReportHandover(handedOver);
    });
}

void Monitor::ReportHandover(DateTime handedOver) {
    if (handedOver == 0.0 || !m_settings.Read(setting::kNotifyResult)) {
        return;
    }
    const auto record = m_settings.ReadLastReservation();
    const DateTime now = m_system.Now();
    if (record && handedOver <= record->ended && record->ended <= now && now - record->ended <= kFreshRecordDays) {
        m_view.ShowTrayBalloon(std::string(MonitorTexts().balloonTitle),
                               ReservationSummary(*record, m_system.Separators()));
    }
}

void Monitor::CloseQuery() {
    m_settings.SavePosition();
}

void Monitor::ScheduleStep() {
    if (!Checked(MenuCommand::Periodic)) {
        m_nextRun = 0.0;
        return;
    }
    m_nextRun = m_settings.Read(setting::kNextRun);
    m_periodDays = PeriodDays(m_settings.Read(setting::kPeriodMinutes));
    const DateTime now = m_system.Now();
    // A stored time further ahead than one period (edited by hand, or the clock set back) counts as past, like one
    // that is not a number at all.
    if (now < m_nextRun && m_nextRun - now <= m_periodDays) {
        return;
    }
    StartPeriod(now);
}

DateTime Monitor::PeriodDays(std::int32_t minutes) {
    // Without a usable period the longest one bounds a stored time, which then runs out once.
    // A second of leeway: a time stored as now plus the period comes back a rounding error further ahead.
    constexpr DateTime kLeewayDays = 1.0 / (kMinutesPerDay * 60.0);
    return (setting::kPeriodMinutes.InRange(minutes) ? minutes / kMinutesPerDay : kLongestPeriodDays) + kLeewayDays;
}

void Monitor::KeepNextRunWithinAPeriod(DateTime now) {
    if (m_nextRun != 0.0 && m_nextRun - now > m_periodDays) {
        StartPeriod(now);
    }
}

void Monitor::StartPeriod(DateTime now) {
    // Without a usable period there is no periodic schedule: a zero period would hand over, come back and hand
    // over again without end.
    const std::int32_t minutes = m_settings.Read(setting::kPeriodMinutes);
    m_periodDays = PeriodDays(minutes);
    if (!setting::kPeriodMinutes.InRange(minutes)) {
        m_nextRun = 0.0;
        return;
    }
    m_nextRun = now + minutes / kMinutesPerDay;
    m_settings.Write(setting::kNextRun, m_nextRun);
}

void Monitor::RefreshReserveThreshold() {
    m_reserveThreshold = Checked(MenuCommand::ReserveWhenLow) ? m_settings.Read(setting::kReserveThreshold) : 0;
}

bool Monitor::ShowMessageAndSurvive(const std::string& text, unsigned style, DialogAnswer* answer) {
    const DialogAnswer given = m_system.ShowMessage(text, std::string(kTitleVersioned), style);
    if (answer) {
        *answer = given;
    }
    return !m_closing;
}

bool Monitor::HandOver(const std::string& verb, const Launch& launch, const std::vector<ValueSnapshot>& notes) {
    bool started = false;
    {
        const FlagSetWhile starting(m_starting);
        started = m_system.Start(verb, launch) > kLastShellError;
    }
    if (started) {
        m_view.RemoveTrayIcon(); // no icon is left behind in the notification area
        m_system.EndProcess();
        return true;
    }
    m_settings.Restore(notes);
    return false;
}

bool Monitor::LaunchReservation(bool lowMemory, std::int32_t sizeMB) {
    // A key held down or pressed again while a start or its box is under way would pile them up otherwise.
    if (LaunchUnderWay() || m_closing) {
        return false;
    }
    // The notes for the next monitor come first: the reservation tool may bring it back before this one has
    // ended, and it reads them at its start. A start that fails puts them back as they were.
    const auto notes =
        m_settings.Snapshot({setting::kNextRun.name, setting::kHandoverTime.name, setting::kLowMemoryHandover.name});
    m_settings.Write(setting::kNextRun, 0.0);
    m_settings.Write(setting::kHandoverTime, m_system.Now());
    if (lowMemory) {
        m_settings.Write(setting::kLowMemoryHandover, true);
    }
    if (HandOver("", ReservationLaunch(m_system.ModuleFileName(), sizeMB), notes)) {
        return true;
    }
    const FlagSetWhile boxOpen(m_launchBoxOpen);
    ShowMessageAndSurvive(std::string(MonitorTexts().missingFile), kErrorBox);
    return false;
}

void Monitor::ShowTick(double freeMB, DateTime now, bool waiting) {
    const NumberSeparators separators = m_system.Separators();
    m_view.SetMeterReading(MeterReading(freeMB, GaugePercentage(0, m_gaugeMaximum, m_freeKilobytes), separators));
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

bool Monitor::HoldForBusyUser() {
    return m_waitWhileBusy && UserIsBusy(m_system.QueryUserNotificationState(), m_system.QueryForegroundWindow());
}

const std::array<Monitor::Trigger, 3> Monitor::kTriggers{{
    {&Monitor::ScheduleDue, false, false, MenuCommand::Periodic},
    {&Monitor::AskDue, true, true, MenuCommand::None},
    {&Monitor::ReserveDue, true, false, MenuCommand::ReserveWhenLow},
}};

bool Monitor::ScheduleDue(std::int32_t, DateTime now) const {
    return m_nextRun != 0.0 && !(now < m_nextRun);
}

bool Monitor::AskDue(std::int32_t freeKilobytes, DateTime) const {
    return m_askThreshold > 0 && m_askWhenLow && freeKilobytes <= m_askThreshold && !m_askHeld;
}

bool Monitor::ReserveDue(std::int32_t freeKilobytes, DateTime) const {
    return m_reserveThreshold > 0 && freeKilobytes <= m_reserveThreshold && !m_reserveHeld;
}

TargetRunSize Monitor::AutomaticRunSize(const MemoryStatus& status) {
    if (m_targetFreeMB <= 0) {
        return {};
    }
    const std::int32_t askThreshold = m_askWhenLow ? m_askThreshold : 0;
    const std::int32_t defaultMB = DefaultSizeMB(status, m_system.ObtainableBlockMB(WantedDefaultSizeMB(status)));
    return SizeForTarget(m_targetFreeMB, std::max(m_reserveThreshold, askThreshold), status.availPhys, defaultMB);
}

bool Monitor::Fire(const Trigger& trigger) {
    const MenuCommand onFailure = trigger.switchedOffOnFailure;
    const unsigned uses = m_switchUses[static_cast<std::size_t>(onFailure)];
    m_view.StopTimer();
    if (trigger.asksFirst) {
        DialogAnswer answer = DialogAnswer::Other;
        if (!ShowMessageAndSurvive(std::string(MonitorTexts().lowMemoryQuestion), mb::kOkCancel | kInformationBox,
                                   &answer)) {
            return true;
        }
        if (answer != DialogAnswer::Ok) {
            m_askWhenLow = false;
            return false;
        }
    }
    // Sized by the free memory of this moment: a question may have stood open for a while.
    const TargetRunSize size = AutomaticRunSize(m_system.QueryMemoryStatus());
    if (size.run == TargetRun::Skip) {
        return false;
    }
    if (LaunchReservation(trigger.lowMemory, size.sizeMB) || m_closing) {
        return true;
    }
    // The error was shown once; unless the user used the switch while the box showed, it stays off for this
    // process until it is switched on again.
    if (onFailure != MenuCommand::None && m_switchUses[static_cast<std::size_t>(onFailure)] == uses) {
        SetCheck(onFailure, false);
        ApplySwitch(onFailure);
    }
    return false;
}

void Monitor::Tick() {
    Guarded(WhileErrorShows::TimerStops, [&] {
        const MemoryStatus status = m_system.QueryMemoryStatus();
        const std::int32_t freeKilobytes = std::clamp(BytesToKilobytesRounded(status.availPhys), 0, m_gaugeMaximum);
        const double freeMB = BytesToMegabytes(status.availPhys);
        m_askHeld = m_askHeld && freeKilobytes <= m_askThreshold;
        m_reserveHeld = m_reserveHeld && freeKilobytes <= m_reserveThreshold;
        ShowFreeMemory(freeKilobytes);
        const DateTime now = m_system.Now();
        KeepNextRunWithinAPeriod(now);
        // A scheduled run that finds free memory at its target already has nothing to do: the next period starts.
        if (!LaunchUnderWay() && ScheduleDue(freeKilobytes, now) && AutomaticRunSize(status).run == TargetRun::Skip) {
            StartPeriod(now);
        }

        const auto due = [&](const Trigger& trigger) { return (this->*trigger.due)(freeKilobytes, now); };
        // A run that falls due while the user is busy waits: the tick only shows, and the next tick looks again
        // whether it is still due. The system is asked only when something is due. While a start from the menu or
        // the hot key, or its box, is under way, their loops bring ticks that only show.
        const bool waiting = !LaunchUnderWay() && std::ranges::any_of(kTriggers, due) && HoldForBusyUser();
        if (LaunchUnderWay() || waiting) {
            ShowTick(freeMB, now, waiting);
            return;
        }
        // The tick that starts the schedule's run shows nothing.
        if (!due(kTriggers.front())) {
            ShowTick(freeMB, now);
        }
        // Each is looked at when its turn comes: a box before it may have changed what is due.
        for (const Trigger& trigger : kTriggers) {
            if (due(trigger) && Fire(trigger)) {
                return;
            }
        }
        m_view.StartTimer();
    });
}

void Monitor::ShowFreeMemory(std::int32_t freeKilobytes) {
    m_freeKilobytes = freeKilobytes;
    m_view.SetGaugeProgress(freeKilobytes);
    if (!m_trayFigure) {
        return;
    }
    const bool low = (m_reserveThreshold > 0 && freeKilobytes <= m_reserveThreshold) ||
                     (m_askWhenLow && m_askThreshold > 0 && freeKilobytes <= m_askThreshold);
    const int percent = GaugePercentage(0, m_gaugeMaximum, freeKilobytes);
    TrayFigure figure = m_highContrast ? TrayFigureInContrast(percent, *m_highContrast, low)
                                       : TrayFigureOf(percent, m_taskbarTheme, low);
    if (figure != m_shownFigure) {
        m_view.ShowTrayFigure(figure);
        m_shownFigure = std::move(figure);
    }
}

void Monitor::ThemeChanged() {
    Guarded([&] {
        if (m_trayFigure) {
            m_taskbarTheme = m_system.QueryTaskbarTheme();
            m_highContrast = m_system.QueryHighContrast();
            ShowFreeMemory(m_freeKilobytes);
        }
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
        // The note of the hand-over, as for the reservation tool: the settings program may start the next monitor
        // while this one still ends, and then waits for it. A start that fails puts it back as it was.
        const auto note = m_settings.Snapshot({setting::kHandoverTime.name});
        m_settings.Write(setting::kHandoverTime, m_system.Now());
        if (!HandOver("open", SettingsLaunch(m_system.ModuleFileName()), note)) {
            ShowMessageAndSurvive(std::string(MonitorTexts().noSettingsProgram), kErrorBox);
        }
    });
}

void Monitor::ToggleMeter() {
    Guarded([&] {
        const bool wasShown = Checked(MenuCommand::Meter);
        m_view.SetMeterVisible(!wasShown);
        StoreCheck(MenuCommand::Meter, !wasShown);
        m_view.SetEnabled(MenuCommand::AlwaysOnTop, !wasShown);
        SetCheck(MenuCommand::Meter, !wasShown);
    });
}

void Monitor::ToggleAlwaysOnTop() {
    Guarded([&] {
        const bool wasTopmost = Checked(MenuCommand::AlwaysOnTop);
        m_view.ApplyTopmost(!wasTopmost);
        StoreCheck(MenuCommand::AlwaysOnTop, !wasTopmost);
        SetCheck(MenuCommand::AlwaysOnTop, !wasTopmost);
    });
}

void Monitor::TogglePeriodic() {
    Guarded([&] { ToggleSwitch(MenuCommand::Periodic); });
}

void Monitor::ToggleReserveWhenLow() {
    Guarded([&] { ToggleSwitch(MenuCommand::ReserveWhenLow); });
}

void Monitor::ToggleSwitch(MenuCommand entry) {
    ++m_switchUses[static_cast<std::size_t>(entry)];
    SetCheck(entry, !Checked(entry));
    StoreCheck(entry, Checked(entry));
    ApplySwitch(entry);
}

void Monitor::ShowAbout() {
    Guarded([&] { ShowMessageAndSurvive(AboutText(), kInformationBox); });
}

void Monitor::Exit() {
    Guarded([&] {
        m_closing = true;
        m_settings.StopCreatingKey();
        m_settings.Write(setting::kNextRun, 0.0);
        if (m_settings.Read(setting::kUseHotKey)) {
            m_view.RemoveHotKey(kReserveNowHotKey);
        }
        m_view.CloseMeter();
    });
}

void Monitor::HotKeyPressed(int index) {
    if (index == kReserveNowHotKey) {
        ReserveNow();
    }
}

} // namespace qn
