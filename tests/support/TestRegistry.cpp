#include "tests/support/TestRegistry.h"

#include "common/DateTime.h"
#include "common/win32/UniqueHandle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>

namespace qn::e2e::registry {
namespace {

constexpr const wchar_t* kSettingsPath = L"Software\\Harvelt\\Ambrola";

win32::UniqueRegKey OpenSettings() {
    win32::UniqueRegKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    return key;
}

// A value's type and bytes, if it exists.
std::optional<std::pair<DWORD, std::string>> Query(const wchar_t* name) {
    const auto value = GetRaw(name);
    if (!value) {
        return std::nullopt;
    }
    return std::make_pair(value->type, std::string(value->data.begin(), value->data.end()));
}

void DeleteTree(HKEY parent, const std::wstring& path) {
    win32::UniqueRegKey key;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS) {
        wchar_t name[256];
        for (;;) {
            DWORD length = 256;
            if (RegEnumKeyExW(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
                break;
            }
            DeleteTree(key.get(), name);
        }
    }
    RegDeleteKeyW(parent, path.c_str());
}

} // namespace

void ResetSettings() {
    DeleteTree(HKEY_CURRENT_USER, kSettingsPath);
}

bool SettingsKeyExists() {
    win32::UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    RegSetValueExW(OpenSettings().get(), name, 0, type, static_cast<const BYTE*>(data), size);
}

void SetDword(const wchar_t* name, DWORD value) {
    SetRaw(name, REG_DWORD, &value, sizeof value);
}

void SetDouble(const wchar_t* name, double value) {
    SetRaw(name, REG_BINARY, &value, sizeof value);
}

void SetString(const wchar_t* name, const std::wstring& value) {
    SetRaw(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::optional<DWORD> GetDword(const wchar_t* name) {
    const auto value = Query(name);
    if (!value || value->first != REG_DWORD || value->second.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD result = 0;
    std::memcpy(&result, value->second.data(), sizeof result);
    return result;
}

std::optional<double> GetDouble(const wchar_t* name) {
    const auto value = Query(name);
    if (!value || value->first != REG_BINARY || value->second.size() != sizeof(double)) {
        return std::nullopt;
    }
    double result = 0;
    std::memcpy(&result, value->second.data(), sizeof result);
    return result;
}

std::optional<std::wstring> GetString(const wchar_t* name) {
    const auto value = Query(name);
    if (!value || (value->first != REG_SZ && value->first != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(value->second.data()), value->second.size() / sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

double NowAsDateTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return EncodeDateTime(LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

std::optional<ReservationRecord> GetReservationRecord() {
    const auto value = Query(L"Last Reservation");
    if (!value || value->first != REG_BINARY || value->second.size() != 36) {
        return std::nullopt;
    }
    const char* bytes = value->second.data();
    ReservationRecord record;
    std::memcpy(&record.ended, bytes, 8);
    std::memcpy(&record.sizeMB, bytes + 8, 4);
    std::memcpy(&record.freeBeforeMB, bytes + 12, 8);
    std::memcpy(&record.freeAfterMB, bytes + 20, 8);
    std::memcpy(&record.seconds, bytes + 28, 8);
    return record;
}

bool ShowsRecord(const std::wstring& text, const ReservationRecord& record) {
    std::wstring figures = text.substr(std::min(text.rfind(L"空き "), text.size()));
    std::erase(figures, L',');
    double before = 0.0, after = 0.0, seconds = 0.0;
    if (std::swscanf(figures.c_str(), L"空き %lfMB → %lfMB（%lf 秒）", &before, &after, &seconds) != 3) {
        return false;
    }
    // Each the stored figure, to half a unit of its last shown place and a little for binary fractions.
    return std::fabs(before - record.freeBeforeMB) <= 0.0051 && std::fabs(after - record.freeAfterMB) <= 0.0051 &&
           std::fabs(seconds - record.seconds) <= 0.051;
}

} // namespace qn::e2e::registry
