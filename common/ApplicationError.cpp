#include "common/ApplicationError.h"

#include "common/Texts.h"

#include <cstdio>

namespace qn {

std::string FormatApplicationError(std::string_view errorClass, std::string_view programFileName,
                                   std::uintptr_t codeAddress, std::string_view message) {
    char address[2 * sizeof(std::uintptr_t) + 1];
    std::snprintf(address, sizeof address, "%08llX", static_cast<unsigned long long>(codeAddress));
    const bool endsWithStop = !message.empty() && message.back() == '.';
    const std::string_view parts[] = {errorClass, programFileName, address, message, endsWithStop ? "" : "."};

    std::string result;
    std::size_t next = 0;
    const std::string_view format = kApplicationErrorFormat;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'p') &&
            next < std::size(parts)) {
            result += parts[next++];
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}

} // namespace qn
