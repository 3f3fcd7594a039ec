#pragma once
#include "common/NumberFormat.h"
#include "common/SettingsKey.h"

#include <string>

namespace qn {

// What a reservation run did, in the monitor's number pattern and the locale's separators: the free memory
// before and after, and the seconds it took with one decimal ("空き 1,234.56MB → 5,678.90MB（4.2 秒）").
std::string ReservationSummary(const ReservationRecord& record, const NumberSeparators& separators);

} // namespace qn
