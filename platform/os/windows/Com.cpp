#include "platform/os/windows/Com.h"

#include "platform/os/windows/Win32.h"

namespace vark::os::win32 {

namespace {

// COM on one thread while the thread runs. A thread that someone else
// initialised for another apartment keeps it (the calls work there too), and
// is left to them.
class ThreadCom {
 public:
  ThreadCom()
      : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ThreadCom() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ThreadCom(const ThreadCom&) = delete;
  ThreadCom& operator=(const ThreadCom&) = delete;

 private:
  HRESULT result_;
};

}  // namespace

void EnsureComInitialized() {
  // Uninitialised when the thread ends, after the thread's other objects made
  // since, its imaging factory among them, are gone: a thread's own objects
  // end in the reverse order of their making.
  thread_local const ThreadCom com;
}

}  // namespace vark::os::win32
