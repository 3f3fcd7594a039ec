#include "remover/Removal.h"

#include "common/AutoStart.h"
#include "common/PathUtil.h"
#include "common/SettingsKey.h"
#include "common/Texts.h"
#include "common/Trace.h"
#include "remover/RemoverTexts.h"

#include <algorithm>

namespace qn {
namespace {

constexpr unsigned kQuestion = mb::kOkCancel | mb::kIconInformation | mb::kSystemModal;
constexpr unsigned kFailure = mb::kOk | mb::kIconStop | mb::kSystemModal;
constexpr unsigned kNotice = mb::kOk | mb::kIconInformation | mb::kSystemModal;

// Each must go, in this order; the first that cannot be deleted stops the stage.
constexpr std::string_view kProgramFiles[] = {"\\Qelto.EXE", "\\Mossik.EXE", "\\Dunfel.EXE"};
// Deleted when they are there.
constexpr std::string_view kTextFiles[] = {"\\ReadMe.Txt", "\\History.Txt"};

DialogAnswer Show(RemoverPort& port, std::string_view text, unsigned style) {
    return port.ShowMessage(std::string(text), std::string(kTitlePlain), style);
}

bool DeleteSettingsKey(RegistryKey& currentUser) {
    // Made to exist first, so that a key that is already gone is no failure; "Software\Harvelt" made on the
    // way stays.
    currentUser.CreateSubkey(kSettingsKeyPath);
    return DeleteKeyTree(currentUser, kSettingsKeyPath);
}

// The settings key, and the start at log-on when it starts a program of this folder: a start of another copy
// of the product belongs to that copy. A start that is there but cannot be read or deleted fails the stage, so
// that no file goes while a Run value would still point at it.
bool DeleteRegistryEntries(RegistryKey& currentUser, std::string_view directory, FileNamePort& names) {
    return DeleteSettingsKey(currentUser) && RemoveAutoStartOf(currentUser, directory, names);
}

bool DeleteProductFiles(RemoverPort& port, const std::string& directory) {
    if (!port.ShowFolder(directory)) {
        return false;
    }
    // A missing program file counts as deleted below, so that a run after a failed one can finish. A folder
    // that holds none of them is not the product's (a copy of the tool in Downloads, or one started through a
    // link): its documents may belong to other software, so nothing there is touched.
    const bool anyProgramFile = std::ranges::any_of(
        kProgramFiles, [&](std::string_view name) { return port.FileExists(directory + std::string(name)); });
    if (!anyProgramFile) {
        return false;
    }
    for (const std::string_view name : kProgramFiles) {
        // One that is there and stays there stops the stage.
        if (port.RemoveFile(directory + std::string(name)) == FileDeletion::Failed) {
            return false;
        }
    }
    for (const std::string_view name : kTextFiles) {
        if (port.RemoveFile(directory + std::string(name)) != FileDeletion::Deleted) {
            Trace(TraceLevel::Info, "text file not deleted: " + std::string(name.substr(1)));
        }
    }
    return true;
}

} // namespace

bool DeleteKeyTree(RegistryKey& parent, std::string_view path) {
    if (const auto key = parent.OpenSubkeyOrLink(path)) {
        // The names are taken first and then deleted one by one: deleting while enumerating by a rising index
        // would skip every other key.
        if (const auto names = key->SubkeyNames()) {
            for (const std::string& name : *names) {
                DeleteKeyTree(*key, name);
            }
        }
    }
    return parent.DeleteSubkey(path);
}

int RunRemoval(RemoverPort& port, RegistryKey& currentUser, FileNamePort& names) {
    if (Show(port, RemoverTexts().confirmRegistry, kQuestion) == DialogAnswer::Cancel) {
        return 0;
    }
    const std::string directory = DirectoryKeepingRoot(port.ProgramPath());
    if (!DeleteRegistryEntries(currentUser, directory, names)) {
        Show(port, RemoverTexts().registryFailed, kFailure);
        return 0;
    }
    if (Show(port, RemoverTexts().confirmFiles, kQuestion) == DialogAnswer::Cancel) {
        return 0;
    }
    if (!DeleteProductFiles(port, directory)) {
        Show(port, RemoverTexts().filesFailed, kFailure);
        return 0;
    }
    Show(port, RemoverTexts().done, kNotice);
    return 0;
}

} // namespace qn
