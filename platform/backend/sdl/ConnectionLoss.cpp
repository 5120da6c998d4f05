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

}  // namespace

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
