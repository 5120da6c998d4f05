#include "Path.h"

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

// Twice the signed area; positive for clockwise contours on a y-down canvas.
float SignedArea(const Path::Contour& c) {
  float sum = 0;
  for (size_t i = 0, n = c.size(); i < n; ++i) {
    const Vec2 a = c[i], b = c[(i + 1) % n];
    sum += a.x * b.y - b.x * a.y;
  }
  return sum;
}

// Enough corners that a circle's edge strays less than a fraction of a unit.
int SegmentsFor(float radius) {
  return std::clamp(static_cast<int>(radius * 3), 12, 256);
}

}  // namespace

void Path::AddPolygon(std::span<const Vec2> points, bool hole) {
  if (points.size() < 3) return;
  Contour c(points.begin(), points.end());
  if ((SignedArea(c) < 0) != hole) std::reverse(c.begin(), c.end());
  contours_.push_back(std::move(c));
}

void Path::AddCircle(Vec2 centre, float radius, bool hole) {
  AddEllipse(centre, radius, radius, 0, hole);
}

void Path::AddEllipse(Vec2 centre, float rx, float ry, float rotation, bool hole) {
  const int n = SegmentsFor(std::max(rx, ry));
  Contour c;
  c.reserve(n);
  for (int i = 0; i < n; ++i) {
    const float a = 2 * kPi * i / n;
    c.push_back(
        Rotate({centre.x + rx * std::cos(a), centre.y + ry * std::sin(a)}, centre, rotation));
  }
  AddPolygon(c, hole);
}

void Path::AddRect(float left, float top, float right, float bottom, bool hole) {
  const Vec2 pts[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  AddPolygon(pts, hole);
}

void Path::AddRoundRect(float left, float top, float right, float bottom, float radius, bool hole) {
  radius = std::min({radius, (right - left) / 2, (bottom - top) / 2});
  if (radius <= 0) return AddRect(left, top, right, bottom, hole);
  Contour c;
  AppendArc(c, {right - radius, top + radius}, radius, -kPi / 2, 0);
  AppendArc(c, {right - radius, bottom - radius}, radius, 0, kPi / 2);
  AppendArc(c, {left + radius, bottom - radius}, radius, kPi / 2, kPi);
  AppendArc(c, {left + radius, top + radius}, radius, kPi, 3 * kPi / 2);
  AddPolygon(c, hole);
}

void Path::AddStroke(std::span<const Vec2> points, float width, bool closed) {
  const float r = width / 2;
  const size_t n = points.size();
  if (n == 0) return;
  const size_t segments = closed ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) {
    const Vec2 a = points[i], b = points[(i + 1) % n];
    const Vec2 d = b - a;
    const float len = Length(d);
    if (len <= 0) continue;
    const Vec2 nrm = {-d.y / len * r, d.x / len * r};
    const Vec2 quad[] = {a + nrm, b + nrm, b - nrm, a - nrm};
    AddPolygon(quad);
  }
  // Round joins and caps: a disc on every point unites with the segments.
  for (const Vec2& p : points)
    AddEllipse(p, r, r);
}

void Path::Append(const Path& other) {
  contours_.insert(contours_.end(), other.contours_.begin(), other.contours_.end());
}

Path Path::Transformed(const Transform& t) const {
  Path out;
  out.contours_ = contours_;
  for (auto& c : out.contours_)
    for (auto& p : c)
      p = t.Apply(p);
  return out;
}

void AppendQuadratic(std::vector<Vec2>& out, Vec2 p0, Vec2 p1, Vec2 p2, int segments) {
  for (int i = 1; i <= segments; ++i) {
    const float t = static_cast<float>(i) / segments;
    out.push_back(Lerp(Lerp(p0, p1, t), Lerp(p1, p2, t), t));
  }
}

void AppendCubic(std::vector<Vec2>& out, Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, int segments) {
  for (int i = 1; i <= segments; ++i) {
    const float t = static_cast<float>(i) / segments;
    const Vec2 a = Lerp(p0, p1, t), b = Lerp(p1, p2, t), c = Lerp(p2, p3, t);
    out.push_back(Lerp(Lerp(a, b, t), Lerp(b, c, t), t));
  }
}

void AppendArc(std::vector<Vec2>& out, Vec2 centre, float radius, float from, float to,
               int segments) {
  for (int i = 0; i <= segments; ++i) {
    const float a = from + (to - from) * i / segments;
    out.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
}

std::vector<Vec2> StarPoints(Vec2 centre, int points, float outer, float inner, float rotation) {
  std::vector<Vec2> out;
  for (int i = 0; i < points * 2; ++i) {
    const float a = rotation - kPi / 2 + kPi * i / points;
    const float r = (i % 2 == 0) ? outer : inner;
    out.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
  }
  return out;
}

}  // namespace artgen
