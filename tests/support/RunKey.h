#pragma once
// The product's value under the current user's Run key, which starts the monitor at log-on, as the end-to-end
// tests see it: written and read with the W functions directly.
#include "tests/support/TestRegistry.h"

#include <sddl.h>

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
    PutString(kRunValue, command, kRunKey);
}

inline void ForgetRunCommand() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
}

// While it lives, the Run key lets everyone read its values but not change them, as security software or a
// managed machine may keep it; its own access rights come back when it ends.
class GuardedRunKey {
public:
    GuardedRunKey() {
        RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, READ_CONTROL | WRITE_DAC, m_key.put());
        DWORD size = 0;
        RegGetKeySecurity(m_key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
        m_saved.resize(size);
        RegGetKeySecurity(m_key.get(), DACL_SECURITY_INFORMATION, m_saved.data(), &size);
        // Reading (KR) and, so that the guard can be lifted again, changing the access rights (WD).
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KRWD;;;WD)", SDDL_REVISION_1, &readOnly, nullptr);
        m_guarded = RegSetKeySecurity(m_key.get(), DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        LocalFree(readOnly);
    }
    GuardedRunKey(const GuardedRunKey&) = delete;
    GuardedRunKey& operator=(const GuardedRunKey&) = delete;
    ~GuardedRunKey() { RegSetKeySecurity(m_key.get(), DACL_SECURITY_INFORMATION, m_saved.data()); }
    bool Guarded() const { return m_guarded; }

private:
    win32::UniqueRegKey m_key;
    std::vector<std::uint8_t> m_saved;
    bool m_guarded = false;
};

} // namespace qn::e2e
