#pragma once
// Functions that not every system the programs run on has, or that no import library offers, looked up at run
// time.
#include <windows.h>

namespace qn::win32 {

// `name` in `module` as a `Function` pointer; null where the module is not loaded or lacks the function.
template <typename Function>
Function SystemFunction(HMODULE module, const char* name) {
    const FARPROC found = module ? ::GetProcAddress(module, name) : nullptr;
    // Through void(*)(), the one function pointer type that converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace qn::win32
