// Scaled, translucent picture drawing: source-over compositing of a
// bitmap, scaled from srcRect into destRect, with an overall opacity. pixman
// draws it on Linux; on Windows it is our own resampling (Resample.h).
#pragma once

#include <cstdint>

#include "platform/graphics/Types.h"

class TBitmap;

namespace vark {

enum class ScaleFilter : uint8_t {
  Nearest,
  Bilinear,     // four pixels around each sample
  HighQuality,  // the area average on a shrunk axis, bilinear on the others
};

// How pixels outside the source are sampled at the edges of a scaled image.
enum class EdgeMode : uint8_t {
  Clamp,  // repeat the edge pixels
  Transparent,
  TileFlip,  // mirror the image at its edges
};

// Composites src over dst. The source's alpha is read by its AlphaFormat
// (afIgnored: opaque; afDefined: straight; afPremultiplied) and scaled by
// opacity / 255. halfPixelOffset samples pixel centres (x + 0.5). Only pixels of
// dst inside clip (device coordinates) change.
void DrawScaled(TBitmap& dst, const TRect& clip, const TRect& destRect, const TBitmap& src,
                const TRect& srcRect, uint8_t opacity, ScaleFilter filter, bool halfPixelOffset,
                EdgeMode edge);

// The filter a picture draws itself with (TGraphic::Draw): bilinear, or the
// area average when it shrinks to less than half its size in either
// direction, where bilinear sampling would skip most of its pixels.
ScaleFilter PictureFilter(int srcWidth, int srcHeight, int destWidth, int destHeight);

}  // namespace vark
