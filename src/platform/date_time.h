// Dates and times the way the program stores them: a TDateTime.
#pragma once

namespace brindlock {

// Days since 30 December 1899 00:00, local time, the time of day as the fraction.
using TDateTime = double;

// The TDateTime of a calendar date and time of day (month 1..12, day 1..31,
// hour 0..23, milliseconds 0..999). Dates before 30 December 1899 are not
// needed by the program and are not handled specially.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

}  // namespace brindlock
