#pragma once
// The settings key as the end-to-end tests see it: put into a known state, written and read with the W
// functions directly, never through the product's own code.
#include "common/SettingsKey.h"
#include "common/win32/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
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

// Removes the settings parent key with everything below it.
inline void ForgetSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsParent);
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsParent);
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

inline void PutDword(const std::wstring& name, std::uint32_t value) {
    PutRaw(name, REG_DWORD,
           {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
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

// A REG_DWORD of four bytes, or nothing.
inline std::optional<std::uint32_t> GetDword(const std::wstring& name) {
    const auto value = GetRaw(name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) {
        return std::nullopt;
    }
    const auto& d = value->data;
    return d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

} // namespace qn::e2e

// Typed access to the settings values, for the monitor's suites.
namespace qn::e2e::registry {

// Deletes the settings key with everything below it, so that a test starts from a known state.
void ResetSettings();
bool SettingsKeyExists();

void SetDword(const wchar_t* name, DWORD value);
void SetDouble(const wchar_t* name, double value);
void SetString(const wchar_t* name, const std::wstring& value);
void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size);

std::optional<DWORD> GetDword(const wchar_t* name);
std::optional<double> GetDouble(const wchar_t* name);
std::optional<std::wstring> GetString(const wchar_t* name);

// Now, as the programs count it: days since 30 December 1899 in local time.
double NowAsDateTime();

// The record of the last reservation, decoded here on its own: one REG_BINARY of the end (binary64), the size in
// MB (int32), the free MB before and after and the seconds (binary64).
std::optional<ReservationRecord> GetReservationRecord();
// Whether a text ends with the record's figures as the programs show them, "空き 1,234.56MB → 5,678.90MB（4.2 秒）",
// each figure the stored one rounded.
bool ShowsRecord(const std::wstring& text, const ReservationRecord& record);

} // namespace qn::e2e::registry
