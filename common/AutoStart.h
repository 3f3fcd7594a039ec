#pragma once
// Starting the monitor when the user logs on: one value under the current user's Run key, written by the
// settings program and removed by the removal tool. Only a value that names the monitor of this installation
// counts as ours; a value that points at another copy belongs to that copy.
#include "common/RegistryKey.h"

#include <string>
#include <string_view>

namespace qn {

inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kAutoStartValue = "QeltoNimbi";

// The command that starts the monitor of the folder `directory`: its full path in double quotes.
std::string AutoStartCommand(std::string_view directory);

// The program a command starts: the text between the first pair of double quotes when it begins with one,
// otherwise the whole text; blanks around it are dropped.
std::string ProgramOfCommand(std::string_view command);

// Whether `command` starts the monitor (Mossik.exe) of the folder `directory`, and whether it starts any program
// in that folder. Paths compare as Windows does, without regard to the case of the letters A to Z, "/" taken for
// "\", and a folder with or without its closing "\".
bool StartsMonitorIn(std::string_view command, std::string_view directory);
bool StartsProgramIn(std::string_view command, std::string_view directory);

// The Run value of the current user (`currentUser` is HKEY_CURRENT_USER). Whether it starts this folder's
// monitor. Writing it (`on`), or deleting it when it starts this folder's monitor (a value that starts anything
// else stays); false when the registry refused. Deleting it when it starts any program in `directory`, as the
// removal does; false when such a value is still there afterwards.
bool AutoStartEnabled(RegistryKey& currentUser, std::string_view directory);
bool SetAutoStart(RegistryKey& currentUser, std::string_view directory, bool on);
bool RemoveAutoStartOf(RegistryKey& currentUser, std::string_view directory);

} // namespace qn
