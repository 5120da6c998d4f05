#include "platform/os/SystemError.h"

#include "platform/Exceptions.h"

namespace vark::os {

void RaiseOSError(int err) {
  throw EOSError("System Error.  Code: " + std::to_string(err) + ".\n" + SystemErrorText(err), err);
}

}  // namespace vark::os
