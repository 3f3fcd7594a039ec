#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace qn {

// The text of the window-less tools' last-resort error box: which error, in which program, at which code
// address (as at least eight upper-case hexadecimal digits), and its message with a closing ".".
std::string FormatApplicationError(std::string_view errorClass, std::string_view programFileName,
                                   std::uintptr_t codeAddress, std::string_view message);

} // namespace qn
