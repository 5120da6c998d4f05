// xwin: small X11 requests that xdotool does not make.
//
//   xwin shot OUT.png [WINDOW]   writes the window (default: the root window) as a PNG
//   xwin close WINDOW            asks the window to close, as a window manager's close
//                                button does (WM_DELETE_WINDOW), so the program runs its
//                                own close handling instead of being killed
//   xwin wait-pixel X Y RRGGBB   waits (up to 30 s) until the screen's pixel at X,Y has
//                                the colour, and prints the wall-clock time it saw it
//                                (ns since 1970): the figures' "first frame" of a
//                                program they started, whatever draws it
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "xwin: %s\n", message.c_str());
  return 1;
}

// Position of the lowest set bit and the width of the mask, for TrueColor visuals.
void MaskShift(unsigned long mask, int& shift, int& bits) {
  shift = 0;
  bits = 0;
  if (mask == 0) return;
  while (!(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++bits;
  }
}

int Channel(unsigned long pixel, unsigned long mask) {
  int shift, bits;
  MaskShift(mask, shift, bits);
  if (bits == 0) return 0;
  unsigned long v = (pixel & mask) >> shift;
  return static_cast<int>(v * 255 / ((1ul << bits) - 1));
}

bool WritePng(const char* path, int w, int h, const std::vector<unsigned char>& rgb) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) {
    png_write_row(png, const_cast<png_bytep>(rgb.data() + static_cast<size_t>(y) * w * 3));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

int Shot(Display* dpy, const char* out, Window win) {
  XWindowAttributes attrs;
  if (!XGetWindowAttributes(dpy, win, &attrs)) return Fail("no such window");
  // X only has pixels for the part of a window on the screen; asking for more
  // fails, so the shot is cut to that part.
  XWindowAttributes root;
  XGetWindowAttributes(dpy, DefaultRootWindow(dpy), &root);
  int rootX = 0, rootY = 0;
  Window child;
  XTranslateCoordinates(dpy, win, root.root, 0, 0, &rootX, &rootY, &child);
  const int x0 = std::max(0, -rootX), y0 = std::max(0, -rootY);
  const int width = std::min(attrs.width, root.width - rootX) - x0;
  const int height = std::min(attrs.height, root.height - rootY) - y0;
  if (width <= 0 || height <= 0) return Fail("the window is off the screen");
  XImage* img = XGetImage(dpy, win, x0, y0, width, height, AllPlanes, ZPixmap);
  if (!img) return Fail("cannot read the window's pixels (is it mapped?)");
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned long p = XGetPixel(img, x, y);
      unsigned char* d = &rgb[(static_cast<size_t>(y) * width + x) * 3];
      d[0] = static_cast<unsigned char>(Channel(p, img->red_mask));
      d[1] = static_cast<unsigned char>(Channel(p, img->green_mask));
      d[2] = static_cast<unsigned char>(Channel(p, img->blue_mask));
    }
  }
  XDestroyImage(img);
  if (!WritePng(out, width, height, rgb)) return Fail(std::string("cannot write ") + out);
  return 0;
}

int Close(Display* dpy, Window win) {
  XEvent ev;
  std::memset(&ev, 0, sizeof ev);
  ev.xclient.type = ClientMessage;
  ev.xclient.window = win;
  ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
  ev.xclient.data.l[1] = CurrentTime;
  if (!XSendEvent(dpy, win, False, NoEventMask, &ev)) return Fail("cannot send the close request");
  XSync(dpy, False);
  return 0;
}

int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

// Polled every millisecond: one pixel of the root window is a cheap request.
int WaitPixel(Display* dpy, int x, int y, unsigned long rgb) {
  XSetErrorHandler(IgnoreErrors);
  const Window root = DefaultRootWindow(dpy);
  for (int i = 0; i < 30000; ++i) {
    if (XImage* img = XGetImage(dpy, root, x, y, 1, 1, AllPlanes, ZPixmap)) {
      const unsigned long p = XGetPixel(img, 0, 0);
      const unsigned long seen = static_cast<unsigned long>(Channel(p, img->red_mask)) << 16 |
                                 static_cast<unsigned long>(Channel(p, img->green_mask)) << 8 |
                                 static_cast<unsigned long>(Channel(p, img->blue_mask));
      XDestroyImage(img);
      if (seen == rgb) {
        timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        return 0;
      }
    }
    const timespec pause{0, 1000000};
    nanosleep(&pause, nullptr);
  }
  return Fail("the pixel never took the colour");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: xwin shot OUT.png [WINDOW] | xwin close WINDOW | "
                 "xwin wait-pixel X Y RRGGBB\n");
    return 2;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return Fail("cannot open the display");
  std::string cmd = argv[1];
  int rc;
  if (cmd == "shot") {
    Window win = argc > 3 ? std::strtoul(argv[3], nullptr, 0) : DefaultRootWindow(dpy);
    rc = Shot(dpy, argv[2], win);
  } else if (cmd == "close") {
    rc = Close(dpy, std::strtoul(argv[2], nullptr, 0));
  } else if (cmd == "wait-pixel" && argc == 5) {
    rc = WaitPixel(dpy, std::atoi(argv[2]), std::atoi(argv[3]), std::strtoul(argv[4], nullptr, 16));
  } else {
    rc = Fail("unknown command " + cmd);
  }
  XCloseDisplay(dpy);
  return rc;
}
