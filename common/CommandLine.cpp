#include "common/CommandLine.h"

#include <cstddef>

namespace qn {
namespace {

bool IsSeparator(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// Reads the token that starts at or after `pos`; returns it and leaves `pos` after it.
std::string NextToken(std::string_view line, std::size_t& pos) {
    for (;;) {
        while (pos < line.size() && IsSeparator(line[pos])) {
            ++pos;
        }
        if (pos + 1 < line.size() && line[pos] == '"' && line[pos + 1] == '"') {
            pos += 2;
            continue;
        }
        break;
    }
    std::string token;
    bool quoted = false;
    while (pos < line.size() && line[pos] != '\0') {
        const char c = line[pos];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsSeparator(c)) {
            break;
        } else {
            token += c;
        }
        ++pos;
    }
    return token;
}

} // namespace

std::vector<std::string> SplitArguments(std::string_view commandLine) {
    std::size_t pos = 0;
    NextToken(commandLine, pos); // the program's own path
    std::vector<std::string> arguments;
    for (std::string token = NextToken(commandLine, pos); !token.empty(); token = NextToken(commandLine, pos)) {
        arguments.push_back(std::move(token));
    }
    return arguments;
}

} // namespace qn
