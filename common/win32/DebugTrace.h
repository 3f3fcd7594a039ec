#pragma once

namespace qn::win32 {

// Sends the program's traces to the debugger, each line opened with the program's file name.
void TraceToDebugger();

} // namespace qn::win32
