#include "RegistryValues.h"

#include <bit>
#include <cmath>

namespace qn {
namespace {

// Far beyond any text the programs keep; a larger value is not read at all.
constexpr std::size_t kMaxTextBytes = 1 << 20;

// `data` when the query gave exactly `size` bytes of `type`.
std::optional<std::vector<std::uint8_t>> Exactly(RegistryKey& key, std::string_view name, std::uint32_t type,
                                                 std::size_t size) {
    ValueQuery query = key.QueryValue(name, size);
    if (query.status != ValueQuery::Status::Success || query.type != type || query.size != size ||
        query.data.size() != size) {
        return std::nullopt;
    }
    return std::move(query.data);
}

std::uint64_t LittleEndian(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        value = value << 8 | bytes[i];
    }
    return value;
}

std::vector<std::uint8_t> LittleEndianBytes(std::uint64_t value, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
    return bytes;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::vector<std::uint8_t>& out, char32_t c) {
    const auto unit = [&](char32_t u) {
        out.push_back(static_cast<std::uint8_t>(u));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    };
    if (c >= 0x10000) {
        unit(0xD800 + ((c - 0x10000) >> 10));
        unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        unit(c);
    }
}

} // namespace

std::optional<std::int32_t> ReadDword(RegistryKey& key, std::string_view name) {
    const auto bytes = Exactly(key, name, regtype::kDword, 4);
    if (!bytes) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(*bytes)));
}

bool WriteDword(RegistryKey& key, std::string_view name, std::int32_t value) {
    return key.SetValue(name, regtype::kDword, LittleEndianBytes(static_cast<std::uint32_t>(value), 4));
}

std::optional<double> ReadFloat64(RegistryKey& key, std::string_view name) {
    const auto bytes = Exactly(key, name, regtype::kBinary, 8);
    if (!bytes) {
        return std::nullopt;
    }
    const double value = std::bit_cast<double>(LittleEndian(*bytes));
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool WriteFloat64(RegistryKey& key, std::string_view name, double value) {
    return key.SetValue(name, regtype::kBinary, LittleEndianBytes(std::bit_cast<std::uint64_t>(value), 8));
}

std::optional<std::string> ReadText(RegistryKey& key, std::string_view name) {
    const ValueQuery info = key.QueryValue(name, 0);
    if (info.status != ValueQuery::Status::Success ||
        (info.type != regtype::kString && info.type != regtype::kExpandString) || info.size > kMaxTextBytes) {
        return std::nullopt;
    }
    if (info.size == 0) {
        return std::string();
    }
    // The value may have changed since it was measured; a type or size that no longer fits reads as nothing.
    const ValueQuery query = key.QueryValue(name, info.size);
    if (query.status != ValueQuery::Status::Success ||
        (query.type != regtype::kString && query.type != regtype::kExpandString)) {
        return std::nullopt;
    }
    return TextOfStringData(query.data);
}

bool WriteText(RegistryKey& key, std::string_view name, std::string_view text) {
    return key.SetValue(name, regtype::kString, StringDataOf(text));
}

std::string TextOfStringData(std::span<const std::uint8_t> data) {
    std::string text;
    const std::size_t units = data.size() / 2;
    const auto unitAt = [&](std::size_t i) -> char32_t { return data[2 * i] | data[2 * i + 1] << 8; };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = unitAt(i);
        if (unit == 0) {
            break;
        }
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units && unitAt(i + 1) >= 0xDC00 && unitAt(i + 1) < 0xE000) {
            AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            AppendUtf8(text, 0xFFFD);
        } else {
            AppendUtf8(text, unit);
        }
    }
    return text;
}

std::vector<std::uint8_t> StringDataOf(std::string_view text) {
    std::vector<std::uint8_t> data;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > text.size()) {
            AppendUtf16(data, 0xFFFD);
            ++i;
            continue;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        AppendUtf16(data, c);
        i += length;
    }
    AppendUtf16(data, 0);
    return data;
}

} // namespace qn
