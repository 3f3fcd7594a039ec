#pragma once
#include "common/AutoStart.h"
#include "common/Dialogs.h"
#include "common/RegistryKey.h"

#include <string>
#include <string_view>

namespace qn {

// What deleting one file came to.
enum class FileDeletion { Deleted, Missing, Failed };

// What the removal run needs of the system besides the registry.
class RemoverPort : public DialogPort {
public:
    // The full path of the tool's own executable.
    virtual std::string ProgramPath() = 0;
    // Opens a folder window on `directory`; false when that failed.
    virtual bool ShowFolder(const std::string& directory) = 0;
    virtual FileDeletion RemoveFile(const std::string& path) = 0;
    // Whether a file (not a folder) is at `path`.
    virtual bool FileExists(const std::string& path) = 0;
};

// Deletes the key at `path` below `parent` with every key below it; true when the key itself is gone. A symbolic
// link on the way down is deleted as it is: the key it points to, and everything below that, stays.
bool DeleteKeyTree(RegistryKey& parent, std::string_view path);

// One whole run of the removal tool against HKEY_CURRENT_USER (`currentUser`); returns the exit code. `names`
// tells whether the start at log-on starts a program of the tool's folder.
int RunRemoval(RemoverPort& port, RegistryKey& currentUser, FileNamePort& names);

} // namespace qn
