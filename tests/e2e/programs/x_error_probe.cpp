// Makes X requests fail while the real backend runs and after it has shut
// down (SDL closed its connections), each on a connection of its own, as a
// library of the program or SDL's wake-up connection would. Each failure
// must be reported on stderr and the program must go on: it ends with
// status 0 and "survived" only when no failure ended it.
#include "platform/backend/CreateBackend.h"

// After our headers: Xlib's macros (KeyPress, ...) clash with their names.
#include <X11/Xlib.h>

#include <cstdio>

namespace {

// A close request sent to a window that does not exist: BadWindow, for a
// SendEvent on a young connection, as seen at the launcher's close.
void FailARequest(const char* when) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "x_error_probe: cannot open the display %s\n", when);
    return;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = 0x3FFFFFF0;
  event.xclient.format = 32;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  std::printf("x_error_probe: went on after a failed request %s\n", when);
  std::fflush(stdout);
}

}  // namespace

int main() {
  auto backend = vark::CreateNativeBackend();
  FailARequest("while the backend runs");
  backend.reset();
  FailARequest("after the backend shut down");
  std::printf("x_error_probe: survived\n");
  return 0;
}
