#pragma once
#include <string>
#include <vector>

namespace qn::win32 {

// The full path of the running executable, however long.
std::string ModuleFileName();

// This process's arguments, split from its wide command line by the product's rules.
std::vector<std::string> ProcessArguments();

} // namespace qn::win32
