#include "common/win32/UserLanguage.h"

#include "common/Language.h"
#include "common/win32/Registry.h"

#include <windows.h>

namespace qn::win32 {

void ChooseUserLanguage() {
    Win32RegistryKey currentUser = Win32RegistryKey::CurrentUser();
    const bool windowsIsJapanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    SetTextLanguage(ChooseLanguage(StoredLanguage(currentUser), windowsIsJapanese));
}

} // namespace qn::win32
