// The per-window state the event loop keeps for a form: its native window and
// back buffer, the areas waiting to be painted, the pixels waiting to be
// presented, and the mouse's state in it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/ui/Control.h"

namespace vark::ui {

// A list of rectangles that stays short: a rectangle joins one it touches, and
// past a few the whole list merges into one.
class RectList {
 public:
  void Add(const TRect& rect);
  bool Empty() const { return rects_.empty(); }
  const std::vector<TRect>& Rects() const { return rects_; }
  void Clear() { rects_.clear(); }
  TRect Bounds() const;

 private:
  std::vector<TRect> rects_;
};

// Pixels a control drew straight into the back buffer (outside the event
// loop's painting): controls above it that overlap them are painted again
// before the frame is presented.
struct DirectPaint {
  TWeakRef<TControl> control;
  TRect rect;
};

// Which caption button of a framed form the mouse is over or holds.
enum CaptionButton : uint8_t { cbNone, cbMinimizeButton, cbMaximizeButton, cbCloseButton };

struct FormWindow {
  uint32_t handle = 0;
  std::unique_ptr<TBitmap> surface;
  RectList invalid;  // window coordinates
  RectList damage;   // window coordinates, to present
  std::vector<DirectPaint> direct;
  TWeakRef<TControl> hover;    // the control under the pointer
  TWeakRef<TControl> clicked;  // the control that took the left press
  bool pointerInside = false;
  TPoint pointer;             // last pointer position, window coordinates
  bool keyboardUsed = false;  // focus rectangles show once the keyboard was used
  CaptionButton hotButton = cbNone;
  CaptionButton pressedButton = cbNone;
};

}  // namespace vark::ui
