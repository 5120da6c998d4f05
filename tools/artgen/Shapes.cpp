#include <algorithm>

#include "Pictures.h"

namespace artgen {

Coverage Inverted(const Coverage& mask, int width, int height) {
  Coverage out;
  out.width = width;
  out.height = height;
  out.values.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.values[static_cast<size_t>(y) * width + x] = 1 - mask.At(x, y);
  return out;
}

Coverage Intersected(const Coverage& a, const Coverage& b) {
  Coverage out;
  out.left = std::max(a.left, b.left);
  out.top = std::max(a.top, b.top);
  out.width = std::max(0, std::min(a.left + a.width, b.left + b.width) - out.left);
  out.height = std::max(0, std::min(a.top + a.height, b.top + b.height) - out.top);
  out.values.resize(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.values[static_cast<size_t>(y) * out.width + x] =
          std::min(a.At(out.left + x, out.top + y), b.At(out.left + x, out.top + y));
  return out;
}

Path Outline(const Path& shape, float width) {
  Path out;
  for (const auto& contour : shape.Contours())
    out.AddStroke(contour, width, true);
  return out;
}

}  // namespace artgen
