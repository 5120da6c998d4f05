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

// Installs the handler of failed X requests: a request that fails (a protocol
// error, on any of the process's connections) is reported in one line on
// standard error and does not end the program. Call it before SDL starts: SDL
// wraps the handler it finds and puts that one back as it shuts down, closing
// connections on which errors may still be waiting (a wake-up SDL sent to a
// window destroyed since), so a handler set after SDL_Init would leave Xlib's
// own, which ends the program, in force for the last requests.
void InstallX11ErrorHandler();

// Installs the handler of a broken X connection: lost is called once with the
// display's name and is not meant to return; the process then ends at once
// with status 1, as it does when no function is set (after a line on standard
// error). An empty function leaves the handler installed.
void SetX11ConnectionLost(std::function<void(const std::string& display)> lost);

// Whether the Wayland connection of the window has failed.
bool WaylandConnectionLost(SDL_Window* window);
// The Wayland display's name, as programs find it.
std::string WaylandDisplayName();

}  // namespace vark::sdl
