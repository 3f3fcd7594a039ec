#pragma once
// The settings key as the end-to-end tests see it: put into a known state, written and read with the W
// functions directly, never through the product's own code.
#include "common/SettingsKey.h"
#include "common/win32/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace qn::e2e {

inline constexpr const wchar_t* kSettingsParent = L"Software\\Harvelt";
inline constexpr const wchar_t* kSettingsKey = L"Software\\Harvelt\\Ambrola";

inline bool KeyExists(const std::wstring& path) {
    win32::UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// Removes a key below HKEY_CURRENT_USER with everything below it.
inline void DeleteTree(const std::wstring& path) {
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

// Removes the settings parent key with everything below it, so that a test starts from a known state.
inline void ForgetSettings() {
    DeleteTree(kSettingsParent);
}

inline void MakeKey(const std::wstring& path) {
    win32::UniqueRegKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
}

// Stores exactly these bytes with this type, whatever their size.
inline void PutRaw(const std::wstring& name, DWORD type, const std::vector<std::uint8_t>& data,
                   const std::wstring& path = kSettingsKey) {
    win32::UniqueRegKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    RegSetValueExW(key.get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
}

template <typename T>
std::vector<std::uint8_t> BytesOf(const T* data, std::size_t count) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + count * sizeof(T));
}

inline void PutDword(const std::wstring& name, std::uint32_t value) {
    PutRaw(name, REG_DWORD, BytesOf(&value, 1));
}

// A date-time as the programs store it: REG_BINARY of the binary64's eight bytes.
inline void PutDouble(const std::wstring& name, double value) {
    PutRaw(name, REG_BINARY, BytesOf(&value, 1));
}

// REG_SZ, with its terminating NUL.
inline void PutString(const std::wstring& name, const std::wstring& value, const std::wstring& path = kSettingsKey) {
    PutRaw(name, REG_SZ, BytesOf(value.c_str(), value.size() + 1), path);
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

inline std::optional<RawValue> GetRaw(const std::wstring& name, const std::wstring& path = kSettingsKey) {
    win32::UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RawValue value{type, std::vector<std::uint8_t>(size)};
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

// A value of this type and exactly this size, or nothing.
template <typename T>
std::optional<T> GetFixed(const std::wstring& name, DWORD type) {
    const auto value = GetRaw(name);
    if (!value || value->type != type || value->data.size() != sizeof(T)) {
        return std::nullopt;
    }
    T result{};
    std::memcpy(&result, value->data.data(), sizeof result);
    return result;
}

inline std::optional<std::uint32_t> GetDword(const std::wstring& name) {
    return GetFixed<std::uint32_t>(name, REG_DWORD);
}

inline std::optional<double> GetDouble(const std::wstring& name) {
    return GetFixed<double>(name, REG_BINARY);
}

// REG_SZ or REG_EXPAND_SZ (not expanded), up to its first NUL.
inline std::optional<std::wstring> GetString(const std::wstring& name, const std::wstring& path = kSettingsKey) {
    const auto value = GetRaw(name, path);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(value->data.data()), value->data.size() / 2).c_str();
}

// Now, as the programs count it: days since 30 December 1899 in local time.
double NowAsDateTime();

// The record of the last reservation, decoded here on its own: one REG_BINARY of the end (binary64), the size in
// MB (int32), the free MB before and after and the seconds (binary64).
std::optional<ReservationRecord> GetReservationRecord();
// Whether a text ends with the record's figures as the programs show them, "空き 1,234.56MB → 5,678.90MB（4.2 秒）",
// each figure the stored one rounded.
bool ShowsRecord(const std::wstring& text, const ReservationRecord& record);

} // namespace qn::e2e
