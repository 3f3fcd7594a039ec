// Kolvane.exe: removes the settings key and then the product's files, each stage confirmed by the user.
#include "RemoverPlatform.h"
#include "Texts.h"
#include "win32/Registry.h"

#include <windows.h>

#include <exception>
#include <new>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        qn::win32::RemoverPlatform platform;
        qn::win32::Win32RegistryKey currentUser = qn::win32::Win32RegistryKey::CurrentUser();
        return qn::RunRemoval(platform, currentUser);
    } catch (const std::bad_alloc&) {
        qn::win32::ShowApplicationError(qn::kOutOfMemoryClass, reinterpret_cast<std::uintptr_t>(&wWinMain),
                                        qn::kOutOfMemoryText);
    } catch (const std::exception& error) {
        qn::win32::ShowApplicationError("Exception", reinterpret_cast<std::uintptr_t>(&wWinMain), error.what());
    }
    return 1;
}
