#include "platform/os/windows/LocalTime.h"

#include "platform/os/windows/Win32.h"

namespace vark::os::win32 {

TDateTime LocalDayNumber(uint64_t ticks) {
  constexpr uint64_t kTicksPerSecond = 10'000'000;
  const FILETIME utcTime{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc, local;
  if (!FileTimeToSystemTime(&utcTime, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    // Outside what the calendar calls handle: count in UTC days instead.
    constexpr uint64_t kTicksTo1899 = 94'353'120'000'000'000;  // 1601-01-01 to 1899-12-30
    return (static_cast<double>(ticks) - static_cast<double>(kTicksTo1899)) /
           (86400.0 * kTicksPerSecond);
  }
  // Time zones move whole minutes, so the second's fraction is the UTC one.
  const double secondOfDay = local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond +
                             static_cast<double>(ticks % kTicksPerSecond) / kTicksPerSecond;
  return DayNumberOf(local.wYear, local.wMonth, local.wDay, secondOfDay);
}

}  // namespace vark::os::win32

namespace vark::os {

TDateTime LocalNow() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return win32::LocalDayNumber((uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime);
}

}  // namespace vark::os
