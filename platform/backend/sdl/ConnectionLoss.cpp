#include "platform/backend/sdl/ConnectionLoss.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace vark::sdl {
namespace {

// Never destroyed: Xlib may report a broken connection while the program's
// static objects are being destroyed.
std::function<void(const std::string&)>& LostHandler() {
  static auto* handler = new std::function<void(const std::string&)>();
  return *handler;
}

// Xlib calls this on the first failed read or write of the connection, from
// inside whatever request noticed it; returning would make Xlib call exit().
int OnIOError(Display* display) {
  static bool reported = false;
  const char* name = DisplayString(display);
  if (!reported) {
    reported = true;
    if (const auto& lost = LostHandler()) {
      lost(name != nullptr ? name : "");
    } else {
      std::fprintf(stderr, "%s: the connection to the display %s was lost\n",
                   program_invocation_short_name, name != nullptr ? name : "");
    }
  }
  std::_Exit(1);
}

// A request that failed (a window that went away under a request sent to it,
// say) is a protocol error, not a lost connection. Xlib's own handler would
// end the program there and then, without the close that saves; one line on
// stderr, and the program goes on.
int OnProtocolError(Display* display, XErrorEvent* error) {
  char text[256] = "";
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "%s: X request %d failed (%s); going on\n", program_invocation_short_name,
               error->request_code, text);
  return 0;
}

}  // namespace

void InstallX11ErrorHandler() {
  XSetErrorHandler(OnProtocolError);
}

void SetX11ConnectionLost(std::function<void(const std::string& display)> lost) {
  LostHandler() = std::move(lost);
  XSetIOErrorHandler(OnIOError);
}

bool WaylandConnectionLost(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
      info.subsystem != SDL_SYSWM_WAYLAND) {
    return false;
  }
  return wl_display_get_error(info.info.wl.display) != 0;
}

std::string WaylandDisplayName() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  return name != nullptr && *name != '\0' ? name : "wayland-0";
}

}  // namespace vark::sdl
