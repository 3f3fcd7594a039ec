#include "common/PathUtil.h"

namespace qn {

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

} // namespace qn
