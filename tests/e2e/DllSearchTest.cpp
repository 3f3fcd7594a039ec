// The DLL search restriction every program applies first: a DLL beside the program is found before it and no
// longer after it. Each test runs in a process of its own, so the restriction stays within this one.
#include "common/win32/DllSearch.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace qn::win32 {
namespace {

TEST(DllSearchTest, ADllBesideTheProgramIsNoLongerLoadedOnceTheSearchIsRestricted) {
    // QnProbe.dll is built into the folder of this program, as a planted DLL would lie beside a product program.
    const HMODULE before = LoadLibraryW(L"QnProbe.dll");
    ASSERT_NE(before, nullptr) << "the probe is not beside the program";
    FreeLibrary(before);
    ASSERT_TRUE(RestrictDllSearchToSystemFolder());
    const HMODULE after = LoadLibraryW(L"QnProbe.dll");
    EXPECT_EQ(after, nullptr);
    if (after) {
        FreeLibrary(after);
    }
    EXPECT_NE(LoadLibraryW(L"version.dll"), nullptr) << "system DLLs are still found";
}

} // namespace
} // namespace qn::win32
