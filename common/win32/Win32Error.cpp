#include "common/win32/Win32Error.h"

#include "common/ApplicationError.h"
#include "common/win32/Utf.h"

#include <iterator>

namespace qn::win32 {

std::string SystemMessage(DWORD code) {
    wchar_t text[1024] = {};
    // No inserts: a message with %1 in it is shown as it stands rather than read past its arguments.
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                          text, static_cast<DWORD>(std::size(text)), nullptr);
    return Narrow(std::wstring_view(text, length));
}

void ThrowLastError(std::wstring_view subject, const std::source_location& where) {
    const DWORD code = ::GetLastError();
    throw Win32Error(code, FailedCallText(CallSite(where), Narrow(subject), code, SystemMessage(code)));
}

} // namespace qn::win32
