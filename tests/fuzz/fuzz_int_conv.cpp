// The integer conversion against a reference built on std::from_chars, and the round trip of every 32-bit value
// through its decimal and "$" hexadecimal forms.
#include "common/IntConv.h"
#include "tests/fuzz/FuzzCheck.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

bool AllOf(std::string_view text, bool (*accept)(char)) {
    for (const char c : text) {
        if (!accept(c)) {
            return false;
        }
    }
    return true;
}

std::optional<std::int32_t> Reference(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    if (text.starts_with('$')) {
        const std::string_view digits = text.substr(1);
        const auto isHex = [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        };
        if (digits.empty() || digits.size() > 8 || !AllOf(digits, isHex)) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        return static_cast<std::int32_t>(value);
    }
    bool negative = false;
    if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !AllOf(text, [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || magnitude > (negative ? 2147483648ULL : 2147483647ULL)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                              : static_cast<std::int64_t>(magnitude));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    QN_FUZZ_CHECK(qn::StrToInt32(text) == Reference(text));

    if (size >= 4) {
        std::int32_t value = 0;
        std::memcpy(&value, data, 4);
        QN_FUZZ_CHECK(qn::StrToInt32(std::to_string(value)) == value);
        char hex[16] = {};
        const auto [end, error] = std::to_chars(hex, hex + sizeof hex, static_cast<std::uint32_t>(value), 16);
        QN_FUZZ_CHECK(qn::StrToInt32("  $" + std::string(hex, end)) == value);
    }
    return 0;
}
