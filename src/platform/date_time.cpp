#include "platform/date_time.h"

namespace brindlock {

namespace {

// Days since 1 March of year 0 of the proleptic Gregorian calendar; counting
// from March puts the leap day at the end of the year, so each month's
// offset is a fixed formula.
long DaysFromCivil(long year, int month, int day) {
    if (month <= 2) --year;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const int monthFromMarch = month > 2 ? month - 3 : month + 9;
    const long dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

constexpr double kMillisecondsPerDay = 86400000.0;

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    const long days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
    const long milliseconds = ((hour * 60L + minute) * 60L + second) * 1000L + millisecond;
    return static_cast<double>(days) + static_cast<double>(milliseconds) / kMillisecondsPerDay;
}

}  // namespace brindlock
