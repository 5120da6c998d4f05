#include "platform/os/windows/ClashingCalls.h"

#include <windows.h>

namespace vark::os::win32 {

bool SystemMessageBeep(unsigned type) {
  return ::MessageBeep(type) != FALSE;
}

}  // namespace vark::os::win32
