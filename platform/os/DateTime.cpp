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

TDateTime LocalDayNumber(const timespec& t) {
  std::tm local{};
  time_t seconds = t.tv_sec;
  if (localtime_r(&seconds, &local) == nullptr) {
    // Outside what the calendar code handles: count in UTC days instead.
    return 25569.0 + static_cast<double>(t.tv_sec) / 86400.0;
  }
  const int days = DayNumberOfDate(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                   static_cast<unsigned>(local.tm_mday));
  const double secondOfDay = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                             static_cast<double>(t.tv_nsec) / 1e9;
  const double fraction = secondOfDay / 86400.0;
  return days >= 0 ? days + fraction : days - fraction;
}

}  // namespace vark::os
