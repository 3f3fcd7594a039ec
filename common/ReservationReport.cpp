#include "common/ReservationReport.h"

#include "common/Texts.h"

namespace qn {

std::string ReservationSummary(const ReservationRecord& record, const NumberSeparators& separators) {
    // One number to a pattern: everything after a pattern's first number is copied as it stands.
    const SharedTextSet& texts = SharedTexts();
    return FormatNumberPattern(texts.summaryBefore, record.freeBeforeMB, separators) +
           FormatNumberPattern(texts.summaryAfter, record.freeAfterMB, separators) +
           FormatNumberPattern(texts.summarySeconds, record.seconds, separators);
}

} // namespace qn
