#include "common/win32/DllSearch.h"

#include "common/win32/SystemFunction.h"

#include <windows.h>

namespace qn::win32 {

bool RestrictDllSearchToSystemFolder() {
    // LOAD_LIBRARY_SEARCH_SYSTEM32; the headers offer it only to programs that require Windows 8.
    constexpr DWORD kSearchSystem32 = 0x00000800;
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        SystemFunction<SetDefaultDllDirectoriesFunction>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    return setDefaultDllDirectories && setDefaultDllDirectories(kSearchSystem32) != FALSE;
}

} // namespace qn::win32
