// What the program asks of the system about the user and the system itself.
#pragma once

#include <string>

namespace vark::os {

// The logon name of the current user. Raises EOSError with the system's code
// when it cannot be read (on Linux ENOENT when the password database has no
// entry for the user, as in a container started with an arbitrary uid).
std::string LogonName();

// The system version the code above compares against: the version Windows
// reports of itself. Linux kernel numbers do not mean what the launcher's
// version tests expect (they only tell the old profile layout below 6.0 from
// the current one), so Linux reports the current desktop generation, 10.0.
struct TOSVersion {
  int Major;
  int Minor;
};
TOSVersion SystemVersion();

}  // namespace vark::os
