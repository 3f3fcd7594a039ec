#include "tests/support/Host.h"

namespace qn::e2e {

bool ExportsWineVersion(HMODULE module) {
    return module && GetProcAddress(module, "wine_get_version") != nullptr;
}

bool RunsUnderWine() {
    static const bool underWine = ExportsWineVersion(GetModuleHandleW(L"ntdll.dll"));
    return underWine;
}

} // namespace qn::e2e
