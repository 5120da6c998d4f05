// The system's own words for an error code, and the operating-system error
// that carries one. Every file and system failure of the os layer ends its
// message with this reason, so the user sees why, not just that, it failed.
// Codes are the system's: errno values on Linux, GetLastError values on
// Windows.
#pragma once

#include <string>

namespace vark::os {

// The system's text for err ("No such file or directory", "Access is
// denied."), on one line, safe to call from any thread and for any value.
std::string SystemErrorText(int err);

// Raises EOSError with the classic message "System Error.  Code: <err>.\n<text>".
[[noreturn]] void RaiseOSError(int err);

}  // namespace vark::os
