#pragma once
#include <cstdint>
#include <string_view>

namespace qn {

// The settings key below HKEY_CURRENT_USER that the programs share, and its parent.
inline constexpr std::string_view kSettingsKeyPath = "Software\\Harvelt\\Ambrola";
inline constexpr std::string_view kSettingsParentPath = "Software\\Harvelt";
inline constexpr std::string_view kSettingsSubkeyName = "Ambrola";

// Value names, fixed strings shared with the settings program.
namespace setting {
inline constexpr std::string_view kShow = "Show";
inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kMemory = "Memory";
inline constexpr std::string_view kMinMemory = "Min Memory";
inline constexpr std::string_view kTime = "Time";
inline constexpr std::string_view kCycle = "Cycle";
inline constexpr std::string_view kNextRun = "Next Run";
inline constexpr std::string_view kCation = "Cation";
inline constexpr std::string_view kCationMemory = "Cation Memory";
inline constexpr std::string_view kUseHotKey = "Use Hot Key";
inline constexpr std::string_view kHotKey = "Hot Key";
inline constexpr std::string_view kPosition = "Position";
// The monitor's own note to the monitor that the reservation tool brings back: the hand-over was started by
// low memory (written just before the monitor ends, cleared by the next start).
inline constexpr std::string_view kLowMemoryHandover = "Low Memory Handover";

// "Cycle", the period of the periodic reservation, in minutes: one minute to a day.
inline constexpr std::int32_t kMinCycleMinutes = 1;
inline constexpr std::int32_t kMaxCycleMinutes = 1440;
} // namespace setting

} // namespace qn
