#include "ReaderClock.h"

#include <ctime>

namespace zentrava {

namespace {

constexpr int64_t SecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t daysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(int64_t days, int64_t &year, int &month, int &day)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = yearOfEra + era * 400 + (month <= 2);
}

// Monday 1 to Sunday 7; 1970-01-01 was a Thursday.
int weekDay(int64_t days)
{
    return static_cast<int>(((days % 7) + 7 + 3) % 7) + 1;
}

int daysInMonth(int64_t year, int month)
{
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : lengths[month - 1];
}

uint8_t toBcd(int64_t value)
{
    return static_cast<uint8_t>((value / 10) << 4 | (value % 10));
}

// -1 when the byte is not two decimal digits.
int fromBcd(uint8_t value)
{
    if ((value >> 4) > 9 || (value & 0x0F) > 9)
        return -1;
    return (value >> 4) * 10 + (value & 0x0F);
}

} // namespace

int64_t ReaderClock::localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int64_t>(now) + local.tm_gmtoff;
}

ReaderClock::Bcd ReaderClock::read(int64_t offsetSeconds, int64_t localNowSeconds)
{
    const int64_t moment = localNowSeconds + offsetSeconds;
    int64_t days = moment / SecondsPerDay;
    int64_t second = moment % SecondsPerDay;
    if (second < 0) {
        second += SecondsPerDay;
        --days;
    }
    int64_t year = 0;
    int month = 0, day = 0;
    civilFromDays(days, year, month, day);
    return {toBcd(((year % 100) + 100) % 100), toBcd(month), toBcd(day), toBcd(weekDay(days)),
            toBcd(second / 3600), toBcd(second / 60 % 60), toBcd(second % 60)};
}

std::optional<int64_t> ReaderClock::offsetFor(const uint8_t *clock, int64_t localNowSeconds)
{
    int fields[7];
    for (int i = 0; i < 7; ++i) {
        fields[i] = fromBcd(clock[i]);
        if (fields[i] < 0)
            return std::nullopt;
    }
    const int64_t year = fields[0] > 50 ? 1900 + fields[0] : 2000 + fields[0];
    const int month = fields[1], day = fields[2], week = fields[3];
    const int hour = fields[4], minute = fields[5], second = fields[6];
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59)
        return std::nullopt;
    const int64_t days = daysFromCivil(year, month, day);
    if (week != weekDay(days))
        return std::nullopt;
    return days * SecondsPerDay + hour * 3600 + minute * 60 + second - localNowSeconds;
}

} // namespace zentrava
