#pragma once
// A trace of every failure the programs drop on purpose: a settings write the registry refused, a tray delete or
// a balloon the shell would not take, a value that cannot be read. Each is dropped as the product intends, and
// leaves this trace for a developer: the Win32 side sends it to the debugger (OutputDebugStringW, seen in a
// debugger or DebugView). The product keeps no log file.
#include "common/SourceLocation.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qn {

enum class TraceLevel {
    Info,    // expected in ordinary use (a value that is not there)
    Warning, // a failure that is dropped, the program goes on as designed
};

// One line: where it was dropped (the caller's file and line, as the errors name a failed call), the level, what
// was dropped, and the system's error code where there is one (0: none).
void Trace(TraceLevel level, std::string_view what, std::uint32_t code = 0,
           const SourceLocation& where = SourceLocation::current());

// The text of a trace line as it reaches the sink, without the program's name.
std::string TraceLine(TraceLevel level, std::string_view what, std::uint32_t code, const SourceLocation& where);

// Where the lines go; nowhere until a program says so.
using TraceSink = std::function<void(const std::string& line)>;
void SetTraceSink(TraceSink sink);

} // namespace qn
