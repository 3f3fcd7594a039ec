// Qelto.exe: reserves one large block of memory, fills it, releases it and reports the free memory.
#include "ReserverPlatform.h"
#include "Texts.h"

#include <windows.h>

#include <exception>
#include <new>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        qn::win32::ReserverPlatform platform;
        return qn::RunReservation(qn::win32::ProcessArguments(), platform);
    } catch (const std::bad_alloc&) {
        qn::win32::ShowApplicationError(qn::kOutOfMemoryClass, reinterpret_cast<std::uintptr_t>(&wWinMain),
                                        qn::kOutOfMemoryText);
    } catch (const std::exception& error) {
        qn::win32::ShowApplicationError("Exception", reinterpret_cast<std::uintptr_t>(&wWinMain), error.what());
    }
    return 1;
}
