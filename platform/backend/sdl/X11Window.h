// The few X11 requests SDL 2 does not make for us: whether a window manager
// runs, asking it to move a window with the mouse (_NET_WM_MOVERESIZE), and the
// desktop's text scale (Xft.dpi). Kept apart so that Xlib's macros stay out of
// the rest of the backend.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/backend/Backend.h"
#include "platform/graphics/Types.h"

struct SDL_Window;
struct SDL_SysWMmsg;

namespace vark::x11 {

// Whether the window lives on an X11 display.
bool IsX11(SDL_Window* window);
// Whether a window manager runs on the window's display (_NET_SUPPORTING_WM_CHECK).
bool WindowManagerRunning(SDL_Window* window);
// Asks the window manager to move the window with the pointer, which is at
// (rootX, rootY) with the given button held (1 left, 2 middle, 3 right, as X
// and SDL number them); the pointer grab is handed over. The window then
// receives a release of that button of its own at once (the real one goes to
// the manager), which the caller should not pass on.
void StartMove(SDL_Window* window, int rootX, int rootY, int button);
// The X key event behind an SDL key event, which SDL does not pass on: true
// and the key filled in when message is an X key press (or release, as asked).
bool NativeKeyOf(const SDL_SysWMmsg& message, bool press, NativeKey& key);
// The desktop's text scale from the Xft.dpi resource (1.0 when not set).
double TextScale();

// Shows rectangles of a back buffer in the window with XPutImage, straight from
// the buffer's memory. SDL's own window surface would be a second, shared-memory
// copy of every pixel of the window (1.8 MB for the launcher); the parts that
// change between frames are small, so sending them costs less than keeping it.
class ImagePresenter {
 public:
  // Null unless the window's visual takes our pixels as they are: TrueColor or
  // DirectColor (which SDL sets up with a linear colour map), 32 bits a pixel,
  // red 0xFF0000, green 0x00FF00, blue 0x0000FF.
  static std::unique_ptr<ImagePresenter> Create(SDL_Window* window);
  ~ImagePresenter();
  ImagePresenter(const ImagePresenter&) = delete;
  ImagePresenter& operator=(const ImagePresenter&) = delete;

  // pixels: width × height words 0xAARRGGBB, rows top-down without padding.
  void Put(const uint32_t* pixels, int width, int height, std::span<const TRect> rects);

 private:
  ImagePresenter() = default;
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vark::x11
