#pragma once
#include "common/ReservationSize.h"
#include "monitor/MainUnit/MonitorPorts.h"
#include "monitor/MainUnit/SettingsStore.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

// The index the monitor's one hot key, which reserves now, is registered under.
inline constexpr int kReserveNowHotKey = 1;
// The first command-line argument that leaves the stored next run as the schedule left it at start-up, compared
// byte for byte (a lowercase "c" does not count).
inline constexpr std::string_view kKeepNextRunArgument = "C";

// The resident monitor's logic, behind its meter window: start-up, the once-a-second tick, the schedule, the
// hand-overs and the menu commands. Every handler catches what its steps raise and shows it as an error box.
class Monitor { // the meter window TForm1's handlers
public:
    Monitor(MonitorSystem& system, MonitorView& view, SettingsStore& settings, std::vector<std::string> arguments);

    void Start();      // FormCreate
    void CloseQuery(); // FormCloseQuery
    void Tick();       // RestMemoryTimer
    // The system's clock or time zone changed.
    void TimeChanged();
    // Windows announced that its colours changed (the taskbar's theme and high contrast among them).
    void ThemeChanged();

    void ReserveNow();             // RunQeltoMenuClick
    void OpenSettings();           // SetQeltoClick
    void ToggleMeter();            // RestMemMenuClick
    void ToggleAlwaysOnTop();      // TopShowMenuClick
    void TogglePeriodic();         // TimeMem1Click
    void ToggleReserveWhenLow();   // ZanMem1Click
    void ShowAbout();              // AboutAmbrolainTrayIcon1Click
    void Exit();                   // Exit1Click
    void HotKeyPressed(int index); // HKey1HotKey

    // Called once the meter window is gone, so that nothing touches it afterwards (a box the tick showed may
    // return after the monitor was ended from the menu).
    void MeterDestroyed() { m_closing = true; }

    DateTime NextRunTime() const { return m_nextRun; }
    std::int32_t ReserveThreshold() const { return m_reserveThreshold; }
    std::int32_t AskThreshold() const { return m_askThreshold; }
    bool AsksWhenLow() const { return m_askWhenLow; }
    // The check mark of a menu entry; false for an entry that has none.
    bool Checked(MenuCommand entry) const { return m_checked[static_cast<std::size_t>(entry)]; }

private:
    // What the error box of a failed step does to the tick's timer: the tick's own box stops it while it shows,
    // so that a lasting cause shows one box at a time rather than a new one every second.
    enum class WhileErrorShows { TimerRuns, TimerStops };
    template <typename Step>
    void Guarded(WhileErrorShows timer, Step step);
    template <typename Step>
    void Guarded(Step step) {
        Guarded(WhileErrorShows::TimerRuns, step);
    }

    // One way an automatic reservation starts; the tick walks them in the order of kTriggers.
    struct Trigger {
        // Whether it is due in a tick that finds this much free memory now.
        bool (Monitor::*due)(std::int32_t freeKilobytes, DateTime now) const;
        // The reservation it starts comes from low memory.
        bool lowMemory;
        // The user is asked first; a decline switches the question off for this process.
        bool asksFirst;
        // The menu switch that a failed start turns off for this process, rather than bringing its box back every
        // second; None where the trigger asks again.
        MenuCommand switchedOffOnFailure;
    };
    static const std::array<Trigger, 3> kTriggers;
    bool ScheduleDue(std::int32_t freeKilobytes, DateTime now) const;
    bool AskDue(std::int32_t freeKilobytes, DateTime now) const;
    bool ReserveDue(std::int32_t freeKilobytes, DateTime now) const;
    // Starts a due trigger's reservation; true when the tick must stop (the monitor has ended or begun to close).
    bool Fire(const Trigger& trigger);
    // What an automatic run reserves, with the target of free memory where one is set.
    TargetRunSize AutomaticRunSize(const MemoryStatus& status);

    // A check mark as the setting behind it (MenuCommands.h) holds it, and stored there.
    bool StoredCheck(MenuCommand entry);
    void StoreCheck(MenuCommand entry, bool checked);
    void SetCheck(MenuCommand entry, bool checked);
    // The periodic and the low-memory switch of the menu: the check mark turned, stored and applied.
    void ToggleSwitch(MenuCommand entry);
    // Brings the state behind a switch of the menu in line with its check mark.
    void ApplySwitch(MenuCommand entry);
    void ScheduleStep();
    // A fresh period from now: the next run the stored period ahead, stored; none without a usable period.
    void StartPeriod(DateTime now);
    // A next run further ahead than the stored period (the clock was set back, or the time zone moved west)
    // would hold every periodic run back for as long: a fresh period starts instead.
    void KeepNextRunWithinAPeriod(DateTime now);
    static DateTime PeriodDays(std::int32_t minutes);
    void RefreshReserveThreshold();
    // Hands over to the reservation tool; true when the process has ended. Nothing is started while another
    // start is under way or the box of a failed launch shows, or once the monitor has begun to close.
    // `lowMemory`: started by a low-memory trigger; `sizeMB`: the size to reserve, 0 for the default size.
    // Starts the program that takes over, then removes the icon and ends; a start that fails puts the hand-over
    // notes back as they were and answers false.
    bool HandOver(const std::string& verb, const Launch& launch, const std::vector<ValueSnapshot>& notes);
    bool LaunchReservation(bool lowMemory = false, std::int32_t sizeMB = 0);
    // While a start or the box of a failed launch is under way, ticks only show.
    bool LaunchUnderWay() const { return m_starting || m_launchBoxOpen; }
    bool ShowMessageAndSurvive(const std::string& text, unsigned style, DialogAnswer* answer = nullptr);
    // `waiting`: a run fell due but waits while the user is busy.
    void ShowTick(double freeMB, DateTime now, bool waiting = false);
    // Whether automatic runs wait: the switch is on and the user is busy.
    bool HoldForBusyUser();
    // After its own hand-over, the balloon that says what the run did, if it stored its record.
    void ReportHandover(DateTime handedOver);
    // The gauge's progress, and the tray figure where it is wanted, redrawn only when it changed.
    void ShowFreeMemory(std::int32_t freeKilobytes);

    MonitorSystem& m_system;
    MonitorView& m_view;
    SettingsStore& m_settings;
    std::vector<std::string> m_arguments;

    DateTime m_nextRun = 0.0;
    // The stored period the next run was worked out with, in days: the furthest ahead it may lie.
    DateTime m_periodDays = 0.0;
    std::int32_t m_reserveThreshold = 0;
    std::int32_t m_askThreshold = 0;
    bool m_askWhenLow = false;
    std::int32_t m_gaugeMaximum = 100;
    // The check marks of the menu's switches (the meter shown, always on top, periodic, reserve when low), by
    // command, and how often each was used, so that a tick can tell whether a switch was used while its box showed.
    std::array<bool, kMenuCommandCount> m_checked{};
    std::array<unsigned, kMenuCommandCount> m_switchUses{};
    // After a hand-over started by low memory, each low-memory trigger waits until free memory was above its
    // threshold once.
    bool m_reserveHeld = false;
    bool m_askHeld = false;
    bool m_launchBoxOpen = false;
    // The shell's start of another program is under way: it may ask the user and run its own message loop.
    bool m_starting = false;
    bool m_waitWhileBusy = false;
    // The free memory automatic runs free up to, in megabytes; 0 or less: they take the default size.
    std::int32_t m_targetFreeMB = 0;
    // The tray icon shows the figure, on a taskbar of this theme; the figure it shows now, nothing before.
    bool m_trayFigure = false;
    TaskbarTheme m_taskbarTheme = TaskbarTheme::Dark;
    std::optional<HighContrastColors> m_highContrast;
    std::optional<TrayFigure> m_shownFigure;
    std::int32_t m_freeKilobytes = 0;
    // From the exit command or the meter window's end on, nothing more is started or shown.
    bool m_closing = false;
};

// The gauge's scale in kilobytes: the whole megabytes of total memory plus one, capped at the largest signed 32-bit
// value.
std::int32_t GaugeMaximum(std::uint64_t totalPhysBytes);

} // namespace qn
