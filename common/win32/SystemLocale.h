#pragma once
#include "common/NumberFormat.h"

namespace qn::win32 {

// The number separators of the system's default locale or the user's, a comma and a point where the locale
// gives none.
NumberSeparators SystemNumberSeparators();
NumberSeparators UserNumberSeparators();

} // namespace qn::win32
