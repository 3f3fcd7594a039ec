#include "common/PathUtil.h"

#include "common/ProductFiles.h"

#include <algorithm>

namespace qn {
namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

std::string DirectoryWithoutSeparator(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\:");
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator));
}

std::string DirectoryKeepingRoot(std::string_view path) {
    const std::size_t separator = path.find_last_of('\\');
    if (separator == std::string_view::npos) {
        return std::string();
    }
    const bool driveRoot = separator > 0 && path[separator - 1] == ':';
    return std::string(path.substr(0, driveRoot ? separator + 1 : separator));
}

std::string FileNameOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/:");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

bool IsProductProgram(std::string_view path, std::string_view ownPath) {
    const std::string name = FileNameOf(path);
    return EqualIgnoringAsciiCase(DirectoryWithoutSeparator(path), DirectoryWithoutSeparator(ownPath)) &&
           std::ranges::any_of(kProductPrograms,
                               [&](std::string_view program) { return EqualIgnoringAsciiCase(name, program); });
}

} // namespace qn
