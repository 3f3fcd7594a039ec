#include "remover/win32/RemoverPlatform.h"

#include "common/win32/ProcessInfo.h"
#include "common/win32/ShellLaunch.h"
#include "common/win32/Utf.h"

#include <windows.h>

namespace qn::win32 {

DialogAnswer RemoverPlatform::ShowMessage(const std::string& text, const std::string& title, unsigned style) {
    return m_dialogs.ShowMessage(text, title, style);
}

std::string RemoverPlatform::ProgramPath() {
    return ModuleFileName();
}

bool RemoverPlatform::ShowFolder(const std::string& directory) {
    // No verb: the default action, which for a folder is a folder window.
    return ShellOpen("", directory, "", "", SW_SHOW) > 32;
}

FileDeletion RemoverPlatform::RemoveFile(const std::string& path) {
    if (DeleteFileW(Widen(path).c_str())) {
        return FileDeletion::Deleted;
    }
    return GetLastError() == ERROR_FILE_NOT_FOUND ? FileDeletion::Missing : FileDeletion::Failed;
}

bool RemoverPlatform::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace qn::win32
