#include "common/win32/FileNames.h"

#include "common/win32/Utf.h"

#include <windows.h>

namespace qn::win32 {
namespace {

// The long form of a path that exists; the path as it is when it does not, or when the system cannot tell.
std::wstring LongPath(const std::wstring& path) {
    std::wstring result(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetLongPathNameW(path.c_str(), result.data(), static_cast<DWORD>(result.size()));
        if (length == 0) {
            return path;
        }
        if (length < result.size()) {
            result.resize(length);
            return result;
        }
        result.resize(length);
    }
}

} // namespace

std::string Win32FileNames::ExpandEnvironment(std::string_view text) {
    const std::wstring source = Widen(text);
    std::wstring result(source.size() + 1, L'\0');
    for (;;) {
        // The length counts the terminating zero; a variable that is not set stays as %NAME%.
        const DWORD length =
            ExpandEnvironmentStringsW(source.c_str(), result.data(), static_cast<DWORD>(result.size()));
        if (length == 0) {
            return std::string(text);
        }
        if (length <= result.size()) {
            result.resize(length - 1);
            return Narrow(result);
        }
        result.resize(length);
    }
}

bool Win32FileNames::SameFile(std::string_view a, std::string_view b) {
    const std::wstring first = LongPath(Widen(a));
    const std::wstring second = LongPath(Widen(b));
    return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

} // namespace qn::win32
