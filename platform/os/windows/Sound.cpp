// MessageBeep on Windows is the system's own: the sound the user's scheme
// gives to the kind of message.
#include "platform/os/Sound.h"

#include "platform/os/windows/ClashingCalls.h"

bool MessageBeep(uint32_t type) {
  vark::os::TellBeepListener(type);
  return vark::os::win32::SystemMessageBeep(type);
}
