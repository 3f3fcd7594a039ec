#pragma once
#include <cstdint>
#include <string>

namespace qn::win32 {

// Whether the shell looks where a file came from before it starts it. Windows marks every file unpacked from a
// downloaded archive as coming from the Internet and then asks, or lets SmartScreen ask, at each start: a
// question nobody answers in the middle of an automatic run. The product's own programs, started from its own
// folder, are started without it; anything else the user named keeps the shell's checks.
enum class ZoneCheck { Check, Skip };

// ShellExecuteExW with no owner window; `verb` empty means the default verb. Returns the shell's result
// (greater than 32 on success, one of its SE_ERR_ codes otherwise).
std::intptr_t ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int showCommand, ZoneCheck zone = ZoneCheck::Check);

} // namespace qn::win32
