#pragma once
#include "common/SourceLocation.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qn {

// The text of the window-less tools' last-resort error box: which error, in which program, at which code
// address (as at least eight upper-case hexadecimal digits), and its message with a closing ".".
std::string FormatApplicationError(std::string_view errorClass, std::string_view programFileName,
                                   std::uintptr_t codeAddress, std::string_view message);

// Where a call is made, as errors and traces name it: the source file's name and the line ("WindowObject.cpp:31").
std::string CallSite(const SourceLocation& where);

// The text of an error raised by a failed system call: where the call failed (`call`, its place in the source),
// for what (when `subject` is not empty), and why: "WindowObject.cpp:31 failed for TForm1 (error 1407): <the
// system's message>". The system's message loses
// its closing line break and full stop, which the report of the error adds as it does for every text; code 0 (the
// call set none) names no reason.
std::string FailedCallText(std::string_view call, std::string_view subject, std::uint32_t code,
                           std::string_view systemMessage);

} // namespace qn
