#pragma once
#include "common/DateTime.h"
#include "common/RegistryKey.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace qn {

// The settings key below HKEY_CURRENT_USER that the programs share, and its parent.
inline constexpr std::string_view kSettingsKeyPath = "Software\\Harvelt\\Ambrola";
inline constexpr std::string_view kSettingsParentPath = "Software\\Harvelt";
inline constexpr std::string_view kSettingsSubkeyName = "Ambrola";

// How a value is kept in the key.
enum class SettingKind {
    Integer, // REG_DWORD of 4 bytes, little-endian: a signed 32-bit integer
    Switch,  // REG_DWORD read as true when not 0, written as 1 or 0
    Float64, // REG_BINARY of 8 bytes: an IEEE 754 binary64 number, little-endian
    Text,    // REG_SZ, written with its terminating NUL (REG_EXPAND_SZ is read too, left unexpanded)
    Record,  // REG_BINARY of fields, each in its own kind's bytes (Integer 4, Float64 8), one after another
};

// The kind a value of each type is kept as.
template <typename T>
inline constexpr SettingKind kKindOf = SettingKind::Integer;
template <>
inline constexpr SettingKind kKindOf<bool> = SettingKind::Switch;
template <>
inline constexpr SettingKind kKindOf<double> = SettingKind::Float64;
template <>
inline constexpr SettingKind kKindOf<std::string_view> = SettingKind::Text;

// One value of the settings key: its stored name, what an unreadable value reads as, and the values that the
// programs write and take as meant (inclusive). Reads never check the range: what lies outside it is for the
// reader of the value to handle. What a value counts in is said at its description.
template <typename T>
struct Setting {
    static constexpr SettingKind kind = kKindOf<T>;
    std::string_view name;
    T defaultValue;
    T min;
    T max;

    constexpr bool InRange(T value) const { return min <= value && value <= max; }
};

using IntSetting = Setting<std::int32_t>;
using SwitchSetting = Setting<bool>;
using FloatSetting = Setting<double>;
using TextSetting = Setting<std::string_view>;

// What one run of the reservation tool that took a block did.
struct ReservationRecord {
    DateTime ended = 0.0;      // when the block had been released, local time
    std::int32_t sizeMB = 0;   // the block's size
    double freeBeforeMB = 0.0; // free physical memory just before the block was taken
    double freeAfterMB = 0.0;  // and just after it was released
    double seconds = 0.0;      // from taking the block to its release
};

// A value that holds a whole reservation record, so that it is written and read in one piece: a reader never
// sees the fields of two runs mixed. Its fields are described one by one below it.
struct ReservationRecordSetting {
    static constexpr SettingKind kind = SettingKind::Record;
    std::string_view name;
};

// Every value of the key. Names are fixed strings shared by the monitor and the settings program.
namespace setting {
inline constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
inline constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

// Each value is named for what it means; its stored name, shared with the settings program and kept byte for
// byte, is the first field.

// The meter window is hidden (read at start-up, written by the meter command). Stored as "Show".
inline constexpr SwitchSetting kMeterHidden{"Show", false, false, true};
// The meter window stands above all others.
inline constexpr SwitchSetting kMeterOnTop{"Top", false, false, true};
// Reserve by itself when free memory falls to the reserve threshold.
inline constexpr SwitchSetting kReserveWhenLow{"Memory", false, false, true};
// The threshold of kReserveWhenLow in kilobytes, counted as the gauge counts free memory; 0 or less disables it.
inline constexpr IntSetting kReserveThreshold{"Min Memory", 0, 0, kIntMax};
// Reserve periodically.
inline constexpr SwitchSetting kPeriodic{"Time", false, false, true};
// The period in minutes: one minute to a day. Outside that there is no periodic schedule.
inline constexpr IntSetting kPeriodMinutes{"Cycle", 0, 1, 1440};
// When the next periodic reservation is due, a local date-time; 0.0: none pending.
inline constexpr FloatSetting kNextRun{"Next Run", 0.0, std::numeric_limits<double>::lowest(),
                                       std::numeric_limits<double>::max()};
// Ask whether to reserve when free memory falls to the ask threshold.
inline constexpr SwitchSetting kAskWhenLow{"Cation", false, false, true};
// The threshold of kAskWhenLow in kilobytes, counted like the reserve threshold; 0 or less disables the question.
inline constexpr IntSetting kAskThreshold{"Cation Memory", 0, 0, kIntMax};
// Register the global hot key.
inline constexpr SwitchSetting kUseHotKey{"Use Hot Key", false, false, true};
// The hot key as a shortcut code (virtual key in bits 0 to 12, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt); bits 16 to
// 31 are ignored.
inline constexpr IntSetting kHotKey{"Hot Key", 0, kIntMin, kIntMax};
// The meter window's last placement, eight integers "%d,%d,%d,%d,%d,%d,%d,%d"; empty: none. Read through the
// parent key, written only into an existing key (see SettingsStore).
inline constexpr TextSetting kMeterPosition{"Position", "", "", ""};
// The monitor's own note to the monitor that the reservation tool brings back: the hand-over was started by
// low memory (written just before the hand-over, cleared by the next start).
inline constexpr SwitchSetting kLowMemoryHandover{"Low Memory Handover", false, false, true};
// Hold automatic runs (schedule, low memory, the low-memory question) back while the user is busy with a
// full-screen program or a presentation.
inline constexpr SwitchSetting kWaitWhileBusy{"Wait While Busy", true, false, true};
// The monitor that comes back after its own hand-over shows what the run did, as a balloon of its tray icon.
inline constexpr SwitchSetting kNotifyResult{"Notify Result", true, false, true};
// The monitor's own note of when it last handed over to the reservation tool, a local date-time (written just
// before the hand-over, cleared by the next start); 0.0: none.
inline constexpr FloatSetting kHandoverTime{"Handover Time", 0.0, std::numeric_limits<double>::lowest(),
                                            std::numeric_limits<double>::max()};
// The monitor's tray icon shows the free memory's percentage instead of the program icon.
inline constexpr SwitchSetting kTrayFigure{"Tray Figure", false, false, true};
// The free memory, in megabytes, up to which automatic runs (schedule, low memory, the low-memory question) free
// memory, rather than the default size: 0 or less is off. Meant above the low-memory thresholds that are on and at
// most the physical memory; the monitor takes a target at or below a threshold as none (see ReservationSize.h).
inline constexpr IntSetting kTargetFree{"Target Free", 0, 0, kIntMax};
// The language of every program's texts: kLanguageWindows follows the user's display language; any value outside
// the range does too. Read by each program at its start.
inline constexpr std::int32_t kLanguageWindows = 0;
inline constexpr std::int32_t kLanguageJapanese = 1;
inline constexpr std::int32_t kLanguageEnglish = 2;
inline constexpr IntSetting kLanguage{"Language", kLanguageWindows, kLanguageWindows, kLanguageEnglish};
// The last run of the reservation tool that took a block, written by that run. Absent: no run yet.
inline constexpr ReservationRecordSetting kLastReservation{"Last Reservation"};
// Its fields, in their stored order. A shorter record, or any field not a finite number within its range, is no
// record at all; a longer one is read by its start, which is these fields (a later version may append more).
namespace last_reservation {
// A local date-time from 31 December 1899 to the end of the year 9999.
inline constexpr FloatSetting kEnded{"Ended", 0.0, 1.0, 2958466.0};
// Megabytes.
inline constexpr IntSetting kSize{"Size", 0, 1, kIntMax};
// Megabytes, up to 2^63 bytes.
inline constexpr double kMaxMegabytes = 8796093022208.0;
inline constexpr FloatSetting kFreeBefore{"Free Before", 0.0, 0.0, kMaxMegabytes};
inline constexpr FloatSetting kFreeAfter{"Free After", 0.0, 0.0, kMaxMegabytes};
// Seconds, up to a year.
inline constexpr FloatSetting kSeconds{"Seconds", 0.0, 0.0, 31536000.0};
} // namespace last_reservation

// Name and kind of every value, for whatever has to go through all of them.
struct Description {
    std::string_view name;
    SettingKind kind;
};
template <typename T>
constexpr Description Describe(const Setting<T>& s) {
    return {s.name, s.kind};
}
constexpr Description Describe(const ReservationRecordSetting& s) {
    return {s.name, s.kind};
}
inline constexpr Description kAll[] = {
    Describe(kMeterHidden),       Describe(kMeterOnTop),    Describe(kReserveWhenLow), Describe(kReserveThreshold),
    Describe(kPeriodic),          Describe(kPeriodMinutes), Describe(kNextRun),        Describe(kAskWhenLow),
    Describe(kAskThreshold),      Describe(kUseHotKey),     Describe(kHotKey),         Describe(kMeterPosition),
    Describe(kLowMemoryHandover), Describe(kWaitWhileBusy), Describe(kNotifyResult),   Describe(kHandoverTime),
    Describe(kLastReservation),   Describe(kLanguage),      Describe(kTrayFigure),     Describe(kTargetFree),
};
} // namespace setting

// One value read from the open settings key: its default when it is missing or of another type or size than
// its kind.
std::int32_t ReadSetting(RegistryKey& key, const IntSetting& setting);
bool ReadSetting(RegistryKey& key, const SwitchSetting& setting);
double ReadSetting(RegistryKey& key, const FloatSetting& setting);
std::string ReadSetting(RegistryKey& key, const TextSetting& setting);
// Nothing when the record is missing or not usable as a whole.
std::optional<ReservationRecord> ReadSetting(RegistryKey& key, const ReservationRecordSetting& setting);

// One value written in its kind; false when the registry refused.
bool WriteSetting(RegistryKey& key, const IntSetting& setting, std::int32_t value);
bool WriteSetting(RegistryKey& key, const SwitchSetting& setting, bool value);
bool WriteSetting(RegistryKey& key, const FloatSetting& setting, double value);
bool WriteSetting(RegistryKey& key, const TextSetting& setting, std::string_view value);
bool WriteSetting(RegistryKey& key, const ReservationRecordSetting& setting, const ReservationRecord& value);

// How long a monitor that handed over (to the reservation tool or the settings program) may take to end: the shell
// can keep it waiting for seconds on its tray icon.
inline constexpr std::uint32_t kLongestMonitorEndingMs = 10'000;

// The note of when a monitor last handed over, read without creating the key: a program that may end at once
// must leave nothing behind.
DateTime ReadHandoverNote(RegistryKey& currentUser);
// Whether a note of a hand-over written at `handedOver` is so recent that the monitor which wrote it may still be
// ending: the next monitor can be started within seconds, while the shell keeps the old one waiting.
bool HandoverIsFresh(DateTime handedOver, DateTime now);

} // namespace qn
