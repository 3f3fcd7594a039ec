#pragma once
#include "common/RegistryKey.h"
#include "common/win32/UniqueHandle.h"

#include <windows.h>

namespace qn::win32 {

// A registry key reached through the W functions, opened with KEY_ALL_ACCESS as the programs always have, or with
// only the rights a step on its values needs (OpenSubkeyFor, CreateSubkeyFor).
class Win32RegistryKey final : public RegistryKey {
public:
    // HKEY_CURRENT_USER, which is never closed.
    static Win32RegistryKey CurrentUser();
    explicit Win32RegistryKey(UniqueRegKey key) : m_owned(std::move(key)) {}

    std::unique_ptr<RegistryKey> CreateSubkey(std::string_view path) override;
    std::unique_ptr<RegistryKey> OpenSubkey(std::string_view path) override;
    std::unique_ptr<RegistryKey> OpenSubkeyOrLink(std::string_view path) override;
    KeyOpening OpenSubkeyFor(std::string_view path, ValueAccess access) override;
    std::unique_ptr<RegistryKey> CreateSubkeyFor(std::string_view path, ValueAccess access) override;
    ValueQuery QueryValue(std::string_view name, std::size_t capacity) override;
    bool SetValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override;
    bool DeleteValue(std::string_view name) override;
    std::optional<std::vector<std::string>> SubkeyNames() override;
    bool DeleteSubkey(std::string_view path) override;

private:
    Win32RegistryKey() = default;
    HKEY Handle() const { return m_owned ? m_owned.get() : m_predefined; }

    HKEY m_predefined = nullptr;
    UniqueRegKey m_owned;
};

} // namespace qn::win32
