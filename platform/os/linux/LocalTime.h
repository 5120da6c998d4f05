// A point in time of the Linux clocks and file systems as a local day number.
#pragma once

#include <ctime>

#include "platform/os/DateTime.h"

namespace vark::os {

// The local time of t as a day number, keeping the nanoseconds (a double holds
// about a microsecond at today's day numbers).
TDateTime LocalDayNumber(const timespec& t);

}  // namespace vark::os
