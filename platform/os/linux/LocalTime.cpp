#include "platform/os/linux/LocalTime.h"

namespace vark::os {

TDateTime LocalDayNumber(const timespec& t) {
  std::tm local{};
  time_t seconds = t.tv_sec;
  if (localtime_r(&seconds, &local) == nullptr) {
    // Outside what the calendar code handles: count in UTC days instead.
    return 25569.0 + static_cast<double>(t.tv_sec) / 86400.0;
  }
  const double secondOfDay = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                             static_cast<double>(t.tv_nsec) / 1e9;
  return DayNumberOf(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                     static_cast<unsigned>(local.tm_mday), secondOfDay);
}

TDateTime LocalNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return LocalDayNumber(now);
}

}  // namespace vark::os
