#pragma once
#include <cstdint>

namespace qn {

// A point in local time as days since 30 December 1899, 00:00; the fraction is the time of day (0.5 is noon).
// 0.0 stands for "none".
using DateTime = double;

inline constexpr double kMillisecondsPerDay = 86'400'000.0;

// A local calendar date and time of day, as the system clock reports it.
struct LocalTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

DateTime EncodeDateTime(const LocalTime& time);
// The calendar date and time of day of a date-time, its milliseconds rounded; the inverse of EncodeDateTime.
// For values within the years 1 to 9999.
LocalTime DecodeDateTime(DateTime value);

// The time-of-day fields of a date-time value: its milliseconds within the day, rounded to the nearest whole
// millisecond and taken modulo one day. A value too large for its milliseconds to be counted, or not a number,
// gives midnight.
struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

TimeOfDay TimeOfDayOf(DateTime value);

} // namespace qn
