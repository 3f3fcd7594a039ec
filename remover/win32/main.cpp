// Kolvane.exe: removes the settings key and then the product's files, each stage confirmed by the user.
#include "common/win32/DebugTrace.h"
#include "common/win32/DllSearch.h"
#include "common/win32/ErrorReport.h"
#include "common/win32/UserLanguage.h"
#include "common/win32/FileNames.h"
#include "common/win32/Registry.h"
#include "remover/win32/RemoverPlatform.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    qn::win32::RestrictDllSearchToSystemFolder();
    qn::win32::TraceToDebugger();
    qn::win32::ChooseUserLanguage();
    return qn::win32::RunWindowlessTool(
        [] {
            qn::win32::RemoverPlatform platform;
            qn::win32::Win32RegistryKey currentUser = qn::win32::Win32RegistryKey::CurrentUser();
            qn::win32::Win32FileNames names;
            return qn::RunRemoval(platform, currentUser, names);
        },
        reinterpret_cast<std::uintptr_t>(&wWinMain));
}
