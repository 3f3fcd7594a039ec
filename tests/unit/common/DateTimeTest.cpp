#include "common/DateTime.h"

#include <gtest/gtest.h>

#include <limits>

namespace qn {
namespace {

TEST(EncodeDateTimeTest, CountsDaysSinceTheEpochOfTheDayCount) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(LocalTime{1899, 12, 30, 0, 0, 0, 0}), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(LocalTime{1900, 1, 1, 0, 0, 0, 0}), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(LocalTime{2000, 1, 1, 12, 0, 0, 0}), 36526.5);
    EXPECT_DOUBLE_EQ(EncodeDateTime(LocalTime{2024, 2, 29, 6, 0, 0, 0}), 45351.25);
    EXPECT_DOUBLE_EQ(EncodeDateTime(LocalTime{2026, 12, 7, 0, 0, 0, 500}), 46363.0 + 500 / kMillisecondsPerDay);
}

struct TimeOfDayCase {
    double value;
    int hour, minute, second, milliseconds;
};

class TimeOfDayOfTest : public testing::TestWithParam<TimeOfDayCase> {};

TEST_P(TimeOfDayOfTest, SplitsTheFraction) {
    const auto& c = GetParam();
    const TimeOfDay t = TimeOfDayOf(c.value);
    EXPECT_EQ(t.hour, c.hour);
    EXPECT_EQ(t.minute, c.minute);
    EXPECT_EQ(t.second, c.second);
    EXPECT_EQ(t.milliseconds, c.milliseconds);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeOfDayOfTest,
                         testing::Values(TimeOfDayCase{0.5, 12, 0, 0, 0}, TimeOfDayCase{36526.75, 18, 0, 0, 0},
                                         // 59 min 59.6 s: milliseconds are rounded, so seconds stay at 59.
                                         TimeOfDayCase{(59 * 60 + 59.6) / 86400.0, 0, 59, 59, 600},
                                         TimeOfDayCase{(59 * 60 + 59.9996) / 86400.0, 1, 0, 0, 0},
                                         TimeOfDayCase{(85 * 60) / 86400.0, 1, 25, 0, 0},
                                         TimeOfDayCase{1.0 + 1 / 86400.0, 0, 0, 1, 0},
                                         // Beyond any count of milliseconds, or no number at all.
                                         TimeOfDayCase{1e305, 0, 0, 0, 0}, TimeOfDayCase{-1.7e308, 0, 0, 0, 0},
                                         TimeOfDayCase{std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0}));

} // namespace
} // namespace qn
