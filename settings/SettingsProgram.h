#pragma once
#include "common/AutoStart.h"
#include "common/NumberFormat.h"
#include "common/RegistryKey.h"
#include "common/SettingsKey.h"
#include "settings/SettingsIds.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace qn {

// The values the settings program writes for the monitor, in the units the settings key keeps them; what each
// means, its unit and its range are in the description of the setting that gives the field its default.
struct ProgramSettings {
    bool reserveWhenLow = setting::kReserveWhenLow.defaultValue;
    std::int32_t reserveThresholdKB = setting::kReserveThreshold.defaultValue;
    bool askWhenLow = setting::kAskWhenLow.defaultValue;
    std::int32_t askThresholdKB = setting::kAskThreshold.defaultValue;
    bool periodic = setting::kPeriodic.defaultValue;
    std::int32_t periodMinutes = setting::kPeriodMinutes.defaultValue;
    bool useHotKey = setting::kUseHotKey.defaultValue;
    std::int32_t hotKey = setting::kHotKey.defaultValue;
    bool waitWhileBusy = setting::kWaitWhileBusy.defaultValue;
    bool notifyResult = setting::kNotifyResult.defaultValue;
    bool trayFigure = setting::kTrayFigure.defaultValue;
    std::int32_t language = setting::kLanguage.defaultValue;
    std::int32_t targetFreeMB = setting::kTargetFree.defaultValue;
};

// The stored values, each its default when it cannot be read. The key is opened to be read only, never created.
ProgramSettings ReadProgramSettings(RegistryKey& currentUser);
// Writes every value; false when the key could not be opened or a value was refused.
bool WriteProgramSettings(RegistryKey& currentUser, const ProgramSettings& settings);

// What OK could not store; nothing is left changed then.
enum class SaveFailure { None, AutoStart, Settings };

// OK's writes: the start at log-on when the user changed its box (`autoStartShown` is what the box showed), then
// the values. The start comes first because it is what the system may refuse (a guarded Run key); when the values
// fail after it, the start and the values are put back exactly as they were, so that leaving the dialog with
// Cancel afterwards leaves everything as it was.
SaveFailure SaveSettings(RegistryKey& currentUser, const ProgramSettings& settings, std::string_view directory,
                         bool autoStartShown, bool autoStartWanted, FileNamePort& names);

// The dialog's fields as the user sees and edits them: thresholds in whole megabytes, the period in minutes,
// the hot key as a shortcut code.
struct SettingsForm {
    bool reserveWhenLow = false;
    std::string reserveThresholdMB;
    bool askWhenLow = false;
    std::string askThresholdMB;
    bool periodic = false;
    std::string periodMinutes;
    bool useHotKey = false;
    std::uint16_t hotKey = 0;
    bool waitWhileBusy = false;
    bool notifyResult = false;
    bool trayFigure = false;
    // The language's choice, the stored value it shows: follow Windows, Japanese, English.
    std::int32_t language = 0;
    // The target of free memory for automatic runs, in megabytes; 0: off.
    std::string targetFreeMB = "0";
};

// Each switch of the settings program: its value of the settings key, where ProgramSettings and the form keep it,
// and the check box the dialog shows it in (a control id of SettingsIds.h).
struct SwitchField {
    const SwitchSetting* stored;
    bool ProgramSettings::*value;
    bool SettingsForm::*shown;
    int checkBox;
};
inline constexpr SwitchField kSwitchFields[] = {
    {&setting::kReserveWhenLow, &ProgramSettings::reserveWhenLow, &SettingsForm::reserveWhenLow, IDC_RESERVE_WHEN_LOW},
    {&setting::kAskWhenLow, &ProgramSettings::askWhenLow, &SettingsForm::askWhenLow, IDC_ASK_WHEN_LOW},
    {&setting::kPeriodic, &ProgramSettings::periodic, &SettingsForm::periodic, IDC_PERIODIC},
    {&setting::kUseHotKey, &ProgramSettings::useHotKey, &SettingsForm::useHotKey, IDC_USE_HOT_KEY},
    {&setting::kWaitWhileBusy, &ProgramSettings::waitWhileBusy, &SettingsForm::waitWhileBusy, IDC_WAIT_WHILE_BUSY},
    {&setting::kNotifyResult, &ProgramSettings::notifyResult, &SettingsForm::notifyResult, IDC_NOTIFY_RESULT},
    {&setting::kTrayFigure, &ProgramSettings::trayFigure, &SettingsForm::trayFigure, IDC_TRAY_FIGURE},
};

// A period for the form when the stored one is outside the range of the period.
inline constexpr std::int32_t kDefaultPeriodMinutes = 30;

SettingsForm FormOf(const ProgramSettings& stored);

enum class FormField { ReserveThreshold, AskThreshold, Period, HotKey, TargetFree };
struct FormError {
    FormField field;
    std::string message;
};

// The values to store from what the user entered, or why they cannot be stored. A threshold whose shown
// megabytes were left unchanged keeps its exact stored kilobytes. `totalPhysBytes` is the machine's physical
// memory: a threshold at or above it would hold at every tick. The target of free memory is 0, or above the
// thresholds that are on and at most the physical memory.
std::variant<ProgramSettings, FormError> SettingsFromForm(const SettingsForm& form, const ProgramSettings& stored,
                                                          std::uint64_t totalPhysBytes);

// The hot-key control's modifier flags, the high byte of its value, with the system's values (HOTKEYF_SHIFT,
// HOTKEYF_CONTROL, HOTKEYF_ALT, HOTKEYF_EXT; SettingsDialog.cpp ties each to the system's name).
namespace hot_key_control {
inline constexpr unsigned kShift = 0x01;
inline constexpr unsigned kControl = 0x02;
inline constexpr unsigned kAlt = 0x04;
inline constexpr unsigned kExtended = 0x08;
} // namespace hot_key_control

// The virtual keys that the hot-key control shows correctly only with its extended-key flag: the navigation block
// (Page Up to Down arrow, Insert, Delete), the keypad's divide and Num Lock; with the system's values.
namespace extended_key {
inline constexpr unsigned kPageUp = 0x21;    // VK_PRIOR; Page Down, End, Home and the arrows follow it
inline constexpr unsigned kDownArrow = 0x28; // VK_DOWN
inline constexpr unsigned kInsert = 0x2D;
inline constexpr unsigned kDelete = 0x2E;
inline constexpr unsigned kDivide = 0x6F;
inline constexpr unsigned kNumLock = 0x90;
} // namespace extended_key

// The shortcut code (Shortcut.h) and the hot-key control's value (virtual key in the low byte, the hot_key_control
// flags in the high byte).
std::uint16_t ShortcutFromHotKeyControl(std::uint16_t controlValue);
// Bits 16 to 31 of a stored code are ignored; a key the control cannot show gives 0.
std::uint16_t HotKeyControlFromShortcut(std::int32_t shortcut);

// The record of the last reservation run; nothing when there is none or it is unusable.
std::optional<ReservationRecord> ReadLastReservation(RegistryKey& currentUser);
// The line under the dialog's fields that tells what the last reservation run did, its end in local time
// ("前回の確保: 2026/12/07 19:30  空き 1,234.56MB → 5,678.90MB（4.2 秒）"), or that there was none yet.
std::string LastReservationLine(const std::optional<ReservationRecord>& record, const NumberSeparators& separators);

// What the settings program needs when it closes: whether a monitor runs, starting one, and telling the user.
class MonitorLauncher {
public:
    virtual ~MonitorLauncher() = default;
    virtual bool MonitorRunning() = 0;
    // Waits at most `ms` until no monitor runs; true once none does.
    virtual bool WaitUntilNoMonitorRuns(std::uint32_t ms) = 0;
    // Nothing when the monitor started; the system's reason when it did not.
    virtual std::optional<std::string> StartMonitor(const std::string& path, const std::string& directory) = 0;
    virtual void ShowError(const std::string& message) = 0;
};

// The monitor ends itself when it opens the settings program; this brings it back from the settings program's
// own folder, unless one runs already. Where `handoverFresh` (the monitor noted its hand-over only seconds ago),
// a monitor that runs may be that one still ending, as the shell keeps it waiting on its tray icon: it is given
// kLongestMonitorEndingMs to go, as the monitor that comes back after a reservation gives it. A failed start is
// reported with the system's reason.
void RestartMonitor(MonitorLauncher& launcher, std::string_view programPath, bool handoverFresh);

} // namespace qn
