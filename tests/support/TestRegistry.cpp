#include "tests/support/TestRegistry.h"

#include "common/DateTime.h"
#include "common/win32/UniqueHandle.h"

#include <cmath>
#include <cstring>
#include <regex>

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

std::optional<StoredReservation> GetReservationRecord() {
    const auto value = Query(L"Last Reservation");
    if (!value || value->first != REG_BINARY || value->second.size() != 36) {
        return std::nullopt;
    }
    const char* bytes = value->second.data();
    StoredReservation record;
    std::memcpy(&record.ended, bytes, 8);
    std::memcpy(&record.sizeMB, bytes + 8, 4);
    std::memcpy(&record.freeBeforeMB, bytes + 12, 8);
    std::memcpy(&record.freeAfterMB, bytes + 20, 8);
    std::memcpy(&record.seconds, bytes + 28, 8);
    return record;
}

bool ShowsRecord(const std::wstring& text, const StoredReservation& record) {
    // The text split at its fixed parts; only the figures go through a pattern, one of plain ASCII: the C++
    // library narrows a pattern's characters by the locale's code page, where "）" may become ")".
    const std::size_t start = text.rfind(L"空き ");
    if (start == std::wstring::npos || !text.ends_with(L" 秒）")) {
        return false;
    }
    const std::wstring figures = text.substr(start + 3, text.size() - start - 3 - 3);
    const std::size_t arrow = figures.find(L"MB → ");
    const std::size_t open = figures.find(L"MB（");
    if (arrow == std::wstring::npos || open == std::wstring::npos || open < arrow) {
        return false;
    }
    static const std::wregex kMegabytes(L"\\d{1,3}(,\\d{3})*\\.\\d\\d");
    static const std::wregex kSeconds(L"\\d+\\.\\d");
    const std::wstring before = figures.substr(0, arrow);
    const std::wstring after = figures.substr(arrow + 5, open - arrow - 5);
    const std::wstring seconds = figures.substr(open + 3);
    if (!std::regex_match(before, kMegabytes) || !std::regex_match(after, kMegabytes) ||
        !std::regex_match(seconds, kSeconds)) {
        return false;
    }
    const auto number = [](std::wstring digits) {
        std::erase(digits, L',');
        return std::stod(digits);
    };
    // Half a unit of the last shown place, and a little for the binary fractions.
    return std::fabs(number(before) - record.freeBeforeMB) <= 0.0051 &&
           std::fabs(number(after) - record.freeAfterMB) <= 0.0051 &&
           std::fabs(number(seconds) - record.seconds) <= 0.051;
}

} // namespace qn::e2e::registry
