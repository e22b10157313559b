#include "calc/local_time.h"

#include <ctime>

#include "calc/platform/local_calendar.h"

namespace quorvel {
namespace {

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
long long DaysFromEpoch(long long year, long long month, long long day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

LocalTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    if (now == static_cast<std::time_t>(-1)) return {};
    std::tm local{};
    if (!ToLocalCalendar(now, local)) return {};
    LocalTime time{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
    // The calendar fields read as if they were UTC, less the moment itself.
    const long long asUtc = DaysFromEpoch(time.year, time.month, time.day) * 86400LL +
                            time.hour * 3600LL + time.minute * 60LL + time.second;
    time.utcOffsetMinutes = static_cast<int>((asUtc - static_cast<long long>(now)) / 60);
    return time;
}

}  // namespace quorvel
