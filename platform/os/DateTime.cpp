#include "platform/os/DateTime.h"

namespace vark::os {

int DayNumberOfDate(int year, unsigned month, unsigned day) {
  // Days from civil, counted in 400-year eras that start on 1 March.
  year -= month <= 2 ? 1 : 0;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  const int daysSince1970 = era * 146097 + static_cast<int>(dayOfEra) - 719468;
  return daysSince1970 + 25569;
}

TDateTime DayNumberOf(int year, unsigned month, unsigned day, double secondOfDay) {
  const int days = DayNumberOfDate(year, month, day);
  const double fraction = secondOfDay / 86400.0;
  return days >= 0 ? days + fraction : days - fraction;
}

}  // namespace vark::os
