#include "platform/os/SystemError.h"

#include <string.h>

#include "platform/Exceptions.h"

namespace vark::os {

std::string SystemErrorText(int err) {
  char buffer[256];
  // The GNU strerror_r returns a pointer that may or may not be our buffer.
  const char* text = strerror_r(err, buffer, sizeof buffer);
  return text != nullptr ? std::string(text) : std::string("Unknown error ") + std::to_string(err);
}

void RaiseOSError(int err) {
  throw EOSError("System Error.  Code: " + std::to_string(err) + ".\n" + SystemErrorText(err), err);
}

}  // namespace vark::os
