#include "common/win32/SystemClock.h"

#include <windows.h>

namespace qn::win32 {

DateTime Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return EncodeDateTime(LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

} // namespace qn::win32
