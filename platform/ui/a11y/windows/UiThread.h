// Runs a provider's work on the interface thread and waits for it.
//
// UI Automation calls a provider on threads of its own, at any time; the
// accessible objects belong to the thread that runs the event loop. A call
// from elsewhere is sent to a message-only window of that thread, which runs
// it the next time the loop takes its messages (the loop waits for sent
// messages too), and the caller waits for the answer. A loop that does not
// come back in time (a long file operation) answers a timeout instead of
// keeping the screen reader stuck; the work is then dropped, never run late
// against a caller that has gone.
#pragma once

#include <functional>
#include <memory>

#include "platform/os/windows/Win32.h"

namespace vark::a11y::uia {

class UiThread {
 public:
  // Made on the interface thread.
  UiThread();
  ~UiThread();
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;

  // work's answer, run on the interface thread; kTimeout when that thread
  // did not take it in time, kElementNotAvailable once this is gone.
  HRESULT Run(const std::function<HRESULT()>& work) const;
  bool OnThread() const { return GetCurrentThreadId() == thread_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  DWORD thread_;
  HWND window_ = nullptr;
};

}  // namespace vark::a11y::uia
