#include "common/ReservationReport.h"

namespace qn {

std::string ReservationSummary(const ReservationRecord& record, const NumberSeparators& separators) {
    // One number to a pattern: everything after a pattern's first number is copied as it stands.
    return FormatNumberPattern("空き #,##0.00MB → ", record.freeBeforeMB, separators) +
           FormatNumberPattern("#,##0.00MB（", record.freeAfterMB, separators) +
           FormatNumberPattern("0.0 秒）", record.seconds, separators);
}

} // namespace qn
