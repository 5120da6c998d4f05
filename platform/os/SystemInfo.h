// What the program asks of the system about the user and the system itself.
#pragma once

#include <sys/types.h>

#include <string>

namespace vark::os {

// The logon name of the real user, from the password database. Raises EOSError
// with the errno of the lookup (ENOENT when the database has no entry for the
// user, as in a container started with an arbitrary uid).
std::string LogonName();
std::string LogonNameOf(uid_t uid);

// The real user's home folder from the password database, for when HOME is
// unset or not an absolute path. Raises EOSError like LogonName.
std::string PasswordHome();

// The system version the code above compares against. Linux kernel numbers do
// not mean what the launcher's version tests expect (they only tell the old
// profile layout below 6.0 from the current one), so this reports the current
// desktop generation, 10.0.
struct TOSVersion {
  int Major;
  int Minor;
};
TOSVersion SystemVersion();

}  // namespace vark::os
