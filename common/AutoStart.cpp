#include "common/AutoStart.h"

#include "common/RegistryValues.h"

namespace qn {
namespace {

constexpr std::string_view kMonitorFile = "Mossik.exe";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A path in one spelling: ASCII letters in upper case, every separator a backslash, no closing separator.
std::string Canonical(std::string_view path) {
    std::string result(Trimmed(path));
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c == '/') {
            c = '\\';
        }
    }
    while (!result.empty() && result.back() == '\\') {
        result.pop_back();
    }
    return result;
}

// The folder of a canonical path: the text before its last separator.
std::string_view FolderOf(std::string_view canonicalPath) {
    const std::size_t separator = canonicalPath.find_last_of('\\');
    return separator == std::string_view::npos ? std::string_view() : canonicalPath.substr(0, separator);
}

std::string JoinedPath(std::string_view directory, std::string_view file) {
    std::string path(directory);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    return path + std::string(file);
}

} // namespace

std::string AutoStartCommand(std::string_view directory) {
    std::string command(1, '"');
    command += JoinedPath(directory, kMonitorFile);
    command += '"';
    return command;
}

std::string ProgramOfCommand(std::string_view command) {
    const std::string_view text = Trimmed(command);
    if (text.starts_with('"')) {
        const std::size_t closing = text.find('"', 1);
        return std::string(Trimmed(text.substr(1, closing == std::string_view::npos ? text.npos : closing - 1)));
    }
    return std::string(text);
}

bool StartsMonitorIn(std::string_view command, std::string_view directory) {
    const std::string program = Canonical(ProgramOfCommand(command));
    return !program.empty() && program == Canonical(JoinedPath(directory, kMonitorFile));
}

bool StartsProgramIn(std::string_view command, std::string_view directory) {
    const std::string program = Canonical(ProgramOfCommand(command));
    const std::string folder = Canonical(directory);
    return !folder.empty() && FolderOf(program) == folder;
}

bool AutoStartEnabled(RegistryKey& currentUser, std::string_view directory) {
    const auto run = currentUser.OpenSubkey(kRunKeyPath);
    const auto command = run ? ReadText(*run, kAutoStartValue) : std::nullopt;
    return command && StartsMonitorIn(*command, directory);
}

bool SetAutoStart(RegistryKey& currentUser, std::string_view directory, bool on) {
    if (on) {
        const auto run = currentUser.CreateSubkey(kRunKeyPath);
        return run && WriteText(*run, kAutoStartValue, AutoStartCommand(directory));
    }
    // A value that starts another copy, or another program, is not this installation's to take away.
    if (!AutoStartEnabled(currentUser, directory)) {
        return true;
    }
    const auto run = currentUser.OpenSubkey(kRunKeyPath);
    return run && run->DeleteValue(kAutoStartValue);
}

bool RemoveAutoStartOf(RegistryKey& currentUser, std::string_view directory) {
    const auto run = currentUser.OpenSubkey(kRunKeyPath);
    const auto command = run ? ReadText(*run, kAutoStartValue) : std::nullopt;
    return !command || !StartsProgramIn(*command, directory) || run->DeleteValue(kAutoStartValue);
}

} // namespace qn
