#include "Rasterizer.h"

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

struct Edge {
  float x0, y0, x1, y1;  // y0 < y1
  int dir;               // +1 downward in the original contour, -1 upward
  float XAt(float y) const { return x0 + (x1 - x0) * (y - y0) / (y1 - y0); }
};

struct Crossing {
  float x;
  int dir;
};

}  // namespace

Coverage Rasterize(const Path& path, int gridWidth, int gridHeight, int subsamples) {
  Coverage out;
  std::vector<Edge> edges;
  float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
  for (const auto& contour : path.Contours()) {
    for (size_t i = 0, n = contour.size(); i < n; ++i) {
      const Vec2 a = contour[i], b = contour[(i + 1) % n];
      minX = std::min(minX, a.x);
      maxX = std::max(maxX, a.x);
      minY = std::min(minY, a.y);
      maxY = std::max(maxY, a.y);
      if (a.y == b.y) continue;
      if (a.y < b.y)
        edges.push_back({a.x, a.y, b.x, b.y, 1});
      else
        edges.push_back({b.x, b.y, a.x, a.y, -1});
    }
  }
  if (edges.empty()) return out;
  out.left = std::max(0, static_cast<int>(std::floor(minX)));
  out.top = std::max(0, static_cast<int>(std::floor(minY)));
  const int right = std::min(gridWidth, static_cast<int>(std::ceil(maxX)) + 1);
  const int bottom = std::min(gridHeight, static_cast<int>(std::ceil(maxY)) + 1);
  if (right <= out.left || bottom <= out.top) return out;
  out.width = right - out.left;
  out.height = bottom - out.top;
  out.values.assign(static_cast<size_t>(out.width) * out.height, 0.f);

  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  // Partial coverage per cell, and a difference array for the fully covered run
  // between a span's end cells (a wide span then costs two writes, not its width).
  std::vector<float> partial(out.width + 2), full(out.width + 2);
  const float weight = 1.0f / subsamples;
  const float spanMin = static_cast<float>(out.left), spanMax = static_cast<float>(right);
  size_t next = 0;

  for (int y = out.top; y < bottom; ++y) {
    std::fill(partial.begin(), partial.end(), 0.f);
    std::fill(full.begin(), full.end(), 0.f);
    for (int s = 0; s < subsamples; ++s) {
      const float sy = y + (s + 0.5f) * weight;
      while (next < edges.size() && edges[next].y0 <= sy)
        active.push_back(&edges[next++]);
      std::erase_if(active, [sy](const Edge* e) { return e->y1 <= sy; });
      crossings.clear();
      for (const Edge* e : active)
        if (e->y0 <= sy) crossings.push_back({e->XAt(sy), e->dir});
      std::sort(crossings.begin(), crossings.end(),
                [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
      int winding = 0;
      float start = 0;
      for (const Crossing& c : crossings) {
        const int before = winding;
        winding += c.dir;
        if (before == 0 && winding != 0) start = c.x;
        if (before == 0 || winding != 0) continue;
        const float x0 = std::clamp(start, spanMin, spanMax) - out.left;
        const float x1 = std::clamp(c.x, spanMin, spanMax) - out.left;
        if (x1 <= x0) continue;
        const int i0 = static_cast<int>(x0), i1 = static_cast<int>(x1);
        if (i0 == i1) {
          partial[i0] += (x1 - x0) * weight;
          continue;
        }
        partial[i0] += (i0 + 1 - x0) * weight;
        partial[i1] += (x1 - i1) * weight;
        full[i0 + 1] += weight;
        full[i1] -= weight;
      }
    }
    float run = 0;
    float* row = &out.values[static_cast<size_t>(y - out.top) * out.width];
    for (int x = 0; x < out.width; ++x) {
      run += full[x];
      row[x] = std::clamp(partial[x] + run, 0.f, 1.f);
    }
  }
  return out;
}

}  // namespace artgen
