// The artwork's scan converter: coverage must equal the area a shape covers,
// pixel by pixel at the edges and in total, under the non-zero rule.
#include "Rasterizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace {

using artgen::Coverage;
using artgen::Path;
using artgen::Rasterize;
using artgen::Vec2;

float Total(const Coverage& c) {
  return std::accumulate(c.values.begin(), c.values.end(), 0.f);
}

TEST(Rasterizer, AlignedRectangleCoversExactlyItsPixels) {
  Path p;
  p.AddRect(2, 3, 7, 5);
  const Coverage c = Rasterize(p, 10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 7 && y >= 3 && y < 5;
      EXPECT_FLOAT_EQ(c.At(x, y), inside ? 1.f : 0.f) << x << "," << y;
    }
}

TEST(Rasterizer, EdgePixelsGetTheShareTheyCover) {
  // Left edge at x = 1.25, right at 4.75, top at 1.5 (half of the sub-rows),
  // bottom at 3: a quarter is missing from the left column, a quarter from the
  // right, half from the top row.
  Path p;
  p.AddRect(1.25f, 1.5f, 4.75f, 3);
  const Coverage c = Rasterize(p, 6, 6, 4);
  EXPECT_NEAR(c.At(1, 2), 0.75f, 1e-5);
  EXPECT_NEAR(c.At(4, 2), 0.75f, 1e-5);
  EXPECT_NEAR(c.At(2, 1), 0.5f, 1e-5);
  EXPECT_NEAR(c.At(1, 1), 0.375f, 1e-5);
  EXPECT_NEAR(c.At(2, 2), 1.f, 1e-5);
  EXPECT_EQ(c.At(0, 2), 0.f);
  EXPECT_EQ(c.At(5, 2), 0.f);
}

TEST(Rasterizer, TotalCoverageIsTheArea) {
  const float pi = 3.14159265f;
  const struct {
    const char* name;
    Path path;
    float area;
  } cases[] = {
      {"triangle",
       [] {
         Path p;
         const Vec2 t[] = {{3.3f, 2.1f}, {40.7f, 9.4f}, {12.2f, 35.9f}};
         p.AddPolygon(t);
         return p;
       }(),
       0.5f * std::fabs((40.7f - 3.3f) * (35.9f - 2.1f) - (12.2f - 3.3f) * (9.4f - 2.1f))},
      {"circle",
       [] {
         Path p;
         p.AddCircle({25.5f, 24.3f}, 17.f);
         return p;
       }(),
       // a 51-gon (the path's own segments) is a touch smaller than the circle
       0.5f * 51 * 17.f * 17.f * std::sin(2 * pi / 51)},
      {"rotated square",
       [] {
         Path p;
         std::vector<Vec2> sq = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
         for (Vec2& v : sq)
           v = artgen::Rotate(v, {20, 20}, 0.4f);
         p.AddPolygon(sq);
         return p;
       }(),
       400.f},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(Total(Rasterize(c.path, 50, 50, 16)), c.area, c.area * 0.003f) << c.name;
}

TEST(Rasterizer, SolidsUniteAndHolesCut) {
  // Overlapping solids count once, whichever way their points run.
  Path twice;
  twice.AddRect(0, 0, 10, 10);
  const Vec2 reversed[] = {{5, 0}, {5, 10}, {15, 10}, {15, 0}};
  twice.AddPolygon(reversed);
  const Coverage u = Rasterize(twice, 20, 20);
  EXPECT_FLOAT_EQ(Total(u), 150.f);
  EXPECT_FLOAT_EQ(u.At(7, 5), 1.f);

  // A hole cuts its area out of a solid, given in either direction.
  for (bool flip : {false, true}) {
    Path ring;
    ring.AddRect(0, 0, 10, 10);
    std::vector<Vec2> hole = {{3, 3}, {7, 3}, {7, 7}, {3, 7}};
    if (flip) std::reverse(hole.begin(), hole.end());
    ring.AddPolygon(hole, true);
    const Coverage r = Rasterize(ring, 20, 20);
    EXPECT_FLOAT_EQ(Total(r), 84.f) << flip;
    EXPECT_EQ(r.At(5, 5), 0.f) << flip;
  }

  // A round stroke is one solid: its discs and segments never cancel out.
  Path stroke;
  const Vec2 zigzag[] = {{2, 2}, {18, 10}, {2, 18}};
  stroke.AddStroke(zigzag, 3);
  const Coverage s = Rasterize(stroke, 20, 20);
  for (float v : s.values)
    EXPECT_LE(v, 1.f);
  EXPECT_FLOAT_EQ(s.At(18, 10), 1.f);
}

TEST(Rasterizer, ShapesAreClippedToTheGrid) {
  Path p;
  p.AddRect(-50, -5, 8, 4);  // only [0, 8) × [0, 4) lies on the grid
  const Coverage c = Rasterize(p, 6, 10);
  EXPECT_EQ(c.left, 0);
  EXPECT_EQ(c.top, 0);
  EXPECT_LE(c.left + c.width, 6);
  EXPECT_FLOAT_EQ(Total(c), 6.f * 4);

  Path outside;
  outside.AddRect(20, 20, 30, 30);
  EXPECT_TRUE(Rasterize(outside, 10, 10).values.empty());
  EXPECT_TRUE(Rasterize(Path(), 10, 10).values.empty());
  Path flat;
  const Vec2 line[] = {{1, 1}, {5, 5}, {9, 9}};
  flat.AddPolygon(line);
  EXPECT_FLOAT_EQ(Total(Rasterize(flat, 10, 10)), 0.f);
}

}  // namespace
