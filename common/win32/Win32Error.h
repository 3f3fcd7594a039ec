#pragma once
// How a failed Win32 call becomes an error: one that says which call failed, for what, and why, with the
// system's error code and message taken where the call failed (in the manner of wil's THROW_LAST_ERROR_IF).
// Failures that the programs report in a text of their own never come this way; these reach the last-resort
// error box, where the reason is what helps on a user's machine.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace qn::win32 {

class Win32Error : public std::runtime_error {
public:
    Win32Error(DWORD code, const std::string& text) : std::runtime_error(text), m_code(code) {}
    DWORD Code() const { return m_code; }

private:
    DWORD m_code;
};

// The system's message for an error code, in the user's language, as UTF-8; empty when the system has none.
std::string SystemMessage(DWORD code);

// Throws the Win32Error of the call named `call` (for `subject`, when given) with GetLastError(), which it reads
// before anything else.
[[noreturn]] void ThrowLastError(std::string_view call, std::wstring_view subject = {});

// The one way a failed Win32 call becomes an error: `failed` is the call's own test of its result.
inline void ThrowLastErrorIf(bool failed, std::string_view call, std::wstring_view subject = {}) {
    if (failed) [[unlikely]] {
        ThrowLastError(call, subject);
    }
}

} // namespace qn::win32
