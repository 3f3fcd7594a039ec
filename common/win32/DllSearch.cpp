#include "common/win32/DllSearch.h"

#include <windows.h>

namespace qn::win32 {

bool RestrictDllSearchToSystemFolder() {
    // LOAD_LIBRARY_SEARCH_SYSTEM32; the headers offer it only to programs that require Windows 8.
    constexpr DWORD kSearchSystem32 = 0x00000800;
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (!found) {
        return false;
    }
    // Through void(*)(), the one function pointer type that converts to any other without a warning.
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
    return setDefaultDllDirectories(kSearchSystem32) != FALSE;
}

} // namespace qn::win32
