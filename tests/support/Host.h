#pragma once
// Where the end-to-end tests run: under Wine, or on Windows itself. The suites run unchanged on both; only a
// case that needs what Wine alone offers (its own display setting, a locale taken from LANG) asks.
#include <gtest/gtest.h>
#include <windows.h>

namespace qn::e2e {

// Whether `module` is Wine's: Wine's ntdll exports wine_get_version, Windows' never does.
inline bool ExportsWineVersion(HMODULE module) {
    return module && GetProcAddress(module, "wine_get_version") != nullptr;
}
// Whether this program runs under Wine rather than on Windows.
inline bool RunsUnderWine() {
    static const bool underWine = ExportsWineVersion(GetModuleHandleW(L"ntdll.dll"));
    return underWine;
}

} // namespace qn::e2e

// Ends the calling test as skipped unless it runs under Wine, with the reason in the test's output.
#define QN_SKIP_UNLESS_WINE(reason)                                                                                    \
    if (::qn::e2e::RunsUnderWine()) {                                                                                  \
    } else                                                                                                             \
        GTEST_SKIP() << "needs Wine: " << (reason)
