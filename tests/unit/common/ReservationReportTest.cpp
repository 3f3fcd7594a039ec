#include "common/ReservationReport.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

TEST(ReservationSummaryTest, FreeMemoryBeforeAndAfterAndTheSecondsWithOneDecimalInTheLocalesSeparators) {
    const ReservationRecord record{46363.8125, 2048, 1234.56, 24105.5, 4.25};
    EXPECT_EQ(ReservationSummary(record, {",", "."}), "空き 1,234.56MB → 24,105.50MB（4.3 秒）");
    EXPECT_EQ(ReservationSummary(record, {".", ","}), "空き 1.234,56MB → 24.105,50MB（4,3 秒）");
}

} // namespace
} // namespace qn
