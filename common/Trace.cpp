#include "common/Trace.h"

#include "common/ApplicationError.h"

#include <utility>

namespace qn {
namespace {

TraceSink& Sink() {
    static TraceSink sink;
    return sink;
}

} // namespace

std::string TraceLine(TraceLevel level, std::string_view what, std::uint32_t code, const SourceLocation& where) {
    std::string line = CallSite(where);
    line += level == TraceLevel::Info ? ": info: " : ": warning: ";
    line += what;
    if (code != 0) {
        line += " (error " + std::to_string(code) + ")";
    }
    return line;
}

void Trace(TraceLevel level, std::string_view what, std::uint32_t code, const SourceLocation& where) {
    if (const TraceSink& sink = Sink()) {
        sink(TraceLine(level, what, code, where));
    }
}

void SetTraceSink(TraceSink sink) {
    Sink() = std::move(sink);
}

} // namespace qn
