#include "common/win32/ShellLaunch.h"

#include "common/win32/Utf.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace qn::win32 {

std::intptr_t ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int showCommand, ZoneCheck zone) {
    const std::wstring wideVerb = Widen(verb);
    const wchar_t* verbOrDefault = verb.empty() ? nullptr : wideVerb.c_str();
    const std::wstring wideFile = Widen(file);
    const std::wstring wideParameters = Widen(parameters);
    const std::wstring wideDirectory = Widen(directory);
    if (zone == ZoneCheck::Check) {
        return reinterpret_cast<std::intptr_t>(ShellExecuteW(
            nullptr, verbOrDefault, wideFile.c_str(), wideParameters.c_str(), wideDirectory.c_str(), showCommand));
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // As ShellExecuteW does, but for the zone check: a failure is the caller's to report, with no box of the
    // shell's. The callers end their process right after a start, so the shell must have finished it by then.
    info.fMask = SEE_MASK_NOZONECHECKS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = verbOrDefault;
    info.lpFile = wideFile.c_str();
    info.lpParameters = wideParameters.c_str();
    info.lpDirectory = wideDirectory.c_str();
    info.nShow = showCommand;
    const bool started = ShellExecuteExW(&info) != FALSE;
    // The shell sets a result above 32 on success and an SE_ERR_ code on failure; a success without one, or a
    // failure without a code, still reads as what it was.
    constexpr std::intptr_t kLastError = SE_ERR_DLLNOTFOUND;
    const auto result = reinterpret_cast<std::intptr_t>(info.hInstApp);
    return started ? std::max(result, kLastError + 1) : std::clamp<std::intptr_t>(result, 0, kLastError);
}

} // namespace qn::win32
