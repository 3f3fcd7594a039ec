#include "common/win32/MessageBoxDialogs.h"

#include "common/win32/Utf.h"

#include <windows.h>

namespace qn::win32 {

DialogAnswer MessageBoxDialogs::ShowMessage(const std::string& text, const std::string& title, unsigned style) {
    switch (MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(), style)) {
    case IDOK:
        return DialogAnswer::Ok;
    case IDCANCEL:
        return DialogAnswer::Cancel;
    default:
        return DialogAnswer::Other;
    }
}

} // namespace qn::win32
