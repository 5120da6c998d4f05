#include "platform/ui/FocusRect.h"

namespace vark::ui {

void DrawFocusRect(TCanvas& canvas, const TRect& rect, TColor color) {
  if (rect.IsEmpty()) return;
  for (int x = rect.Left; x < rect.Right; x += 2) {
    canvas.SetPixel(x, rect.Top, color);
    canvas.SetPixel(x, rect.Bottom - 1, color);
  }
  for (int y = rect.Top; y < rect.Bottom; y += 2) {
    canvas.SetPixel(rect.Left, y, color);
    canvas.SetPixel(rect.Right - 1, y, color);
  }
}

}  // namespace vark::ui
