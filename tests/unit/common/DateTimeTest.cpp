#include "common/DateTime.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

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

struct DecodeCase {
    double value;
    LocalTime expected;
};

class DecodeDateTimeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeDateTimeTest, GivesTheCalendarDateAndTimeBack) {
    const DecodeCase& c = GetParam();
    const LocalTime t = DecodeDateTime(c.value);
    const LocalTime& e = c.expected;
    EXPECT_EQ(std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds),
              std::tie(e.year, e.month, e.day, e.hour, e.minute, e.second, e.milliseconds))
        << c.value;
    EXPECT_NEAR(EncodeDateTime(t), c.value, 0.5 / kMillisecondsPerDay);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeDateTimeTest,
                         testing::Values(DecodeCase{0.0, {1899, 12, 30, 0, 0, 0, 0}},
                                         DecodeCase{46363.8125, {2026, 12, 7, 19, 30, 0, 0}},
                                         DecodeCase{45351.25, {2024, 2, 29, 6, 0, 0, 0}},
                                         DecodeCase{36892.0, {2001, 1, 1, 0, 0, 0, 0}},
                                         // A time that rounds up to midnight belongs to the next day.
                                         DecodeCase{46363.0 - 0.0004 / 86400.0, {2026, 12, 7, 0, 0, 0, 0}},
                                         DecodeCase{2958465.5, {9999, 12, 31, 12, 0, 0, 0}}));

} // namespace
} // namespace qn
