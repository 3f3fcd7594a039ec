#pragma once
// Fakes of what a tray icon needs of the system, shared by the suites of its shell session and of the component.
#include "monitor/TrayIcon/TrayIconCore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qn::testing_support {

struct ShellCall {
    TrayCall call;
    std::uint32_t flags;
    std::string tip;
};

// A shell that records every call, a cursor at a fixed point, and a clock moved by hand.
class FakeSystem : public TrayShellPort, public TrayPointerPort, public OneShotTimerPort {
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
    Icon(TrayInstanceList& list, FakeSystem& system) : TrayIconCore(list, system, system, system) {}
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

// What both suites start from: the fake system, the process's instance list and an icon in the tray.
class TrayFixture : public testing::Test {
protected:
    // An icon in the tray with no shell calls recorded yet.
    std::unique_ptr<Icon> Shown() {
        auto icon = std::make_unique<Icon>(list, system);
        icon->SetImage(true);
        icon->Loaded();
        system.shellCalls.clear();
        return icon;
    }

    FakeSystem system;
    TrayInstanceList list;
};

} // namespace qn::testing_support
