#pragma once
#include <cstdint>
#include <string>

namespace qn::win32 {

// ShellExecuteW with no owner window; `verb` empty means the default verb. Returns the shell's result
// (greater than 32 on success).
std::intptr_t ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int showCommand);

} // namespace qn::win32
