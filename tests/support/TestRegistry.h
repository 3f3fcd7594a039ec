#pragma once
// The settings key as a test sets it up and reads it back, through the registry itself.
#include <windows.h>

#include <optional>
#include <string>

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

} // namespace qn::e2e::registry
