#include "platform/os/windows/Com.h"

#include "platform/os/windows/Win32.h"

namespace vark::os::win32 {

namespace {

// Whether this thread has asked for COM, and what the system answered. Plain
// values: a thread's objects with destructors would end after the thread's
// storage is gone (MinGW frees it first), so nothing here relies on them.
thread_local bool asked = false;
thread_local HRESULT answer = E_FAIL;

}  // namespace

void EnsureComInitialized() {
  if (asked) return;
  // A thread that someone else initialised for another apartment keeps it;
  // the calls work there too.
  answer = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  asked = true;
}

void UninitializeCom() {
  if (!asked) return;
  if (SUCCEEDED(answer)) CoUninitialize();
  asked = false;
}

}  // namespace vark::os::win32
