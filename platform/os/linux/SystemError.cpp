#include "platform/os/SystemError.h"

#include <string.h>

namespace vark::os {

std::string SystemErrorText(int err) {
  char buffer[256];
  // The GNU strerror_r returns a pointer that may or may not be our buffer.
  const char* text = strerror_r(err, buffer, sizeof buffer);
  return text != nullptr ? std::string(text) : std::string("Unknown error ") + std::to_string(err);
}

}  // namespace vark::os
