#include "common/win32/DebugTrace.h"

#include "common/PathUtil.h"
#include "common/Trace.h"
#include "common/win32/ProcessInfo.h"
#include "common/win32/Utf.h"

#include <windows.h>

namespace qn::win32 {

void TraceToDebugger() {
    SetTraceSink([program = FileNameOf(ModuleFileName())](const std::string& line) {
        ::OutputDebugStringW(Widen(program + ": " + line + "\n").c_str());
    });
}

} // namespace qn::win32
