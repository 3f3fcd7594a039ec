#include "common/win32/MessageBoxDialogs.h"

#include "common/win32/Utf.h"

#include <windows.h>

namespace qn::win32 {

// The styles and answers the portable code names, as the system defines them.
static_assert(mb::kOk == MB_OK);
static_assert(mb::kOkCancel == MB_OKCANCEL);
static_assert(mb::kIconStop == MB_ICONSTOP && mb::kIconStop == MB_ICONERROR);
static_assert(mb::kIconInformation == MB_ICONINFORMATION);
static_assert(mb::kSystemModal == MB_SYSTEMMODAL);
static_assert(mb::kTaskModal == MB_TASKMODAL);
static_assert(static_cast<int>(DialogAnswer::Ok) == IDOK);
static_assert(static_cast<int>(DialogAnswer::Cancel) == IDCANCEL);

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
