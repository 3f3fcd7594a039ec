#pragma once
// Fakes of the monitor's ports: they record what the logic does and answer as scripted.
#include "common/RegistryValues.h"
#include "monitor/MainUnit/Monitor.h"
#include "tests/unit/support/FakeRegistry.h"
#include "tests/unit/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <variant>

namespace qn::testing_support {

// Values of the settings key as a test writes them: an integer or switch (REG_DWORD), a date-time (REG_BINARY of
// 8 bytes) or a text (REG_SZ), each under its name.
using StoredValue = std::variant<std::int32_t, double, std::string>;
using StoredValues = std::map<std::string, StoredValue>;

// The settings key the monitor reads: the real settings store over an in-memory registry.
class StoredSettings {
public:
    explicit StoredSettings(MeterWindowPort& meterWindow, const StoredValues& values = {})
        : store(registry.Root(), meterWindow) {
        Put(values);
    }

    fake::Registry registry;
    SettingsStore store;

    void Put(const StoredValues& values) {
        const auto key = registry.Root().CreateSubkey(kSettingsKeyPath);
        for (const auto& [name, value] : values) {
            if (const auto* number = std::get_if<std::int32_t>(&value)) {
                WriteDword(*key, name, *number);
            } else if (const auto* time = std::get_if<double>(&value)) {
                WriteFloat64(*key, name, *time);
            } else {
                WriteText(*key, name, std::get<std::string>(value));
            }
        }
    }
    void Put(const ReservationRecord& record) {
        WriteSetting(*registry.Root().CreateSubkey(kSettingsKeyPath), setting::kLastReservation, record);
    }
    // What is stored under a name as an integer or a switch (4 bytes), or as a date-time (8 bytes). Read from the
    // stored bytes, so that it counts as no read of the monitor's.
    std::optional<std::int32_t> Int(std::string_view name) const { return Stored<std::int32_t>(name); }
    std::optional<double> Float(std::string_view name) const { return Stored<double>(name); }
    bool Has(std::string_view name) const { return registry.Get(kSettingsKeyPath, name).has_value(); }
    std::size_t Count() const {
        const auto key = registry.Find(kSettingsKeyPath);
        return key ? key->values.size() : 0;
    }
    bool WasRead(std::string_view name) const { return registry.WasQueried(name); }

private:
    template <typename T>
    std::optional<T> Stored(std::string_view name) const {
        const auto value = registry.Get(kSettingsKeyPath, name);
        T stored{};
        if (!value || value->data.size() != sizeof stored) {
            return std::nullopt;
        }
        std::memcpy(&stored, value->data.data(), sizeof stored); // little-endian, as the registry stores it
        return stored;
    }
};

struct StartedLaunch {
    std::string verb;
    Launch launch;
};

class FakeSystem : public fake::ScriptedDialogs<MonitorSystem> {
public:
    FakeSystem() : ScriptedDialogs("QeltoNimbi Ver.0.04") {}

    MemoryStatus status{24ULL << 30, 12ULL << 30};
    DateTime now = 46363.5; // 7 December 2026, noon
    std::string modulePath = "C:\\Tools\\Mossik.EXE";
    std::intptr_t startResult = 42;
    std::function<void()> duringStart; // the shell's start runs a message loop of its own while it asks the user
    std::optional<std::string> statusError;
    std::optional<UserNotificationState> notificationState = UserNotificationState::AcceptsNotifications;
    std::optional<ForegroundWindow> foreground;

    std::vector<StartedLaunch> started;
    std::vector<std::string> errors;
    int endProcessCalls = 0;

    MemoryStatus QueryMemoryStatus() override {
        if (statusError) {
            throw std::runtime_error(*statusError);
        }
        return status;
    }
    std::uint64_t ObtainableBlockMB(std::uint64_t limitMB) override { return std::min(limitMB, obtainableMB); }
    std::uint64_t obtainableMB = 1884; // what a 32-bit process can have in one piece
    DateTime Now() override { return now; }
    NumberSeparators Separators() override { return NumberSeparators{",", "."}; }
    std::string ModuleFileName() override { return modulePath; }
    std::intptr_t Start(const std::string& verb, const Launch& launch) override {
        started.push_back({verb, launch});
        if (duringStart) {
            duringStart();
        }
        return startResult;
    }
    void ShowError(const std::string& message) override { errors.push_back(message); }
    void EndProcess() override { ++endProcessCalls; }
    std::optional<UserNotificationState> QueryUserNotificationState() override { return notificationState; }
    std::optional<ForegroundWindow> QueryForegroundWindow() override { return foreground; }
    TaskbarTheme QueryTaskbarTheme() override { return taskbarTheme; }
    TaskbarTheme taskbarTheme = TaskbarTheme::Dark;
    std::optional<HighContrastColors> QueryHighContrast() override { return highContrast; }
    std::optional<HighContrastColors> highContrast;
};

// The meter window as the monitor and its settings store see it.
class FakeView : public MonitorView, public MeterWindowPort {
public:
    std::vector<std::string> calls; // the order of what was done, by name
    bool marked = false;
    std::optional<bool> meterVisible;
    std::optional<bool> topmost;
    std::string title;
    std::string reading;
    std::int32_t gaugeMaximum = 100;
    std::int32_t gaugeProgress = 0;
    std::string hint;
    bool timerRunning = true;
    int timerStops = 0;
    int timerStarts = 0;
    std::map<MenuCommand, bool> checked;
    std::map<MenuCommand, bool> enabled;
    bool trayShown = false;
    bool trayRemoved = false;
    std::optional<std::string> gaugeMaximumError;
    std::optional<std::string> trayError;
    std::vector<std::pair<int, std::int32_t>> hotKeysAdded;
    std::vector<int> hotKeysRemoved;
    int closeRequests = 0;
    std::vector<std::pair<std::string, std::string>> balloons;
    WindowPlacement placement{{-1, -1}, {-1, -1}, {212, 108, 448, 138}};

    void MarkApplicationWindow() override {
        calls.push_back("mark");
        marked = true;
    }
    void SetMeterVisible(bool visible) override {
        calls.push_back("visible");
        meterVisible = visible;
    }
    void ApplyTopmost(bool value) override {
        calls.push_back("topmost");
        topmost = value;
    }
    void SetMeterTitle(const std::string& text) override { title = text; }
    void SetMeterReading(const std::string& text) override { reading = text; }
    void SetGaugeMaximum(std::int32_t kilobytes) override {
        calls.push_back("maximum");
        if (gaugeMaximumError) {
            throw std::runtime_error(*gaugeMaximumError);
        }
        gaugeMaximum = kilobytes;
    }
    void SetGaugeProgress(std::int32_t kilobytes) override { gaugeProgress = kilobytes; }
    void SetGaugeHint(const std::string& text) override { hint = text; }
    void StartTimer() override {
        ++timerStarts;
        timerRunning = true;
    }
    void StopTimer() override {
        ++timerStops;
        timerRunning = false;
    }
    void SetChecked(MenuCommand entry, bool value) override { checked[entry] = value; }
    void SetEnabled(MenuCommand entry, bool value) override { enabled[entry] = value; }
    void ShowTrayIcon() override {
        calls.push_back("tray");
        if (trayError) {
            throw std::runtime_error(*trayError);
        }
        trayShown = true;
    }
    void RemoveTrayIcon() override { trayRemoved = true; }
    void ShowTrayFigure(const TrayFigure& figure) override {
        calls.push_back("figure");
        figures.push_back(figure);
    }
    std::vector<TrayFigure> figures;
    void ShowTrayBalloon(const std::string& balloonTitle, const std::string& text) override {
        calls.push_back("balloon");
        balloons.emplace_back(balloonTitle, text);
    }
    void AddHotKey(int index, std::int32_t shortcut) override {
        calls.push_back("hotkey");
        hotKeysAdded.emplace_back(index, shortcut);
    }
    void RemoveHotKey(int index) override { hotKeysRemoved.push_back(index); }
    void CloseMeter() override { ++closeRequests; }
    std::optional<WindowPlacement> GetPlacement() override { return placement; }
    void ApplyPosition(std::int32_t, std::optional<std::int32_t>) override { calls.push_back("position"); }
};

} // namespace qn::testing_support
