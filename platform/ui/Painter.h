// Painting a form's window. Everything is painted bottom to top into the back
// buffer: the form's background and frame, then each container's own paint,
// its graphic controls in order, then its windowed children in order, each
// clipped to the area being painted and to what its parents leave visible.
// What lies beneath a control is therefore always painted before it, which is
// how transparent controls show their parent and siblings.
#pragma once

#include <cstdint>

#include "platform/graphics/Types.h"

class TBitmap;
class TCustomForm;
class TControl;

namespace vark::ui {

class Painter {
 public:
  // Paints rect (window coordinates) of the form's window.
  static void PaintRect(TCustomForm& form, const TRect& rect);
  // Paints, within rect, the controls that lie above control.
  static void PaintAbove(TCustomForm& form, const TControl& control, const TRect& rect);
  // Paints what is invalid, repairs what direct paints covered, and presents
  // every changed rectangle of the form's window.
  static void UpdateWindow(TCustomForm& form);
  // The same for every form.
  static void UpdateAllWindows();
  // Paints one control's part of the window (clip, window coordinates).
  static void PaintControl(TControl& control, TBitmap& surface, const TRect& clip);
  // True while the event loop paints (a control's Paint called by the painter).
  static bool Painting();

  // A counter that changes whenever a control's place in a window may have
  // changed (bounds, visibility, parent, window); canvases rebind when it moves.
  static uint64_t LayoutGeneration();
  static void LayoutChanged();
};

}  // namespace vark::ui
