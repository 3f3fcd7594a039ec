#include "common/win32/Registry.h"

#include "common/win32/SystemFunction.h"
#include "common/win32/Utf.h"

namespace qn::win32 {

// The value types the portable code names, as the system defines them.
static_assert(regtype::kNone == REG_NONE);
static_assert(regtype::kString == REG_SZ);
static_assert(regtype::kExpandString == REG_EXPAND_SZ);
static_assert(regtype::kBinary == REG_BINARY);
static_assert(regtype::kDword == REG_DWORD);

Win32RegistryKey Win32RegistryKey::CurrentUser() {
    Win32RegistryKey key;
    key.m_predefined = HKEY_CURRENT_USER;
    return key;
}

namespace {

std::unique_ptr<RegistryKey> CreateKey(HKEY parent, std::string_view path, REGSAM access) {
    UniqueRegKey key;
    if (RegCreateKeyExW(parent, Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

// Reading needs only KEY_QUERY_VALUE, changing only KEY_SET_VALUE: a key whose access rights grant one of them
// (a Run key guarded against changes) still opens for it, where KEY_ALL_ACCESS would be refused.
REGSAM RightsFor(ValueAccess access) {
    return access == ValueAccess::Query ? KEY_QUERY_VALUE : KEY_SET_VALUE;
}

UniqueRegKey OpenKey(HKEY parent, std::string_view path, DWORD options, REGSAM access) {
    UniqueRegKey key;
    if (RegOpenKeyExW(parent, Widen(path).c_str(), options, access, key.put()) != ERROR_SUCCESS) {
        return UniqueRegKey();
    }
    return key;
}

} // namespace

std::unique_ptr<RegistryKey> Win32RegistryKey::CreateSubkey(std::string_view path) {
    return CreateKey(Handle(), path, KEY_ALL_ACCESS);
}

std::unique_ptr<RegistryKey> Win32RegistryKey::CreateSubkeyFor(std::string_view path, ValueAccess access) {
    return CreateKey(Handle(), path, RightsFor(access));
}

std::unique_ptr<RegistryKey> Win32RegistryKey::OpenSubkey(std::string_view path) {
    UniqueRegKey key = OpenKey(Handle(), path, 0, KEY_ALL_ACCESS);
    return key ? std::make_unique<Win32RegistryKey>(std::move(key)) : nullptr;
}

std::unique_ptr<RegistryKey> Win32RegistryKey::OpenSubkeyOrLink(std::string_view path) {
    UniqueRegKey key = OpenKey(Handle(), path, REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS);
    return key ? std::make_unique<Win32RegistryKey>(std::move(key)) : nullptr;
}

KeyOpening Win32RegistryKey::OpenSubkeyFor(std::string_view path, ValueAccess access) {
    KeyOpening opening;
    UniqueRegKey key;
    const LSTATUS status = RegOpenKeyExW(Handle(), Widen(path).c_str(), 0, RightsFor(access), key.put());
    if (status == ERROR_SUCCESS) {
        opening.status = KeyOpening::Status::Opened;
        opening.key = std::make_unique<Win32RegistryKey>(std::move(key));
    } else if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) {
        opening.status = KeyOpening::Status::Missing;
    }
    return opening;
}

ValueQuery Win32RegistryKey::QueryValue(std::string_view name, std::size_t capacity) {
    ValueQuery query;
    if (capacity > MAXDWORD) {
        return query;
    }
    // Zeroed, so that nothing but stored bytes can ever be handed on.
    std::vector<std::uint8_t> buffer(capacity, 0);
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(capacity);
    const LSTATUS status =
        RegQueryValueExW(Handle(), Widen(name).c_str(), nullptr, &type, capacity == 0 ? nullptr : buffer.data(), &size);
    query.type = type;
    query.size = size;
    switch (status) {
    case ERROR_SUCCESS:
        query.status = ValueQuery::Status::Success;
        if (capacity != 0) {
            buffer.resize(std::min<std::size_t>(size, capacity));
            query.data = std::move(buffer);
        }
        break;
    case ERROR_MORE_DATA:
        query.status = ValueQuery::Status::MoreData;
        break;
    case ERROR_FILE_NOT_FOUND:
        query.status = ValueQuery::Status::Missing;
        break;
    default:
        query.status = ValueQuery::Status::Failed;
        break;
    }
    return query;
}

bool Win32RegistryKey::SetValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) {
    if (data.size() > MAXDWORD) {
        return false;
    }
    return RegSetValueExW(Handle(), Widen(name).c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())) ==
           ERROR_SUCCESS;
}

bool Win32RegistryKey::DeleteValue(std::string_view name) {
    return RegDeleteValueW(Handle(), Widen(name).c_str()) == ERROR_SUCCESS;
}

std::optional<std::vector<std::string>> Win32RegistryKey::SubkeyNames() {
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(Handle(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    std::wstring name(static_cast<std::size_t>(longest) + 1, L'\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LSTATUS status = RegEnumKeyExW(Handle(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        names.push_back(Narrow(std::wstring_view(name.data(), length)));
    }
    return names;
}

bool Win32RegistryKey::DeleteSubkey(std::string_view path) {
    // RegDeleteKeyW opens the key it deletes following a symbolic link, and so would delete the key a link points
    // to. The key is opened as it is instead and deleted through its handle, with the kernel's own call; a system
    // without that call (there is none among those the programs run on) falls back to RegDeleteKeyW.
    using NtDeleteKeyFunction = LONG(WINAPI*)(HANDLE);
    const auto ntDeleteKey = SystemFunction<NtDeleteKeyFunction>(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey");
    if (!ntDeleteKey) {
        return RegDeleteKeyW(Handle(), Widen(path).c_str()) == ERROR_SUCCESS;
    }
    const UniqueRegKey key = OpenKey(Handle(), path, REG_OPTION_OPEN_LINK, DELETE | KEY_ENUMERATE_SUB_KEYS);
    return key && ntDeleteKey(key.get()) == 0;
}

} // namespace qn::win32
