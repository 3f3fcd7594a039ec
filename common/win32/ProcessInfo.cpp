#include "common/win32/ProcessInfo.h"

#include "common/CommandLine.h"
#include "common/win32/Utf.h"

#include <windows.h>

namespace qn::win32 {

std::string ModuleFileName() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return Narrow(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> ProcessArguments() {
    return SplitArguments(Narrow(GetCommandLineW()));
}

} // namespace qn::win32
