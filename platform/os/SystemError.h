// The system's own words for an errno value, and the operating-system error
// that carries one. Every file and system failure of the os layer ends its
// message with this reason, so the user sees why, not just that, it failed.
#pragma once

#include <string>

namespace vark::os {

// strerror's text for err ("No such file or directory"), safe to call from any
// thread and for any value.
std::string SystemErrorText(int err);

// Raises EOSError with the classic message "System Error.  Code: <err>.\n<text>".
[[noreturn]] void RaiseOSError(int err);

}  // namespace vark::os
