#include "platform/backend/sdl/X11Window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cstdlib>
#include <cstring>

namespace vark::x11 {

namespace {

bool Info(SDL_Window* window, Display*& display, ::Window& xwindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return false;
  }
  display = info.info.x11.display;
  xwindow = info.info.x11.window;
  return true;
}

// The window a property names, or 0.
::Window WindowProperty(Display* display, ::Window window, Atom property) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  ::Window result = 0;
  if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    if (type == XA_WINDOW && format == 32 && count == 1) {
      result = *reinterpret_cast<::Window*>(data);
    }
    XFree(data);
  }
  return result;
}

}  // namespace

bool IsX11(SDL_Window* window) {
  Display* display = nullptr;
  ::Window xwindow = 0;
  return Info(window, display, xwindow);
}

bool WindowManagerRunning(SDL_Window* window) {
  Display* display = nullptr;
  ::Window xwindow = 0;
  if (!Info(window, display, xwindow)) return true;  // not X11: the compositor manages windows
  Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  ::Window root = DefaultRootWindow(display);
  ::Window child = WindowProperty(display, root, check);
  // A running manager names a window that names itself; a stale property from
  // a manager that has gone does not.
  return child != 0 && WindowProperty(display, child, check) == child;
}

void StartMove(SDL_Window* window, int rootX, int rootY) {
  Display* display = nullptr;
  ::Window xwindow = 0;
  if (!Info(window, display, xwindow)) return;
  constexpr long kMove = 8;          // _NET_WM_MOVERESIZE_MOVE
  constexpr long kSourceNormal = 1;  // an application's request
  XUngrabPointer(display, CurrentTime);
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = xwindow;
  event.xclient.message_type = XInternAtom(display, "_NET_WM_MOVERESIZE", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = rootX;
  event.xclient.data.l[1] = rootY;
  event.xclient.data.l[2] = kMove;
  event.xclient.data.l[3] = Button1;
  event.xclient.data.l[4] = kSourceNormal;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
}

double TextScale() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1.0;
  double scale = 1.0;
  if (const char* resources = XResourceManagerString(display)) {
    XrmInitialize();
    XrmDatabase db = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value;
    if (db != nullptr && XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) == True &&
        value.addr != nullptr) {
      double dpi = std::atof(value.addr);
      if (dpi >= 48.0 && dpi <= 480.0) scale = dpi / 96.0;
    }
    if (db != nullptr) XrmDestroyDatabase(db);
  }
  XCloseDisplay(display);
  return scale;
}

}  // namespace vark::x11
