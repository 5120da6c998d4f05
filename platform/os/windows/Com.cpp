#include "platform/os/windows/Com.h"

#include "platform/os/windows/Win32.h"

namespace vark::os::win32 {

void EnsureComInitialized() {
  // COM stays initialised until the thread ends. A thread that someone else
  // initialised for another apartment keeps it; the calls work there too.
  thread_local const HRESULT initialised =
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  (void)initialised;
}

}  // namespace vark::os::win32
