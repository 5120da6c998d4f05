#include "app/ScreenPlacement.h"

#include <algorithm>
#include <cstdint>

bool TitleBarOnScreen(int left, int top, int width, int bandHeight,
                      std::span<const TRect> screens) {
  // 64 bits: left + width must not wrap for a place far off to the right.
  const int64_t bandLeft = left, bandTop = top;
  const int64_t bandRight = bandLeft + width, bandBottom = bandTop + bandHeight;
  const int64_t gripWidth = std::min<int64_t>(kTitleGripWidth, width);
  const int64_t gripHeight = std::min<int64_t>(kTitleGripHeight, bandHeight);
  if (gripWidth <= 0 || gripHeight <= 0) return false;
  for (const TRect& screen : screens) {
    const int64_t w =
        std::min<int64_t>(bandRight, screen.Right) - std::max<int64_t>(bandLeft, screen.Left);
    const int64_t h =
        std::min<int64_t>(bandBottom, screen.Bottom) - std::max<int64_t>(bandTop, screen.Top);
    if (w >= gripWidth && h >= gripHeight) return true;
  }
  return false;
}
