// Date-time values as the launcher stores them: a day number counted from
// 1899-12-30 00:00 with the time of day as the fraction, in local time.
#pragma once

#include <ctime>

using TDateTime = double;

namespace vark::os {

// The local time of t as a day number, keeping the nanoseconds (a double holds
// about a microsecond at today's day numbers). Days before 1899-12-30 use the
// classic encoding: the integer part counts back, the fraction still counts
// forward from midnight, so 1899-12-29 06:00 is -1.25.
TDateTime LocalDayNumber(const timespec& t);

// The civil date's day number (1899-12-30 is 0).
int DayNumberOfDate(int year, unsigned month, unsigned day);

}  // namespace vark::os
