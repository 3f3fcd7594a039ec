#include "common/AutoStart.h"

#include "common/ProductFiles.h"
#include "common/RegistryValues.h"

#include <algorithm>

namespace qn {
namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsDriveRoot(std::string_view path) {
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

// A path in one spelling: every separator a backslash, without the long-path prefix, no closing separator but
// that of a drive's root. The letters are left as they are: only the file system knows which ones are alike.
std::string Canonical(std::string_view path) {
    std::string result(Trimmed(path));
    std::replace(result.begin(), result.end(), '/', '\\');
    if (result.starts_with("\\\\?\\UNC\\")) {
        result.erase(2, 6);
    } else if (result.starts_with("\\\\?\\")) {
        result.erase(0, 4);
    }
    while (result.size() > 1 && result.back() == '\\' && !IsDriveRoot(result)) {
        result.pop_back();
    }
    return result;
}

// The folder of a canonical path: the text before its last separator, with it when that is a drive's root.
std::string FolderOf(std::string_view canonicalPath) {
    const std::size_t separator = canonicalPath.find_last_of('\\');
    if (separator == std::string_view::npos) {
        return {};
    }
    const std::string_view folder = canonicalPath.substr(0, separator);
    return folder.size() == 2 && folder[1] == ':' ? std::string(folder) + '\\' : std::string(folder);
}

std::string JoinedPath(std::string_view directory, std::string_view file) {
    std::string path(directory);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    return path + std::string(file);
}

// One value as it was found: not there (its key or itself), there but refusing to be read, or its type and bytes.
struct FoundValue {
    enum class Status { Missing, Unreadable, Present };
    Status status = Status::Unreadable;
    StoredValue value;
};

// Far beyond any command or switch; a larger value is not read.
constexpr std::size_t kMaxValueBytes = 1 << 16;

FoundValue Find(RegistryKey& currentUser, std::string_view path, std::string_view name) {
    FoundValue found;
    const KeyOpening key = currentUser.OpenSubkeyFor(path, ValueAccess::Query);
    if (key.status != KeyOpening::Status::Opened) {
        found.status =
            key.status == KeyOpening::Status::Missing ? FoundValue::Status::Missing : FoundValue::Status::Unreadable;
        return found;
    }
    const ValueQuery info = key.key->QueryValue(name, 0);
    if (info.status == ValueQuery::Status::Missing) {
        found.status = FoundValue::Status::Missing;
        return found;
    }
    if (info.status != ValueQuery::Status::Success || info.size > kMaxValueBytes) {
        return found;
    }
    found.value.type = info.type;
    if (info.size != 0) {
        // A value that changed since it was measured is read as unreadable rather than in part.
        ValueQuery query = key.key->QueryValue(name, info.size);
        if (query.status != ValueQuery::Status::Success) {
            return found;
        }
        found.value = {query.type, std::move(query.data)};
    }
    found.status = FoundValue::Status::Present;
    return found;
}

// The command a Run value holds, its environment strings expanded when it is REG_EXPAND_SZ; nothing when it holds
// no text.
std::optional<std::string> CommandOf(const StoredValue& value, FileNamePort& names) {
    if (value.type != regtype::kString && value.type != regtype::kExpandString) {
        return std::nullopt;
    }
    const std::string text = TextOfStringData(value.data);
    return value.type == regtype::kExpandString ? names.ExpandEnvironment(text) : text;
}

// Deletes one value; true when it is gone, also when it was never there.
bool DeleteFound(RegistryKey& currentUser, std::string_view path, std::string_view name) {
    switch (Find(currentUser, path, name).status) {
    case FoundValue::Status::Missing:
        return true;
    case FoundValue::Status::Unreadable:
        return false;
    case FoundValue::Status::Present:
        break;
    }
    const KeyOpening key = currentUser.OpenSubkeyFor(path, ValueAccess::Set);
    if (key.key && key.key->DeleteValue(name)) {
        return true;
    }
    // Refused, or deleted by someone else meanwhile: only a value that is still there is a failure.
    return Find(currentUser, path, name).status == FoundValue::Status::Missing;
}

bool PutBack(RegistryKey& currentUser, std::string_view path, const std::optional<StoredValue>& value) {
    if (!value) {
        return DeleteFound(currentUser, path, kAutoStartValue);
    }
    const auto key = currentUser.CreateSubkeyFor(path, ValueAccess::Set);
    return key && key->SetValue(kAutoStartValue, value->type, value->data);
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

bool StartsMonitorIn(std::string_view command, std::string_view directory, FileNamePort& names) {
    const std::string program = Canonical(ProgramOfCommand(command));
    return !program.empty() && names.SameFile(program, Canonical(JoinedPath(directory, kMonitorFile)));
}

bool StartsProgramIn(std::string_view command, std::string_view directory, FileNamePort& names) {
    const std::string folder = FolderOf(Canonical(ProgramOfCommand(command)));
    const std::string own = Canonical(directory);
    return !folder.empty() && !own.empty() && names.SameFile(folder, own);
}

bool ApprovalDisables(std::uint32_t type, std::span<const std::uint8_t> data) {
    return type == regtype::kBinary && !data.empty() && (data[0] & 1) != 0;
}

AutoStartState ReadAutoStart(RegistryKey& currentUser, std::string_view directory, FileNamePort& names) {
    const FoundValue run = Find(currentUser, kRunKeyPath, kAutoStartValue);
    if (run.status != FoundValue::Status::Present) {
        return run.status == FoundValue::Status::Missing ? AutoStartState::Off : AutoStartState::Unreadable;
    }
    const auto command = CommandOf(run.value, names);
    if (!command || !StartsMonitorIn(*command, directory, names)) {
        return AutoStartState::Off;
    }
    const FoundValue approval = Find(currentUser, kStartupApprovedRunPath, kAutoStartValue);
    switch (approval.status) {
    case FoundValue::Status::Missing:
        return AutoStartState::On;
    case FoundValue::Status::Unreadable:
        return AutoStartState::Unreadable;
    case FoundValue::Status::Present:
        break;
    }
    return ApprovalDisables(approval.value.type, approval.value.data) ? AutoStartState::Off : AutoStartState::On;
}

bool SetAutoStart(RegistryKey& currentUser, std::string_view directory, bool on, FileNamePort& names) {
    if (on) {
        const auto run = currentUser.CreateSubkeyFor(kRunKeyPath, ValueAccess::Set);
        if (!run || !WriteText(*run, kAutoStartValue, AutoStartCommand(directory))) {
            return false;
        }
        const FoundValue approval = Find(currentUser, kStartupApprovedRunPath, kAutoStartValue);
        if (approval.status == FoundValue::Status::Unreadable) {
            return false;
        }
        // A switch left from an earlier value of this name would keep the new one from starting.
        return approval.status == FoundValue::Status::Missing ||
               !ApprovalDisables(approval.value.type, approval.value.data) ||
               DeleteFound(currentUser, kStartupApprovedRunPath, kAutoStartValue);
    }
    const FoundValue run = Find(currentUser, kRunKeyPath, kAutoStartValue);
    if (run.status != FoundValue::Status::Present) {
        return run.status == FoundValue::Status::Missing;
    }
    // A value that starts another copy, or another program, is not this installation's to take away.
    const auto command = CommandOf(run.value, names);
    if (!command || !StartsMonitorIn(*command, directory, names)) {
        return true;
    }
    // The Run value first: were only the switch deleted, a start the user had switched off would come back.
    return DeleteFound(currentUser, kRunKeyPath, kAutoStartValue) &&
           DeleteFound(currentUser, kStartupApprovedRunPath, kAutoStartValue);
}

bool RemoveAutoStartOf(RegistryKey& currentUser, std::string_view directory, FileNamePort& names) {
    const FoundValue run = Find(currentUser, kRunKeyPath, kAutoStartValue);
    if (run.status == FoundValue::Status::Unreadable) {
        return false;
    }
    if (run.status == FoundValue::Status::Present) {
        const auto command = CommandOf(run.value, names);
        if (!command || !StartsProgramIn(*command, directory, names)) {
            // Another copy's start, with its switch.
            return true;
        }
        if (!DeleteFound(currentUser, kRunKeyPath, kAutoStartValue)) {
            return false;
        }
    }
    // Without a Run value of its name, a switch belongs to nothing.
    return DeleteFound(currentUser, kStartupApprovedRunPath, kAutoStartValue);
}

std::optional<AutoStartRecord> ReadAutoStartRecord(RegistryKey& currentUser) {
    AutoStartRecord record;
    for (const auto& [path, slot] :
         {std::pair{kRunKeyPath, &record.run}, {kStartupApprovedRunPath, &record.approval}}) {
        FoundValue found = Find(currentUser, path, kAutoStartValue);
        if (found.status == FoundValue::Status::Unreadable) {
            return std::nullopt;
        }
        if (found.status == FoundValue::Status::Present) {
            *slot = std::move(found.value);
        }
    }
    return record;
}

bool RestoreAutoStartRecord(RegistryKey& currentUser, const AutoStartRecord& record) {
    const bool run = PutBack(currentUser, kRunKeyPath, record.run);
    const bool approval = PutBack(currentUser, kStartupApprovedRunPath, record.approval);
    return run && approval;
}

} // namespace qn
