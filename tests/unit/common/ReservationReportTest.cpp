#include "common/ReservationReport.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

struct SummaryCase {
    ReservationRecord record;
    NumberSeparators separators;
    const char* expected;
};

class ReservationSummaryTest : public testing::TestWithParam<SummaryCase> {};

TEST_P(ReservationSummaryTest, FreeMemoryBeforeAndAfterAndTheSecondsWithOneDecimal) {
    EXPECT_EQ(ReservationSummary(GetParam().record, GetParam().separators), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReservationSummaryTest,
    testing::Values(
        SummaryCase{{46363.8125, 2048, 1234.56, 5678.9, 4.2}, {",", "."}, "空き 1,234.56MB → 5,678.90MB（4.2 秒）"},
        // The locale's separators throughout, the seconds' decimal one included.
        SummaryCase{{46363.8125, 2048, 1234.56, 5678.9, 4.2}, {".", ","}, "空き 1.234,56MB → 5.678,90MB（4,2 秒）"},
        // Rounded half away from zero; less than a second, and a long run, without grouping.
        SummaryCase{{1.0, 1, 0.005, 24105.5, 0.04}, {",", "."}, "空き 0.01MB → 24,105.50MB（0.0 秒）"},
        SummaryCase{{1.0, 1, 0.0, 1.0, 12345.75}, {",", "."}, "空き 0.00MB → 1.00MB（12345.8 秒）"}));

} // namespace
} // namespace qn
