// The password database's answers about a user: the logon name of any uid and
// the real user's home folder.
#pragma once

#include <sys/types.h>

#include <string>

namespace vark::os {

// The logon name of uid. Raises EOSError with the errno of the lookup (ENOENT
// when the database has no entry for it).
std::string LogonNameOf(uid_t uid);

// The real user's home folder, for when HOME is unset or not an absolute
// path. Raises EOSError like LogonNameOf.
std::string PasswordHome();

}  // namespace vark::os
