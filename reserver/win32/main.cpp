// Qelto.exe: reserves one large block of memory, fills it, releases it and reports the free memory.
#include "common/win32/DebugTrace.h"
#include "common/win32/DllSearch.h"
#include "common/win32/ErrorReport.h"
#include "common/win32/UserLanguage.h"
#include "common/win32/ProcessInfo.h"
#include "reserver/win32/ReserverPlatform.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    qn::win32::RestrictDllSearchToSystemFolder();
    qn::win32::TraceToDebugger();
    qn::win32::ChooseUserLanguage();
    return qn::win32::RunWindowlessTool(
        [] {
            qn::win32::ReserverPlatform platform;
            return qn::RunReservation(qn::win32::ProcessArguments(), platform);
        },
        reinterpret_cast<std::uintptr_t>(&wWinMain));
}
