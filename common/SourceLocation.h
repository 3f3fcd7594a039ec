#pragma once
// Where in the source a call is made, as the errors and the traces name it: std::source_location where the standard
// library has it. The fuzz build's clang 14 lacks the built-in that libstdc++'s needs; its __builtin_FILE and
// __builtin_LINE give the same place, the caller's, in a default argument.
#if __has_include(<source_location>)
#include <source_location>
#endif

namespace qn {

#if defined(__cpp_lib_source_location)
using SourceLocation = std::source_location;
#else
class SourceLocation {
public:
    static constexpr SourceLocation current(const char* file = __builtin_FILE(),
                                            unsigned line = __builtin_LINE()) noexcept {
        SourceLocation where;
        where.m_file = file;
        where.m_line = line;
        return where;
    }
    constexpr const char* file_name() const noexcept { return m_file; }
    constexpr unsigned line() const noexcept { return m_line; }

private:
    const char* m_file = "";
    unsigned m_line = 0;
};
#endif

} // namespace qn
