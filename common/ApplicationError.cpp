#include "common/ApplicationError.h"

#include "common/PathUtil.h"
#include "common/Texts.h"

#include <array>
#include <cstdio>

namespace qn {

std::string CallSite(const SourceLocation& where) {
    return FileNameOf(where.file_name()) + ":" + std::to_string(where.line());
}

std::string FormatApplicationError(std::string_view errorClass, std::string_view programFileName,
                                   std::uintptr_t codeAddress, std::string_view message) {
    char address[2 * sizeof(std::uintptr_t) + 1];
    std::snprintf(address, sizeof address, "%08llX", static_cast<unsigned long long>(codeAddress));
    const bool endsWithStop = !message.empty() && message.back() == '.';
    const std::string_view parts[] = {errorClass, programFileName, address, message, endsWithStop ? "" : "."};

    std::string result;
    std::size_t next = 0;
    const std::string_view format = SharedTexts().applicationErrorFormat;
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

namespace {

// The line breaks, blanks and full stops (ASCII, ideographic and half-width) that end a system message.
std::string_view WithoutClosing(std::string_view text) {
    constexpr std::array<std::string_view, 6> kClosings = {"\r", "\n", " ", ".", "\xE3\x80\x82", "\xEF\xBD\xA1"};
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view closing : kClosings) {
            if (text.ends_with(closing)) {
                text.remove_suffix(closing.size());
                trimmed = true;
            }
        }
    }
    return text;
}

} // namespace

std::string FailedCallText(std::string_view call, std::string_view subject, std::uint32_t code,
                           std::string_view systemMessage) {
    const SharedTextSet& texts = SharedTexts();
    std::string text(call);
    text += texts.failedCall;
    if (!subject.empty()) {
        text += texts.failedCallFor;
        text += subject;
    }
    if (code == 0) {
        return text;
    }
    text += " (";
    text += texts.failedCallError;
    text += std::to_string(code) + ")";
    if (const std::string_view reason = WithoutClosing(systemMessage); !reason.empty()) {
        text += ": ";
        text += reason;
    }
    return text;
}

} // namespace qn
