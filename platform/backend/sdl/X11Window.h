// The few X11 requests SDL 2 does not make for us: whether a window manager
// runs, asking it to move a window with the mouse (_NET_WM_MOVERESIZE), and the
// desktop's text scale (Xft.dpi). Kept apart so that Xlib's macros stay out of
// the rest of the backend.
#pragma once

struct SDL_Window;

namespace vark::x11 {

// Whether the window lives on an X11 display.
bool IsX11(SDL_Window* window);
// Whether a window manager runs on the window's display (_NET_SUPPORTING_WM_CHECK).
bool WindowManagerRunning(SDL_Window* window);
// Asks the window manager to move the window with the pointer, which is at
// (rootX, rootY) with the left button held; the pointer grab is handed over.
void StartMove(SDL_Window* window, int rootX, int rootY);
// The desktop's text scale from the Xft.dpi resource (1.0 when not set).
double TextScale();

}  // namespace vark::x11
