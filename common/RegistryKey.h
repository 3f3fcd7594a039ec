#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

// Registry value types, with the values the system gives them (Registry.cpp ties each to the system's name).
namespace regtype {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kString = 1;       // REG_SZ
inline constexpr std::uint32_t kExpandString = 2; // REG_EXPAND_SZ
inline constexpr std::uint32_t kBinary = 3;       // REG_BINARY
inline constexpr std::uint32_t kDword = 4;        // REG_DWORD, little-endian
} // namespace regtype

// What a query of one value gave, as the registry reports it.
struct ValueQuery {
    enum class Status { Success, MoreData, Missing, Failed };
    Status status = Status::Failed;
    std::uint32_t type = regtype::kNone;
    // On success the size of the data; when it did not fit, the size it would need.
    std::size_t size = 0;
    // The bytes that were stored and copied, never more than `size`; empty unless the query succeeded.
    std::vector<std::uint8_t> data;
};

// The rights a key is opened with for its values: only what the step needs, so that a key that lets its values be
// read but not changed (guarded by security software, or on a managed machine) is still read.
enum class ValueAccess {
    Query, // reading values
    Set,   // creating, replacing and deleting values
};

class RegistryKey;

// What opening an existing key came to: a key that is not there is no failure, one that is there but cannot be
// opened with the rights asked for is.
struct KeyOpening {
    enum class Status { Opened, Missing, Failed };
    Status status = Status::Failed;
    std::unique_ptr<RegistryKey> key; // only when opened
};

// One open registry key. Destroying it closes it. Paths are relative to the key, with "\" between the parts;
// names and paths are UTF-8, and string data is UTF-16LE as the registry keeps it.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // Opens a key below this one, creating it and every missing key on the way; nothing when that fails.
    virtual std::unique_ptr<RegistryKey> CreateSubkey(std::string_view path) = 0;
    // Opens an existing key below this one; nothing when it is missing or cannot be opened.
    virtual std::unique_ptr<RegistryKey> OpenSubkey(std::string_view path) = 0;
    // The same for deleting it: where the last part of `path` is a symbolic link, the link itself is opened, never
    // the key it points to, so that what is below that key is not taken for what is below the link.
    virtual std::unique_ptr<RegistryKey> OpenSubkeyOrLink(std::string_view path) = 0;
    // Opens an existing key below this one with no more rights than `access`.
    virtual KeyOpening OpenSubkeyFor(std::string_view path, ValueAccess access) = 0;
    // Opens a key below this one with no more rights than `access`, creating it and every missing key on the way;
    // nothing when that fails.
    virtual std::unique_ptr<RegistryKey> CreateSubkeyFor(std::string_view path, ValueAccess access) = 0;

    // Copies a value into a buffer of `capacity` bytes. A value larger than that is reported as MoreData with
    // its type and size. A capacity of 0 asks for the type and size only, and succeeds for any existing value.
    virtual ValueQuery QueryValue(std::string_view name, std::size_t capacity) = 0;
    // Creates or replaces a value; false when the registry refused.
    virtual bool SetValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) = 0;
    // Deletes a value; false when it is missing or the registry refused.
    virtual bool DeleteValue(std::string_view name) = 0;

    // The names of the keys directly below this one; nothing when they cannot be listed.
    virtual std::optional<std::vector<std::string>> SubkeyNames() = 0;
    // Deletes a key below this one that has no subkeys of its own; false when it cannot be deleted. Where the last
    // part of `path` is a symbolic link, the link goes and the key it points to stays.
    virtual bool DeleteSubkey(std::string_view path) = 0;
};

} // namespace qn
