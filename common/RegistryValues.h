#pragma once
#include "common/RegistryKey.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

// The encodings of the settings values. A read gives nothing for a value that is missing, of another type or
// another size than its kind, so that the caller can take its default.

// REG_DWORD of exactly 4 bytes, little-endian, as a signed 32-bit integer.
std::optional<std::int32_t> ReadDword(RegistryKey& key, std::string_view name);
bool WriteDword(RegistryKey& key, std::string_view name, std::int32_t value);

// REG_BINARY of exactly 8 bytes: an IEEE 754 binary64 number, little-endian. A stored value that is not a
// finite number (NaN, infinity) is no usable date-time or period either, so it reads as nothing.
std::optional<double> ReadFloat64(RegistryKey& key, std::string_view name);
bool WriteFloat64(RegistryKey& key, std::string_view name, double value);

// REG_BINARY of exactly `size` bytes, as stored.
std::optional<std::vector<std::uint8_t>> ReadBinary(RegistryKey& key, std::string_view name, std::size_t size);
bool WriteBinary(RegistryKey& key, std::string_view name, std::span<const std::uint8_t> data);

// REG_SZ or REG_EXPAND_SZ (left unexpanded): the text up to the first NUL or the end of the data, whichever
// comes first. Data cut in the middle of a character loses that character.
std::optional<std::string> ReadText(RegistryKey& key, std::string_view name);
// REG_SZ with one terminating NUL counted in the data size.
bool WriteText(RegistryKey& key, std::string_view name, std::string_view text);

// REG_BINARY of at least `size` bytes: the first `size` of them. A later version may append fields to a record;
// its known start is read as before.
std::optional<std::vector<std::uint8_t>> ReadBinaryStart(RegistryKey& key, std::string_view name, std::size_t size);

// One value exactly as it is stored, or that there is none, so that it can be put back as it was.
struct ValueSnapshot {
    enum class State { Absent, Present, Unreadable };
    // The key that holds the value, below the key the snapshot was taken from; empty: that key itself.
    std::string path;
    std::string name;
    State state = State::Unreadable;
    std::uint32_t type = regtype::kNone;
    std::vector<std::uint8_t> data;
};
ValueSnapshot TakeSnapshot(RegistryKey& key, std::string_view name);
// A value of the key at `path` below `root`, which is opened only to read it: a key that is not there holds no
// value, one that cannot be opened an unreadable one.
ValueSnapshot TakeSnapshot(RegistryKey& root, std::string_view path, std::string_view name);
// Puts the value back into the key it was taken from, or the key at its path below that one: its type and bytes
// (the key at a path created where it is gone), or no value where there was none. One that could not be read is
// left as it is now. False when the registry refused.
bool RestoreSnapshot(RegistryKey& key, const ValueSnapshot& snapshot);
// Every one of them, each whatever became of the others; false when any was refused.
bool RestoreSnapshots(RegistryKey& key, std::span<const ValueSnapshot> snapshots);

// Deletes a value of the key at `path` below `root`, opening that key only as far as each step needs; true when
// the value is gone, also when it or its key was never there.
bool DeleteValueAt(RegistryKey& root, std::string_view path, std::string_view name);

// UTF-16LE string data and UTF-8 text, both ways; what is not well-formed becomes U+FFFD (see Unicode.h).
std::string TextOfStringData(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> StringDataOf(std::string_view text);

} // namespace qn
