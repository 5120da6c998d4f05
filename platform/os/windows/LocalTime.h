// A point in time of the Windows clock and file systems (a FILETIME: 100 ns
// ticks since 1601, UTC) as a local day number.
#pragma once

#include <cstdint>

#include "platform/os/DateTime.h"

namespace vark::os::win32 {

// ticks is the FILETIME as one number. The local time is the one in force at
// that moment (summer time or not), as the system's own file dialogs show it.
TDateTime LocalDayNumber(uint64_t ticks);

}  // namespace vark::os::win32
