#pragma once
#include "common/DateTime.h"
#include "common/MemoryUnits.h"
#include "common/NumberFormat.h"
#include "common/Texts.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qn {

// The meter window's caption, which its title and the tray icon's tool tip open with.
inline constexpr std::string_view kMeterCaption = "Nimbi";

inline constexpr std::string_view kMissingFileText = "必用なファイルがありません。";
inline constexpr std::string_view kNoSettingsProgramText = "設定プログラムがありません。設定の変更ができません。";
inline constexpr std::string_view kLowMemoryPromptText = "残メモリが少なくなりました。\r\n空きメモリを確保しますか？";
// The title of the balloon that tells what the run after a hand-over did.
inline constexpr std::string_view kReservationBalloonTitle = "空きメモリを確保しました";

// The entries of the monitor's popup menu, in menu order; separators have no command.
enum class MenuCommand {
    None,
    ReserveNow,     // RunQeltoMenu
    Settings,       // SetQelto
    Meter,          // RestMemMenu
    AlwaysOnTop,    // TopShowMenu
    Periodic,       // TimeMem1
    ReserveWhenLow, // ZanMem1
    About,          // AboutAmbrolainTrayIcon1
    Exit,           // Exit1
};
inline constexpr std::size_t kMenuCommandCount = static_cast<std::size_t>(MenuCommand::Exit) + 1;

struct MenuEntry {
    MenuCommand command; // None: a separator
    std::string_view caption;
};

inline constexpr std::array<MenuEntry, 12> kMenuEntries{{
    {MenuCommand::ReserveNow, "空きメモリ確保"},
    {MenuCommand::None, "-"},
    {MenuCommand::Settings, "設定"},
    {MenuCommand::Meter, "残メータを表示する"},
    {MenuCommand::AlwaysOnTop, "常に最上面に表示する"},
    {MenuCommand::None, "-"},
    {MenuCommand::Periodic, "定期的に確保"},
    {MenuCommand::ReserveWhenLow, "残メモリで確保"},
    {MenuCommand::None, "-"},
    {MenuCommand::About, "About Nimbi"},
    {MenuCommand::None, "-"},
    {MenuCommand::Exit, "終了"},
}};

// The about box's text: the product's name, a blank line and the maker's notice.
std::string AboutText();

// The meter window's title: the caption, two blanks and the free megabytes.
std::string MeterTitle(double freeMB, const NumberSeparators& separators);
// The remaining time of a countdown, in days, as whole hours, minutes and seconds: the milliseconds are rounded,
// the seconds truncated. A time already past, or no number at all, leaves nothing; the schedule never lies more
// than a day ahead, so neither does a countdown.
struct Countdown {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
Countdown CountdownOf(DateTime remaining);

// What follows the title while a reservation is scheduled: two blanks and the remaining "nn:ss", with the hours
// and a colon before it while an hour or more remains ("  1:25:00").
std::string CountdownSuffix(DateTime remaining);
// The gauge's tool tip, with and without a scheduled reservation.
std::string HintWithoutSchedule(double freeMB, const NumberSeparators& separators);
std::string HintWithSchedule(double freeMB, DateTime remaining, const NumberSeparators& separators);
// The tool tip while a run that fell due waits for the user to stop being busy.
std::string HintWhileWaiting(double freeMB, const NumberSeparators& separators);

// The gauge's scale in kilobytes: the whole megabytes of total memory plus one, and the available memory
// rounded (halves to even); both capped at the largest signed 32-bit value.
std::int32_t GaugeMaximum(std::uint64_t totalPhysBytes);

// What to start, and where, for a hand-over from the monitor at `monitorPath`.
struct Launch {
    std::string file;
    std::string parameters;
    std::string directory;
};
Launch ReservationLaunch(std::string_view monitorPath);
Launch SettingsLaunch(std::string_view monitorPath);

} // namespace qn
