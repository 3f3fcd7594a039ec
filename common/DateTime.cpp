#include "common/DateTime.h"

#include <cmath>

namespace qn {
namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The civil date of a day counted from 1970-01-01 (proleptic Gregorian calendar).
LocalTime CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    LocalTime date;
    date.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    date.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

} // namespace

DateTime EncodeDateTime(const LocalTime& time) {
    const std::int64_t days = DaysFromCivil(time.year, time.month, time.day) - DaysFromCivil(1899, 12, 30);
    const double milliseconds = ((time.hour * 60.0 + time.minute) * 60.0 + time.second) * 1000.0 + time.milliseconds;
    return static_cast<double>(days) + milliseconds / kMillisecondsPerDay;
}

LocalTime DecodeDateTime(DateTime value) {
    // The whole value in milliseconds first, so that a time rounded up to midnight counts on the next day.
    const auto total = static_cast<std::int64_t>(std::round(value * kMillisecondsPerDay));
    const auto perDay = static_cast<std::int64_t>(kMillisecondsPerDay);
    const std::int64_t days = total >= 0 ? total / perDay : -((-total + perDay - 1) / perDay);
    const std::int64_t ms = total - days * perDay;
    LocalTime time = CivilFromDays(days + DaysFromCivil(1899, 12, 30));
    time.hour = static_cast<int>(ms / 3'600'000);
    time.minute = static_cast<int>(ms / 60'000 % 60);
    time.second = static_cast<int>(ms / 1000 % 60);
    time.milliseconds = static_cast<int>(ms % 1000);
    return time;
}

TimeOfDay TimeOfDayOf(DateTime value) {
    const double total = std::round(value * kMillisecondsPerDay);
    // Days beyond about 10^300 (a stored value edited by hand) have no milliseconds that a double can hold, and
    // NaN none at all; converting what fmod makes of them to an integer would be undefined.
    if (!std::isfinite(total)) {
        return TimeOfDay{};
    }
    double withinDay = std::fmod(total, kMillisecondsPerDay);
    if (withinDay < 0) {
        withinDay += kMillisecondsPerDay;
    }
    const auto ms = static_cast<std::int64_t>(withinDay);
    return TimeOfDay{static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                     static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

} // namespace qn
