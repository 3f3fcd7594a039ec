#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qn {

// Splits a whole command line into its arguments, leaving out the first token (the program's own path).
// Arguments are separated by characters of code 1 to 32; a double-quoted stretch belongs to one argument and
// loses its quotes; an empty pair of quotes between arguments gives no argument; the arguments end at the first
// token that comes out empty. Bytes of 128 and above (UTF-8 sequences) are ordinary characters, and arguments
// are not cut at any length.
std::vector<std::string> SplitArguments(std::string_view commandLine);

} // namespace qn
