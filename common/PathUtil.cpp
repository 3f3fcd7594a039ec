#include "common/PathUtil.h"

#include "common/ProductFiles.h"

#include <algorithm>

namespace qn {
namespace {

bool IsDriveRoot(std::string_view path) {
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

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

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string CanonicalPath(std::string_view path) {
    std::string result(Trimmed(path));
    std::replace(result.begin(), result.end(), '/', '\\');
    if (result.starts_with("\\\\?\\UNC\\")) {
        result.erase(2, 6);
    } else if (result.starts_with("\\\\?\\")) {
        result.erase(0, 4);
    }
    while (result.size() > 1 && result.back() == '\\' && !IsDriveRoot(result)) {
        result.pop_back();
    }
    return result;
}

std::string JoinedPath(std::string_view directory, std::string_view file) {
    std::string path(directory);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    return path + std::string(file);
}

bool IsProductProgram(std::string_view path, std::string_view ownPath) {
    const std::string name = FileNameOf(path);
    return EqualIgnoringAsciiCase(DirectoryWithoutSeparator(path), DirectoryWithoutSeparator(ownPath)) &&
           std::ranges::any_of(kProductPrograms,
                               [&](std::string_view program) { return EqualIgnoringAsciiCase(name, program); });
}

} // namespace qn
