#include "common/AutoStart.h"

#include "common/PathUtil.h"
#include "common/ProductFiles.h"

namespace qn {
namespace {

// The command a Run value holds, its environment strings expanded when it is REG_EXPAND_SZ; nothing when it holds
// no text.
std::optional<std::string> CommandOf(const ValueSnapshot& value, FileNamePort& names) {
    if (value.type != regtype::kString && value.type != regtype::kExpandString) {
        return std::nullopt;
    }
    const std::string text = TextOfStringData(value.data);
    return value.type == regtype::kExpandString ? names.ExpandEnvironment(text) : text;
}

// The product's value under the Run key or the StartupApproved key at `path`.
ValueSnapshot Find(RegistryKey& currentUser, std::string_view path) {
    return TakeSnapshot(currentUser, path, kAutoStartValue);
}

bool Delete(RegistryKey& currentUser, std::string_view path) {
    return DeleteValueAt(currentUser, path, kAutoStartValue);
}

using State = ValueSnapshot::State;

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

bool StartsMonitorIn(std::string_view command, std::string_view directory, FileNamePort& names) {
    const std::string program = CanonicalPath(ProgramOfCommand(command));
    return !program.empty() && names.SameFile(program, CanonicalPath(JoinedPath(directory, kMonitorFile)));
}

bool StartsProgramIn(std::string_view command, std::string_view directory, FileNamePort& names) {
    const std::string folder = DirectoryKeepingRoot(CanonicalPath(ProgramOfCommand(command)));
    const std::string own = CanonicalPath(directory);
    return !folder.empty() && !own.empty() && names.SameFile(folder, own);
}

bool ApprovalDisables(std::uint32_t type, std::span<const std::uint8_t> data) {
    return type == regtype::kBinary && !data.empty() && (data[0] & 1) != 0;
}

AutoStartState ReadAutoStart(RegistryKey& currentUser, std::string_view directory, FileNamePort& names) {
    const ValueSnapshot run = Find(currentUser, kRunKeyPath);
    if (run.state != State::Present) {
        return run.state == State::Absent ? AutoStartState::Off : AutoStartState::Unreadable;
    }
    const auto command = CommandOf(run, names);
    if (!command || !StartsMonitorIn(*command, directory, names)) {
        return AutoStartState::Off;
    }
    const ValueSnapshot approval = Find(currentUser, kStartupApprovedRunPath);
    switch (approval.state) {
    case State::Absent:
        return AutoStartState::On;
    case State::Unreadable:
        return AutoStartState::Unreadable;
    case State::Present:
        break;
    }
    return ApprovalDisables(approval.type, approval.data) ? AutoStartState::Off : AutoStartState::On;
}

bool SetAutoStart(RegistryKey& currentUser, std::string_view directory, bool on, FileNamePort& names) {
    if (on) {
        const auto run = currentUser.CreateSubkeyFor(kRunKeyPath, ValueAccess::Set);
        if (!run || !WriteText(*run, kAutoStartValue, AutoStartCommand(directory))) {
            return false;
        }
        const ValueSnapshot approval = Find(currentUser, kStartupApprovedRunPath);
        if (approval.state == State::Unreadable) {
            return false;
        }
        // A switch left from an earlier value of this name would keep the new one from starting.
        return approval.state == State::Absent || !ApprovalDisables(approval.type, approval.data) ||
               Delete(currentUser, kStartupApprovedRunPath);
    }
    const ValueSnapshot run = Find(currentUser, kRunKeyPath);
    if (run.state != State::Present) {
        return run.state == State::Absent;
    }
    // A value that starts another copy, or another program, is not this installation's to take away.
    const auto command = CommandOf(run, names);
    if (!command || !StartsMonitorIn(*command, directory, names)) {
        return true;
    }
    // The Run value first: were only the switch deleted, a start the user had switched off would come back.
    return Delete(currentUser, kRunKeyPath) && Delete(currentUser, kStartupApprovedRunPath);
}

bool RemoveAutoStartOf(RegistryKey& currentUser, std::string_view directory, FileNamePort& names) {
    const ValueSnapshot run = Find(currentUser, kRunKeyPath);
    if (run.state == State::Unreadable) {
        return false;
    }
    if (run.state == State::Present) {
        const auto command = CommandOf(run, names);
        if (!command || !StartsProgramIn(*command, directory, names)) {
            // Another copy's start, with its switch.
            return true;
        }
        if (!Delete(currentUser, kRunKeyPath)) {
            return false;
        }
    }
    // Without a Run value of its name, a switch belongs to nothing.
    return Delete(currentUser, kStartupApprovedRunPath);
}

std::optional<AutoStartRecord> ReadAutoStartRecord(RegistryKey& currentUser) {
    AutoStartRecord record;
    for (const std::string_view path : {kRunKeyPath, kStartupApprovedRunPath}) {
        record.push_back(Find(currentUser, path));
        if (record.back().state == State::Unreadable) {
            return std::nullopt;
        }
    }
    return record;
}

} // namespace qn
