#pragma once
// Fakes of the monitor's ports: they record what the logic does and answer as scripted.
#include "monitor/MainUnit/MainUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <variant>

namespace qn::testing_support {

class FakeSettings : public MonitorSettings {
public:
    std::map<std::string, std::variant<std::int32_t, double>> values;
    std::vector<std::string> reads;
    std::vector<std::pair<std::string, double>> floatWrites;
    std::vector<std::pair<std::string, bool>> boolWrites;
    std::optional<ReservationRecord> lastReservation;
    int loadPositionCalls = 0;
    int savePositionCalls = 0;

    std::int32_t ReadSettingInt(const IntSetting& setting) override {
        return ReadInt(setting.name, setting.defaultValue);
    }
    bool ReadSettingBool(const SwitchSetting& setting) override {
        return ReadInt(setting.name, setting.defaultValue ? 1 : 0) != 0;
    }
    void WriteSettingBool(const SwitchSetting& setting, bool value) override {
        boolWrites.emplace_back(setting.name, value);
        values[std::string(setting.name)] = value ? 1 : 0;
    }
    double ReadSettingFloat(const FloatSetting& setting) override {
        reads.emplace_back(setting.name);
        const auto found = values.find(std::string(setting.name));
        return found != values.end() && std::holds_alternative<double>(found->second) ? std::get<double>(found->second)
                                                                                      : 0.0;
    }
    void WriteSettingFloat(const FloatSetting& setting, double value) override {
        floatWrites.emplace_back(setting.name, value);
        values[std::string(setting.name)] = value;
    }
    std::optional<ReservationRecord> ReadLastReservation() override { return lastReservation; }
    void LoadPosition() override { ++loadPositionCalls; }
    void SavePosition() override { ++savePositionCalls; }

    bool WasRead(std::string_view name) const { return std::find(reads.begin(), reads.end(), name) != reads.end(); }

private:
    std::int32_t ReadInt(std::string_view name, std::int32_t defaultValue) {
        reads.emplace_back(name);
        const auto found = values.find(std::string(name));
        return found != values.end() && std::holds_alternative<std::int32_t>(found->second)
                   ? std::get<std::int32_t>(found->second)
                   : defaultValue;
    }
};

struct StartedLaunch {
    std::string verb;
    Launch launch;
};

class FakeSystem : public MonitorSystem {
public:
    MemoryStatus status{24ULL << 30, 12ULL << 30};
    DateTime now = 46363.5; // 7 December 2026, noon
    std::string modulePath = "C:\\Tools\\Mossik.EXE";
    std::intptr_t startResult = 42;
    std::deque<DialogAnswer> answers;
    std::function<void()> duringMessage;
    std::optional<UserNotificationState> notificationState = UserNotificationState::AcceptsNotifications;
    std::optional<ForegroundWindow> foreground;
    int busyQueries = 0;

    std::vector<StartedLaunch> started;
    std::vector<std::pair<std::string, unsigned>> messages;
    std::vector<std::string> errors;
    int endProcessCalls = 0;

    DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) override {
        EXPECT_EQ(title, "QeltoNimbi Ver.0.04");
        messages.emplace_back(text, style);
        if (duringMessage) {
            duringMessage();
        }
        if (answers.empty()) {
            return DialogAnswer::Ok;
        }
        const DialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    MemoryStatus QueryMemoryStatus() override { return status; }
    DateTime Now() override { return now; }
    NumberSeparators Separators() override { return NumberSeparators{",", "."}; }
    std::string ModuleFileName() override { return modulePath; }
    std::intptr_t Start(const std::string& verb, const Launch& launch) override {
        started.push_back({verb, launch});
        return startResult;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void EndProcess() override { ++endProcessCalls; }
    std::optional<UserNotificationState> QueryUserNotificationState() override {
        ++busyQueries;
        return notificationState;
    }
    std::optional<ForegroundWindow> QueryForegroundWindow() override { return foreground; }
};

class FakeView : public MonitorView {
public:
    std::vector<std::string> calls; // the order of what was done, by name
    bool marked = false;
    std::optional<bool> meterVisible;
    std::optional<bool> topmost;
    std::string title;
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
};

} // namespace qn::testing_support
