// A program started from a console hears from it when it is to end: Ctrl+C,
// Ctrl+Break, the console window closing, the user logging off or the system
// shutting down. The system calls the handler on a thread of its own, and
// ends the process once the handler returns from the last three kinds; so
// the handler hands the request to the event loop's window and, for those,
// waits until the loop has answered it (saved, as a close does).
#pragma once

#include <cstdint>

namespace vark::win32 {

class ConsoleControl {
 public:
  // Posts message (wParam: the kind of event) to window, a HWND, for each
  // event from now on.
  ConsoleControl(void* window, uint32_t message);
  ~ConsoleControl();
  ConsoleControl(const ConsoleControl&) = delete;
  ConsoleControl& operator=(const ConsoleControl&) = delete;

  // The loop has answered the request: a waiting handler returns.
  void Answered();
  // The handler, as the system calls it on a thread of its own (tests call
  // it so: under Wine a test has no console to send from). False when no
  // loop listens.
  static bool Handle(unsigned long kind);
};

}  // namespace vark::win32
