// Anti-aliased scan conversion: how much of each pixel a path covers. Rows are
// sampled on a few sub-scanlines and every span is measured exactly along x, so
// near-vertical edges are as smooth as near-horizontal ones at little cost.
#pragma once

#include <vector>

#include "Path.h"

namespace artgen {

// Coverage 0..1 over the part of a grid the path touches.
struct Coverage {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<float> values;

  float At(int x, int y) const {
    if (x < left || y < top || x >= left + width || y >= top + height) return 0;
    return values[static_cast<size_t>(y - top) * width + (x - left)];
  }
};

// Rasterises the path (pixel units) with the non-zero rule, clipped to
// [0, gridWidth) × [0, gridHeight). Pixel (x, y) is the square [x, x+1) × [y, y+1).
Coverage Rasterize(const Path& path, int gridWidth, int gridHeight, int subsamples = 5);

}  // namespace artgen
