#include "common/win32/ShellLaunch.h"

#include "common/win32/Utf.h"

#include <windows.h>
#include <shellapi.h>

namespace qn::win32 {

std::intptr_t ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int showCommand) {
    const std::wstring wideVerb = Widen(verb);
    const HINSTANCE result = ShellExecuteW(nullptr, verb.empty() ? nullptr : wideVerb.c_str(), Widen(file).c_str(),
                                           Widen(parameters).c_str(), Widen(directory).c_str(), showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

} // namespace qn::win32
