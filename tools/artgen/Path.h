// A path is a set of closed contours filled with the non-zero rule. Solid contours
// run one way and holes the other, whatever order their points were given in, so
// overlapping solids unite and a hole cuts exactly one layer.
#pragma once

#include <span>
#include <vector>

#include "Geometry.h"

namespace artgen {

class Path {
 public:
  using Contour = std::vector<Vec2>;

  void AddPolygon(std::span<const Vec2> points, bool hole = false);
  void AddCircle(Vec2 centre, float radius, bool hole = false);
  void AddEllipse(Vec2 centre, float rx, float ry, float rotation = 0, bool hole = false);
  void AddRect(float left, float top, float right, float bottom, bool hole = false);
  void AddRoundRect(float left, float top, float right, float bottom, float radius,
                    bool hole = false);
  // A polyline of the given width with round joins and caps (closed: also the
  // segment back to the first point).
  void AddStroke(std::span<const Vec2> points, float width, bool closed = false);
  void Append(const Path& other);

  Path Transformed(const Transform& t) const;
  const std::vector<Contour>& Contours() const { return contours_; }
  bool Empty() const { return contours_.empty(); }

 private:
  std::vector<Contour> contours_;
};

// Appends the points of curves to a polyline (the start point is not repeated).
void AppendQuadratic(std::vector<Vec2>& out, Vec2 p0, Vec2 p1, Vec2 p2, int segments = 16);
void AppendCubic(std::vector<Vec2>& out, Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, int segments = 20);
void AppendArc(std::vector<Vec2>& out, Vec2 centre, float radius, float from, float to,
               int segments = 24);
// A regular star or polygon: `points` tips at radius `outer` alternating with
// `inner` (inner == outer gives a regular polygon of 2 × points corners).
std::vector<Vec2> StarPoints(Vec2 centre, int points, float outer, float inner, float rotation);

}  // namespace artgen
