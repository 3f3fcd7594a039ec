#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace qn {

// The integer conversion shared by the command-line options and the stored window position: optional leading
// blanks (code 32 only), then an optional sign and decimal digits within the signed 32-bit range, or "$" and one
// to eight hexadecimal digits taken as a 32-bit two's-complement value; nothing may follow the number.
std::optional<std::int32_t> StrToInt32(std::string_view text);

} // namespace qn
