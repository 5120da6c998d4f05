// Date-time values as the launcher stores them: a day number counted from
// 1899-12-30 00:00 with the time of day as the fraction, in local time.
#pragma once

using TDateTime = double;

namespace vark::os {

// The civil date's day number (1899-12-30 is 0).
int DayNumberOfDate(int year, unsigned month, unsigned day);

// A local date and the seconds into that day (with their fraction) as a day
// number. Days before 1899-12-30 use the classic encoding: the integer part
// counts back, the fraction still counts forward from midnight, so
// 1899-12-29 06:00 is -1.25.
TDateTime DayNumberOf(int year, unsigned month, unsigned day, double secondOfDay);

// The current local date and time as a day number.
TDateTime LocalNow();

}  // namespace vark::os
