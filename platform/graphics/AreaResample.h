// The "high quality" shrink of DrawScaled, done by hand: a separable filter
// that averages the source pixels each destination pixel covers (the area
// average) on a shrunk axis and interpolates linearly on an axis that is not
// shrunk. pixman has the same filter, but only on its generic path, about ten
// times slower than these two integer passes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/Types.h"

namespace vark {

enum class EdgeMode : uint8_t;

// A premultiplied 0xAARRGGBB source: width × height pixels, stride in pixels.
// opaque: its alpha bytes are not meaningful and read as 255.
struct ResampleSource {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  bool opaque = false;
};

// One axis of the mapping: destination pixel i (0-based within the output) has
// its centre at source coordinate (i + 0.5) * scale + offset, where source
// pixel j spans [j, j + 1).
struct ResampleAxis {
  double scale = 1.0;
  double offset = 0.0;
};

// Fills out (outWidth × outHeight premultiplied pixels, rows packed) with the
// filtered source. Taps beyond the source follow edge: repeated edge pixels,
// mirrored pixels, or transparent.
void AreaResample(const ResampleSource& src, ResampleAxis x, ResampleAxis y, EdgeMode edge,
                  int outWidth, int outHeight, std::span<uint32_t> out);

}  // namespace vark
