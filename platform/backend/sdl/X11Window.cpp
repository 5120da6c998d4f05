#include "platform/backend/sdl/X11Window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>

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

void StartMove(SDL_Window* window, int rootX, int rootY, int button) {
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
  event.xclient.data.l[3] = button;
  event.xclient.data.l[4] = kSourceNormal;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  // The manager now holds the pointer and gets the button's release, which
  // SDL never sees: it would go on thinking the button down and drop the
  // next press as no change, losing the first click after every drag. A
  // release of our own, sent to the window, tells it otherwise.
  ::Window child = 0;
  int x = 0, y = 0;
  XTranslateCoordinates(display, DefaultRootWindow(display), xwindow, rootX, rootY, &x, &y, &child);
  XEvent release;
  std::memset(&release, 0, sizeof release);
  release.xbutton.type = ButtonRelease;
  release.xbutton.display = display;
  release.xbutton.window = xwindow;
  release.xbutton.root = DefaultRootWindow(display);
  release.xbutton.time = CurrentTime;
  release.xbutton.x = x;
  release.xbutton.y = y;
  release.xbutton.x_root = rootX;
  release.xbutton.y_root = rootY;
  release.xbutton.state = Button1Mask << (button - 1);
  release.xbutton.button = static_cast<unsigned>(button);
  release.xbutton.same_screen = True;
  XSendEvent(display, xwindow, False, ButtonReleaseMask, &release);
  XFlush(display);
}

bool NativeKeyOf(const SDL_SysWMmsg& message, bool press, NativeKey& key) {
  if (message.subsystem != SDL_SYSWM_X11) return false;
  XEvent event = message.msg.x11.event;
  if (event.type != (press ? KeyPress : KeyRelease)) return false;
  char typed[8] = {};
  KeySym symbol = NoSymbol;
  const int length = XLookupString(&event.xkey, typed, sizeof typed - 1, &symbol, nullptr);
  key.symbol = static_cast<uint32_t>(symbol);
  key.code = event.xkey.keycode;
  key.modifiers = event.xkey.state;
  key.time = static_cast<uint32_t>(event.xkey.time);
  // As GTK names keys to assistive technology: a visible ASCII character by
  // itself (XLookupString's other bytes are Latin-1, not UTF-8), anything
  // else by its keysym's name.
  const auto first = static_cast<unsigned char>(typed[0]);
  if (length == 1 && first > 0x20 && first < 0x7F) {
    key.text = typed;
  } else {
    const char* name = symbol != NoSymbol ? XKeysymToString(symbol) : nullptr;
    key.text = name != nullptr ? name : "";
  }
  return true;
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

struct ImagePresenter::State {
  Display* display = nullptr;
  ::Window window = 0;
  Visual* visual = nullptr;
  int depth = 0;
  GC gc = nullptr;
};

std::unique_ptr<ImagePresenter> ImagePresenter::Create(SDL_Window* window) {
  Display* display = nullptr;
  ::Window xwindow = 0;
  if (!Info(window, display, xwindow)) return nullptr;
  XWindowAttributes attrs;
  if (XGetWindowAttributes(display, xwindow, &attrs) == 0 || attrs.visual == nullptr) {
    return nullptr;
  }
  const Visual* v = attrs.visual;
  // SDL may give the window a DirectColor visual, with a linear colour map:
  // pixels mean there what they mean in TrueColor.
  if ((v->c_class != TrueColor && v->c_class != DirectColor) || v->red_mask != 0xFF0000 ||
      v->green_mask != 0x00FF00 || v->blue_mask != 0x0000FF ||
      (attrs.depth != 24 && attrs.depth != 32)) {
    return nullptr;
  }
  // The depth must be stored as 32-bit pixels.
  int count = 0;
  bool thirtyTwo = false;
  if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
    for (int i = 0; i < count; ++i) {
      if (formats[i].depth == attrs.depth) thirtyTwo = formats[i].bits_per_pixel == 32;
    }
    XFree(formats);
  }
  if (!thirtyTwo) return nullptr;
  auto presenter = std::unique_ptr<ImagePresenter>(new ImagePresenter());
  presenter->state_ = std::make_unique<State>();
  State& st = *presenter->state_;
  st.display = display;
  st.window = xwindow;
  st.visual = attrs.visual;
  st.depth = attrs.depth;
  st.gc = XCreateGC(display, xwindow, 0, nullptr);
  if (st.gc == nullptr) return nullptr;
  return presenter;
}

ImagePresenter::~ImagePresenter() {
  if (state_ && state_->gc != nullptr) XFreeGC(state_->display, state_->gc);
}

void ImagePresenter::Put(const uint32_t* pixels, int width, int height,
                         std::span<const TRect> rects) {
  if (pixels == nullptr || width <= 0 || height <= 0) return;
  State& st = *state_;
  // The image only describes our memory; it is never freed through Xlib.
  XImage* image =
      XCreateImage(st.display, st.visual, static_cast<unsigned>(st.depth), ZPixmap, 0,
                   reinterpret_cast<char*>(const_cast<uint32_t*>(pixels)),
                   static_cast<unsigned>(width), static_cast<unsigned>(height), 32, width * 4);
  if (image == nullptr) return;
  // Our words are little-endian in memory; Xlib swaps for a server that
  // wants the other order.
  image->byte_order = LSBFirst;
  const TRect whole = Rect(0, 0, width, height);
  for (const TRect& rect : rects) {
    const TRect r = IntersectRect(rect, whole);
    if (r.IsEmpty()) continue;
    XPutImage(st.display, st.window, st.gc, image, r.Left, r.Top, r.Left, r.Top,
              static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()));
  }
  image->data = nullptr;
  XDestroyImage(image);
  XFlush(st.display);
}

}  // namespace vark::x11
