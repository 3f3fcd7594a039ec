#include "monitor/MainUnit/MenuCommands.h"

#include "common/Language.h"
#include "monitor/MainUnit/Monitor.h"

namespace qn {
namespace {

// By command, None first.
constexpr std::array<MenuCommandRow, kMenuCommandCount> kRows{{{nullptr, kNoCheckMark, {}, {}},
#define QN_MENU_COMMAND_ROW(command, handler, checkMark, separatorAbove, japanese, english)                            \
    {&Monitor::handler, checkMark, japanese, english},
                                                               QN_MENU_COMMANDS(QN_MENU_COMMAND_ROW)
#undef QN_MENU_COMMAND_ROW
}};

} // namespace

const MenuCommandRow& MenuCommandOf(MenuCommand command) {
    const auto index = static_cast<std::size_t>(command);
    return kRows[index < kRows.size() ? index : 0];
}

std::string_view MenuCaption(MenuCommand command) {
    const MenuCommandRow& row = MenuCommandOf(command);
    return InTextLanguage(row.japanese, row.english);
}

void RunMenuCommand(Monitor& monitor, MenuCommand command) {
    if (const auto handler = MenuCommandOf(command).handler) {
        (monitor.*handler)();
    }
}

} // namespace qn
