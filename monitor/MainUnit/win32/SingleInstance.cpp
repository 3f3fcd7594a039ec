#include "monitor/MainUnit/win32/SingleInstance.h"

#include "common/SettingsKey.h"
#include "common/Texts.h"
#include "common/win32/Utf.h"

#include <windows.h>

namespace qn::win32 {
namespace {

// Monitors started at the same moment can both miss each other's marker window; this name is held by one only.
constexpr const wchar_t* kSingleInstanceMutex = L"Local\\Harvelt.Ambrola.Mossik";
constexpr DWORD kPollMs = 100;

UniqueHandle TryClaim() {
    if (FindWindowW(nullptr, Widen(kInstanceMarker).c_str())) {
        return {};
    }
    UniqueHandle name(CreateMutexW(nullptr, FALSE, kSingleInstanceMutex));
    if (!name || GetLastError() == ERROR_ALREADY_EXISTS) {
        return {};
    }
    return name;
}

} // namespace

UniqueHandle ClaimSingleInstance(const std::function<bool()>& anotherMayBeEnding) {
    UniqueHandle claimed = TryClaim();
    if (claimed || !anotherMayBeEnding()) {
        return claimed;
    }
    const ULONGLONG deadline = GetTickCount64() + kLongestMonitorEndingMs;
    while (!claimed && GetTickCount64() < deadline) {
        Sleep(kPollMs);
        claimed = TryClaim();
    }
    return claimed;
}

} // namespace qn::win32
