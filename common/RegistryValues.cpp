#include "common/RegistryValues.h"

#include "common/Trace.h"
#include "common/Unicode.h"

#include <bit>
#include <cmath>

namespace qn {
namespace {

// Far beyond any text or record the programs keep; a larger value is not read at all.
constexpr std::size_t kMaxValueBytes = 1 << 20;

// The whole of a value of any size up to kMaxValueBytes, with its type; its size is asked first.
ValueQuery QueryWhole(RegistryKey& key, std::string_view name) {
    const ValueQuery info = key.QueryValue(name, 0);
    if (info.status != ValueQuery::Status::Success || info.size == 0 || info.size > kMaxValueBytes) {
        return info;
    }
    // The value may have changed since it was measured; one that grew meanwhile reads as MoreData.
    return key.QueryValue(name, info.size);
}

// A value that is there but cannot be used as its kind reads as its default; the trace says why.
void TraceUnusable(const ValueQuery& query, std::string_view name) {
    if (query.status != ValueQuery::Status::Missing) {
        Trace(TraceLevel::Warning,
              std::string(query.status == ValueQuery::Status::Failed ? "value cannot be read: "
                                                                     : "value of another type or size: ") +
                  std::string(name));
    }
}

// `data` when the query gave exactly `size` bytes of `type`.
std::optional<std::vector<std::uint8_t>> Exactly(RegistryKey& key, std::string_view name, std::uint32_t type,
                                                 std::size_t size) {
    ValueQuery query = key.QueryValue(name, size);
    if (query.status != ValueQuery::Status::Success || query.type != type || query.size != size ||
        query.data.size() != size) {
        TraceUnusable(query, name);
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

std::optional<std::vector<std::uint8_t>> ReadBinary(RegistryKey& key, std::string_view name, std::size_t size) {
    return Exactly(key, name, regtype::kBinary, size);
}

bool WriteBinary(RegistryKey& key, std::string_view name, std::span<const std::uint8_t> data) {
    return key.SetValue(name, regtype::kBinary, data);
}

std::optional<std::vector<std::uint8_t>> ReadBinaryStart(RegistryKey& key, std::string_view name, std::size_t size) {
    ValueQuery query = QueryWhole(key, name);
    if (query.status != ValueQuery::Status::Success || query.type != regtype::kBinary || query.size < size ||
        query.data.size() < size) {
        TraceUnusable(query, name);
        return std::nullopt;
    }
    query.data.resize(size);
    return std::move(query.data);
}

ValueSnapshot TakeSnapshot(RegistryKey& key, std::string_view name) {
    ValueSnapshot snapshot;
    snapshot.name = name;
    ValueQuery query = QueryWhole(key, name);
    if (query.status == ValueQuery::Status::Missing) {
        snapshot.state = ValueSnapshot::State::Absent;
    } else if (query.status == ValueQuery::Status::Success && query.data.size() == query.size) {
        snapshot.state = ValueSnapshot::State::Present;
        snapshot.type = query.type;
        snapshot.data = std::move(query.data);
    }
    return snapshot;
}

ValueSnapshot TakeSnapshot(RegistryKey& root, std::string_view path, std::string_view name) {
    ValueSnapshot snapshot;
    const KeyOpening key = root.OpenSubkeyFor(path, ValueAccess::Query);
    if (key.status == KeyOpening::Status::Opened) {
        snapshot = TakeSnapshot(*key.key, name);
    } else {
        snapshot.name = name;
        if (key.status == KeyOpening::Status::Missing) {
            snapshot.state = ValueSnapshot::State::Absent;
        }
    }
    snapshot.path = path;
    return snapshot;
}

bool DeleteValueAt(RegistryKey& root, std::string_view path, std::string_view name) {
    switch (TakeSnapshot(root, path, name).state) {
    case ValueSnapshot::State::Absent:
        return true;
    case ValueSnapshot::State::Unreadable:
        return false;
    case ValueSnapshot::State::Present:
        break;
    }
    const KeyOpening key = root.OpenSubkeyFor(path, ValueAccess::Set);
    if (key.key && key.key->DeleteValue(name)) {
        return true;
    }
    // Refused, or deleted by someone else meanwhile: only a value that is still there is a failure.
    return TakeSnapshot(root, path, name).state == ValueSnapshot::State::Absent;
}

namespace {

// The value into the key it was taken from.
bool RestoreInKey(RegistryKey& key, const ValueSnapshot& snapshot) {
    switch (snapshot.state) {
    case ValueSnapshot::State::Absent:
        // Deleting a value that is not there fails too: what counts is that it is gone.
        return key.DeleteValue(snapshot.name) || key.QueryValue(snapshot.name, 0).status == ValueQuery::Status::Missing;
    case ValueSnapshot::State::Present:
        return key.SetValue(snapshot.name, snapshot.type, snapshot.data);
    case ValueSnapshot::State::Unreadable:
        break;
    }
    return false;
}

// The value into the key at its path, each opened with only the rights its step needs.
bool RestoreAtPath(RegistryKey& root, const ValueSnapshot& snapshot) {
    switch (snapshot.state) {
    case ValueSnapshot::State::Absent:
        return DeleteValueAt(root, snapshot.path, snapshot.name);
    case ValueSnapshot::State::Present: {
        const auto key = root.CreateSubkeyFor(snapshot.path, ValueAccess::Set);
        return key && key->SetValue(snapshot.name, snapshot.type, snapshot.data);
    }
    case ValueSnapshot::State::Unreadable:
        break;
    }
    return false;
}

} // namespace

bool RestoreSnapshot(RegistryKey& key, const ValueSnapshot& snapshot) {
    const bool restored = snapshot.path.empty() ? RestoreInKey(key, snapshot) : RestoreAtPath(key, snapshot);
    if (!restored) {
        Trace(TraceLevel::Warning, "value not put back: " + snapshot.name);
    }
    return restored;
}

bool RestoreSnapshots(RegistryKey& key, std::span<const ValueSnapshot> snapshots) {
    bool restored = true;
    for (const ValueSnapshot& snapshot : snapshots) {
        restored &= RestoreSnapshot(key, snapshot);
    }
    return restored;
}

std::optional<std::string> ReadText(RegistryKey& key, std::string_view name) {
    const ValueQuery query = QueryWhole(key, name);
    if (query.status != ValueQuery::Status::Success ||
        (query.type != regtype::kString && query.type != regtype::kExpandString) || query.size > kMaxValueBytes) {
        TraceUnusable(query, name);
        return std::nullopt;
    }
    return TextOfStringData(query.data);
}

bool WriteText(RegistryKey& key, std::string_view name, std::string_view text) {
    return key.SetValue(name, regtype::kString, StringDataOf(text));
}

std::string TextOfStringData(std::span<const std::uint8_t> data) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit == 0) {
            break;
        }
        units += unit;
    }
    return Utf8FromUtf16(units);
}

std::vector<std::uint8_t> StringDataOf(std::string_view text) {
    std::vector<std::uint8_t> data;
    for (const char16_t unit : Utf16FromUtf8(text)) {
        data.push_back(static_cast<std::uint8_t>(unit));
        data.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    data.insert(data.end(), {0, 0});
    return data;
}

} // namespace qn
