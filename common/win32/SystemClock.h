#pragma once
#include "common/DateTime.h"

namespace qn::win32 {

// Now, in local time to the millisecond.
DateTime Now();

} // namespace qn::win32
