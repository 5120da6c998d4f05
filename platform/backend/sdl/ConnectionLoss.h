// Noticing that the display went away (the X server stopped, the session
// ended, a remote display's connection dropped, the Wayland compositor quit).
//
// Xlib's own answer to a broken connection is a line on standard error and
// exit(): the exit handlers then destroy the windows on the dead connection,
// which can loop inside Xlib for ever. Our handler replaces it. On Wayland SDL
// turns a broken connection into a quit event, which the backend tells apart
// from a termination signal by asking the connection.
#pragma once

#include <functional>
#include <string>

struct SDL_Window;

namespace vark::sdl {

// Installs the handler of a broken X connection: lost is called once with the
// display's name and is not meant to return; the process then ends at once
// with status 1, as it does when no function is set (after a line on standard
// error). An empty function leaves the handler installed. A request that fails
// (a protocol error) is reported on standard error and does not end the program.
void SetX11ConnectionLost(std::function<void(const std::string& display)> lost);

// Whether the Wayland connection of the window has failed.
bool WaylandConnectionLost(SDL_Window* window);
// The Wayland display's name, as programs find it.
std::string WaylandDisplayName();

}  // namespace vark::sdl
