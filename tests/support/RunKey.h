#pragma once
// The product's value under the current user's Run key, which starts the monitor at log-on, as the end-to-end
// tests see it: written and read with the W functions directly.
#include "tests/support/TestRegistry.h"

#include <optional>
#include <string>

namespace qn::e2e {

inline constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunValue = L"QeltoNimbi";

// The command the value holds (REG_SZ), or nothing.
inline std::optional<std::wstring> RunCommand() {
    const auto value = GetRaw(kRunValue, kRunKey);
    if (!value || value->type != REG_SZ) {
        return std::nullopt;
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(value->data.data()), value->data.size() / 2).c_str();
}

inline void PutRunCommand(const std::wstring& command) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(command.c_str());
    PutRaw(kRunValue, REG_SZ, std::vector<std::uint8_t>(bytes, bytes + (command.size() + 1) * sizeof(wchar_t)),
           kRunKey);
}

inline void ForgetRunCommand() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
}

} // namespace qn::e2e
