// How DrawScaled maps its destination onto its source, the same whichever
// code then draws (pixman on Linux, our resampler on Windows): the part of
// the source read, the part of the destination drawn, and each axis' scale
// and offset.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Types.h"

class TBitmap;

namespace vark {

struct ScaleMapping {
  TRect area;  // destination pixels drawn: inside the clip, destRect and the bitmap
  // The source pixels read (only those inside srcRect, so that the edge mode
  // acts at srcRect's edges), premultiplied 0xAARRGGBB, stride in pixels.
  // opaque: their alpha bytes mean nothing and read as 255.
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  bool opaque = false;
  // Pixel i of the area has its centre at source coordinate
  // (i + 0.5) * scale + offset on each axis; source pixel j spans [j, j + 1).
  double scaleX = 1, scaleY = 1, offsetX = 0, offsetY = 0;
  std::vector<uint32_t> premultiplied;  // the copy of a source with straight alpha
};

// False when nothing is to be drawn (an empty rectangle or bitmap, nothing
// of either inside the other).
bool MapScaled(const TBitmap& dst, const TRect& clip, const TRect& destRect, const TBitmap& src,
               const TRect& srcRect, bool halfPixelOffset, ScaleMapping& mapping);

}  // namespace vark
