// The driver itself: whether it knows where it runs, and the folders it makes for the tests.
#include "tests/support/Driver.h"
#include "tests/support/Host.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qn::e2e {
namespace {

// The runner says where it starts the test programs: cmake/wine-emulator.sh "wine", scripts/windows-e2e.ps1
// "windows". A detection that always answered "Windows" would skip the Wine-only cases under Wine unnoticed.
TEST(HostTest, OnlyWinesNtdllExportsTheWineVersion) {
    wchar_t host[16] = {};
    if (!GetEnvironmentVariableW(L"QN_E2E_HOST", host, 16)) {
        GTEST_SKIP() << "QN_E2E_HOST is not set: started by hand, not by a runner that knows where it runs";
    }
    const bool wine = std::wstring(host) == L"wine";
    const struct {
        const wchar_t* module;
        bool exports;
    } cases[] = {{L"ntdll.dll", wine}, {L"kernel32.dll", false}, {L"user32.dll", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.module));
        EXPECT_EQ(ExportsWineVersion(GetModuleHandleW(c.module)), c.exports);
    }
    EXPECT_EQ(ExportsWineVersion(nullptr), false);
    EXPECT_EQ(RunsUnderWine(), wine);
}

// Sets a variable of this process's environment; the earlier value comes back at the end of the scope.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : m_name(name) {
        wchar_t previous[32768] = {};
        if (GetEnvironmentVariableW(name, previous, 32768)) {
            m_previous = previous;
        }
        SetEnvironmentVariableW(name, value.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    ~ScopedVariable() { SetEnvironmentVariableW(m_name, m_previous ? m_previous->c_str() : nullptr); }

private:
    const wchar_t* m_name;
    std::optional<std::wstring> m_previous;
};

// Programs see their own paths in long form, so a test folder named in 8.3 form (as Windows names the temporary
// folder of some accounts: C:\Users\RUNNER~1\...) would differ from them in text.
TEST(TempDirTest, IsNamedInLongFormWhenTheTemporaryFolderIsNamedInShortForm) {
    const TempDir outer{L"Folder With A Long Name"};
    std::wstring shortName(32768, L'\0');
    shortName.resize(GetShortPathNameW(outer.Path().c_str(), shortName.data(), 32768));
    if (shortName.empty() || shortName == outer.Path().wstring()) {
        GTEST_SKIP() << "this volume gives no short names";
    }
    const ScopedVariable tmp(L"TMP", shortName);
    const ScopedVariable temp(L"TEMP", shortName);
    const TempDir inner{L"qn"};
    EXPECT_EQ(inner.Path().parent_path().parent_path(), outer.Path()) << ToUtf8(shortName);
}

} // namespace
} // namespace qn::e2e
