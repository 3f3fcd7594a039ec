#pragma once
// Starting the monitor when the user logs on: one value under the current user's Run key, written by the
// settings program and removed by the removal tool. Only a value that names the monitor of this installation
// counts as ours; a value that points at another copy belongs to that copy. Task Manager's start-up list (Windows 8
// and later) keeps the user's switch for the value apart from it, under StartupApproved, with the same name.
#include "common/RegistryKey.h"
#include "common/RegistryValues.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kAutoStartValue = "QeltoNimbi";
// REG_BINARY, 12 bytes as Task Manager writes them: the first byte even (02) while the start is allowed, odd (03)
// once the user switched it off there, then the time of that switch. A Run value without one here starts.
inline constexpr std::string_view kStartupApprovedRunPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// What the log-on start needs of the system's file names.
class FileNamePort {
public:
    virtual ~FileNamePort() = default;
    // `text` with every %NAME% of an environment variable replaced by its value, as a REG_EXPAND_SZ value is read.
    virtual std::string ExpandEnvironment(std::string_view text) = 0;
    // Whether two full paths, each without a closing separator (but "C:\"), name the same file or folder as the
    // file system sees names: a short 8.3 name for its long one, letters that differ only in case alike.
    virtual bool SameFile(std::string_view a, std::string_view b) = 0;
};

// The command that starts the monitor of the folder `directory`: its full path in double quotes.
std::string AutoStartCommand(std::string_view directory);

// The program a command starts: the text between the first pair of double quotes when it begins with one,
// otherwise the whole text; blanks around it are dropped.
std::string ProgramOfCommand(std::string_view command);

// Whether `command` starts the monitor (Mossik.exe) of the folder `directory`, and whether it starts any program
// in that folder. "/" is taken for "\", a folder is the same with or without its closing "\", the long-path form
// ("\\?\C:\...", "\\?\UNC\server\...") for the usual one; `names` compares what is left.
bool StartsMonitorIn(std::string_view command, std::string_view directory, FileNamePort& names);
bool StartsProgramIn(std::string_view command, std::string_view directory, FileNamePort& names);

// Whether a StartupApproved value says that the user switched the start off.
bool ApprovalDisables(std::uint32_t type, std::span<const std::uint8_t> data);

// What the settings program shows for the log-on start: on only when the Run value starts this folder's monitor
// and the user has not switched it off in Task Manager; unreadable when either value is there but cannot be read.
enum class AutoStartState { Off, On, Unreadable };
AutoStartState ReadAutoStart(RegistryKey& currentUser, std::string_view directory, FileNamePort& names);

// `currentUser` is HKEY_CURRENT_USER. On: writes the Run value and deletes a StartupApproved value that switches
// it off. Off: when the Run value starts this folder's monitor, deletes it and then its StartupApproved value; a
// value that starts anything else stays. False when a value that had to be read, written or deleted refused it.
bool SetAutoStart(RegistryKey& currentUser, std::string_view directory, bool on, FileNamePort& names);

// As the removal does: deletes the Run value when it starts any program in `directory`, and the StartupApproved
// value when the Run value was deleted or there is none. False when a value that is there could not be read or
// deleted; every other key and value stays untouched.
bool RemoveAutoStartOf(RegistryKey& currentUser, std::string_view directory, FileNamePort& names);

// The Run and StartupApproved values as they are stored, taken before a change so that RestoreSnapshots can undo
// it; nothing when either value is there but cannot be read.
using AutoStartRecord = std::vector<ValueSnapshot>;
std::optional<AutoStartRecord> ReadAutoStartRecord(RegistryKey& currentUser);

} // namespace qn
