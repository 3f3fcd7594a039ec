#pragma once
#include "common/win32/UniqueHandle.h"

#include <functional>

namespace qn::win32 {

// The session's one monitor: a window titled with the instance marker (any program's) or the monitor's name held
// by another process means another monitor runs. Claims the name and returns it, to be held for the process's
// life; empty when another monitor runs. Where `anotherMayBeEnding` says so, found only once another was seen,
// it waits up to 10 seconds for that one to go before it gives up: the monitor that handed over may still be
// ending while the one the reservation tool brought back starts.
UniqueHandle ClaimSingleInstance(const std::function<bool()>& anotherMayBeEnding);

} // namespace qn::win32
