#pragma once
// The monitor's popup menu, one row per command. The menu, its check marks, its captions and the dispatch of a
// chosen entry all come from QN_MENU_COMMANDS: adding a command is one row there and its handler in Monitor.
#include "common/SettingsKey.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace qn {

class Monitor;

// The setting behind a check mark: the mark stands while the setting holds `checkedWhen`.
struct CheckMark {
    const SwitchSetting* setting = nullptr; // none: the entry has no check mark
    bool checkedWhen = true;
};
inline constexpr CheckMark kNoCheckMark{};
constexpr CheckMark CheckedWhen(const SwitchSetting& setting, bool value) {
    return {&setting, value};
}

// Every command of the menu in menu order: its name, the Monitor's handler, the setting behind its check mark,
// whether a separator stands above it, and its caption in Japanese and in English. The comment closing a row is
// the entry's name in the form TForm1.
// clang-format off
#define QN_MENU_COMMANDS(V)                                                                                         \
    V(ReserveNow, ReserveNow, kNoCheckMark, false,                                                                  \
      "空きメモリ確保", "Free memory now")                                    /* RunQeltoMenu */                     \
    V(Settings, OpenSettings, kNoCheckMark, true,                                                                   \
      "設定", "Settings")                                                     /* SetQelto */                         \
    V(Meter, ToggleMeter, CheckedWhen(setting::kMeterHidden, false), false,                                         \
      "残メータを表示する", "Show the meter")                                 /* RestMemMenu */                      \
    V(AlwaysOnTop, ToggleAlwaysOnTop, CheckedWhen(setting::kMeterOnTop, true), false,                               \
      "常に最上面に表示する", "Always on top")                                /* TopShowMenu */                      \
    V(Periodic, TogglePeriodic, CheckedWhen(setting::kPeriodic, true), true,                                        \
      "定期的に確保", "Free memory periodically")                             /* TimeMem1 */                         \
    V(ReserveWhenLow, ToggleReserveWhenLow, CheckedWhen(setting::kReserveWhenLow, true), false,                     \
      "残メモリで確保", "Free memory when low")                               /* ZanMem1 */                          \
    V(About, ShowAbout, kNoCheckMark, true,                                                                         \
      "About Nimbi", "About Nimbi")                                           /* AboutAmbrolainTrayIcon1 */          \
    V(Exit, Exit, kNoCheckMark, true,                                                                               \
      "終了", "Exit")                                                         /* Exit1 */
// clang-format on

// The commands; None stands for a separator.
enum class MenuCommand {
    None,
#define QN_MENU_COMMAND_NAME(command, handler, checkMark, separatorAbove, japanese, english) command,
    QN_MENU_COMMANDS(QN_MENU_COMMAND_NAME)
#undef QN_MENU_COMMAND_NAME
};
// None and every command.
inline constexpr std::size_t kMenuCommandCount = 1
#define QN_MENU_COMMAND_ONE(command, handler, checkMark, separatorAbove, japanese, english) +1
    QN_MENU_COMMANDS(QN_MENU_COMMAND_ONE)
#undef QN_MENU_COMMAND_ONE
    ;

inline constexpr std::size_t kMenuSeparatorCount = 0
#define QN_MENU_SEPARATOR_ONE(command, handler, checkMark, separatorAbove, japanese, english) +(separatorAbove ? 1 : 0)
    QN_MENU_COMMANDS(QN_MENU_SEPARATOR_ONE)
#undef QN_MENU_SEPARATOR_ONE
    ;
// The menu's entries in menu order, None for each separator.
inline constexpr std::array<MenuCommand, kMenuCommandCount - 1 + kMenuSeparatorCount> kMenuLayout = [] {
    std::array<MenuCommand, kMenuCommandCount - 1 + kMenuSeparatorCount> layout{};
    std::size_t next = 0;
#define QN_MENU_LAYOUT_ROW(command, handler, checkMark, separatorAbove, japanese, english)                             \
    if (separatorAbove) {                                                                                              \
        layout[next++] = MenuCommand::None;                                                                            \
    }                                                                                                                  \
    layout[next++] = MenuCommand::command;
    QN_MENU_COMMANDS(QN_MENU_LAYOUT_ROW)
#undef QN_MENU_LAYOUT_ROW
    return layout;
}();

// One row of the table.
struct MenuCommandRow {
    void (Monitor::*handler)();
    CheckMark checkMark;
    std::string_view japanese;
    std::string_view english;
};

// The row of a command; None has no handler, no check mark and no caption.
const MenuCommandRow& MenuCommandOf(MenuCommand command);
// The command's caption in the language the program shows.
std::string_view MenuCaption(MenuCommand command);
// Runs the command's handler; None runs nothing.
void RunMenuCommand(Monitor& monitor, MenuCommand command);

} // namespace qn
