#pragma once
#include "monitor/MainUnit/MonitorPorts.h"
#include "monitor/MainUnit/SettingsStore.h"

#include <string>
#include <vector>

namespace qn {

// The resident monitor's logic, behind its meter window: start-up, the once-a-second tick, the schedule, the
// hand-overs and the menu commands. Every handler catches what its steps raise and shows it as an error box.
class Monitor { // the meter window TForm1's handlers
public:
    Monitor(MonitorSystem& system, MonitorView& view, SettingsStore& settings, std::vector<std::string> arguments);

    void Start();      // FormCreate
    void CloseQuery(); // FormCloseQuery
    void Tick();       // RestMemoryTimer

    void ReserveNow();             // RunQeltoMenuClick
    void OpenSettings();           // SetQeltoClick
    void ToggleMeter();            // RestMemMenuClick
    void ToggleAlwaysOnTop();      // TopShowMenuClick
    void TogglePeriodic();         // TimeMem1Click
    void ToggleLowMemory();        // ZanMem1Click
    void ShowAbout();              // AboutAmbrolainTrayIcon1Click
    void Exit();                   // Exit1Click
    void HotKeyPressed(int index); // HKey1HotKey

    // Called once the meter window is gone, so that nothing touches it afterwards (a box the tick showed may
    // return after the monitor was ended from the menu).
    void MeterDestroyed() { m_closing = true; }

    DateTime NextRunTime() const { return m_nextRun; }
    std::int32_t ReserveThreshold() const { return m_reserveThreshold; }
    std::int32_t PromptThreshold() const { return m_promptThreshold; }
    bool PromptSwitch() const { return m_promptSwitch; }
    bool Checked(MenuCommand entry) const;

private:
    template <typename Step>
    void Guarded(Step step);
    void SetCheck(MenuCommand entry, bool checked);
    void ScheduleStep();
    void RefreshReserveThreshold();
    // Hands over to the reservation tool; true when the process has ended. Nothing is started while the box of
    // another launch shows or once the monitor has begun to close. `lowMemory`: started by a low-memory trigger.
    bool LaunchReservation(bool lowMemory = false);
    bool ShowMessageAndSurvive(const std::string& text, unsigned style, DialogAnswer* answer = nullptr);
    // `waiting`: a run fell due but waits while the user is busy.
    void ShowTick(double freeMB, DateTime now, bool waiting = false);
    // Whether an automatic run (the schedule, the prompt or the automatic reservation) would start in a tick
    // that finds this much free memory now.
    bool AutomaticRunDue(std::int32_t freeKilobytes, DateTime now) const;
    // Whether automatic runs wait: the switch is on and the user is busy.
    bool HoldForBusyUser();
    // After its own hand-over, the balloon that says what the run did, if it stored its record.
    void ReportHandover(DateTime handedOver);

    MonitorSystem& m_system;
    MonitorView& m_view;
    SettingsStore& m_settings;
    std::vector<std::string> m_arguments;

    DateTime m_nextRun = 0.0;
    std::int32_t m_reserveThreshold = 0;
    std::int32_t m_promptThreshold = 0;
    bool m_promptSwitch = false;
    std::int32_t m_gaugeMaximum = 100;
    bool m_meterShown = false;
    bool m_topmost = false;
    bool m_periodic = false;
    bool m_lowMemory = false;
    // Counts the clicks on 残メモリで確保, so that a tick can tell whether the switch was used while its box showed.
    unsigned m_lowMemoryClicks = 0;
    // After a hand-over started by low memory, each low-memory trigger waits until free memory was above its
    // threshold once.
    bool m_reserveHeld = false;
    bool m_promptHeld = false;
    bool m_launchBoxOpen = false;
    bool m_waitWhileBusy = false;
    // From the exit command or the meter window's end on, nothing more is started or shown.
    bool m_closing = false;
};

} // namespace qn
