#pragma once
// How a failed Win32 call becomes an error: one that says where the call failed (its file and line), for what,
// and why, with the system's error code and message taken there (in the manner of wil's THROW_LAST_ERROR_IF).
// Failures that the programs report in a text of their own never come this way; these reach the last-resort
// error box, where the reason is what helps on a user's machine. A failure the program goes on without leaves a
// trace of the same call site and code instead.
#include "common/Trace.h"

#include <windows.h>

#include <source_location>
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

// Throws the Win32Error of the call made at `where` (for `subject`, when given) with GetLastError(), which it
// reads before anything else.
[[noreturn]] void ThrowLastError(std::wstring_view subject = {},
                                 const std::source_location& where = std::source_location::current());

// The one way a failed Win32 call becomes an error: `failed` is the call's own test of its result; the error
// carries the place of the call that failed.
inline void ThrowLastErrorIf(bool failed, std::wstring_view subject = {},
                             const std::source_location& where = std::source_location::current()) {
    if (failed) [[unlikely]] {
        ThrowLastError(subject, where);
    }
}

// The trace of a failed Win32 call that the program goes on without: `failed` is the call's own test of its
// result; the trace carries GetLastError(), read before anything else, and the place of the call. Gives `failed`.
inline bool TraceLastErrorIf(bool failed, std::string_view what,
                             const std::source_location& where = std::source_location::current()) {
    if (failed) [[unlikely]] {
        Trace(TraceLevel::Warning, what, ::GetLastError(), where);
    }
    return failed;
}

} // namespace qn::win32
