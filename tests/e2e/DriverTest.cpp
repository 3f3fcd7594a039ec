// The driver itself: whether it knows where it runs.
#include "tests/support/Host.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(ExportsWineVersion(GetModuleHandleW(L"ntdll.dll")), wine);
    EXPECT_FALSE(ExportsWineVersion(GetModuleHandleW(L"kernel32.dll")));
    EXPECT_FALSE(ExportsWineVersion(nullptr));
    EXPECT_EQ(RunsUnderWine(), wine);
}

} // namespace
} // namespace qn::e2e
