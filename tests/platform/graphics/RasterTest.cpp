// The rasteriser's scan conversion, checked by invariants (symmetry, nesting,
// coverage) and against brute-force definitions of the shapes.
#include "platform/graphics/Raster.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace raster = vark::raster;

namespace {

// A small pixel buffer with a surface over it.
struct Buffer {
  int w, h;
  std::vector<Pixel> px;
  Buffer(int width, int height) : w(width), h(height), px(size_t(width) * height, 0) {}
  raster::Surface Surface() { return {px.data(), w, h, Rect(0, 0, w, h)}; }
  raster::Surface Clipped(const TRect& clip) { return {px.data(), w, h, clip}; }
  Pixel At(int x, int y) const { return px[size_t(y) * w + x]; }
  std::set<std::pair<int, int>> Lit() const {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (At(x, y) != 0) out.insert({x, y});
    return out;
  }
};

constexpr Pixel kInk = 0xFF112233;

}  // namespace

TEST(RoundRectShape, SymmetricNestedAndGrowingByAtMostOnePixel) {
  struct Box {
    int w, h;
  };
  const Box boxes[] = {{1, 1}, {2, 2}, {5, 3}, {12, 12}, {25, 25}, {41, 250}, {250, 41}, {9, 250}};
  for (const Box& b : boxes) {
    const raster::Rect64 box{3, 7, 3 + b.w, 7 + b.h};
    const int maxCorner = std::max(b.w, b.h) + 2;
    for (int c = 0; c <= maxCorner; ++c) {
      for (int64_t y = box.top; y < box.bottom; ++y) {
        SCOPED_TRACE(testing::Message() << b.w << "x" << b.h << " corner " << c << " row " << y);
        int64_t l, r;
        bool has = raster::RoundRectSpan(box, c, c, y, l, r);
        if (!has) continue;
        // Inside the box, and mirrored left to right and top to bottom.
        EXPECT_GE(l, box.left);
        EXPECT_LE(r, box.right);
        EXPECT_EQ(l - box.left, box.right - r);
        int64_t ml, mr;
        ASSERT_TRUE(raster::RoundRectSpan(box, c, c, box.bottom - 1 - (y - box.top), ml, mr));
        EXPECT_EQ(ml, l);
        // A corner one pixel larger never reaches further out, and moves the
        // row's end in by at most one pixel.
        int64_t nl, nr;
        if (raster::RoundRectSpan(box, c + 1, c + 1, y, nl, nr)) {
          EXPECT_GE(nl, l);
          EXPECT_LE(nl - l, 1);
        }
      }
    }
  }
}

TEST(RoundRectShape, EllipseMatchesTheCentreSampledDefinition) {
  // Pixel centres inside the ellipse inscribed in the box (none exactly on it
  // for these sizes) are the shape, and nothing else.
  const std::pair<int, int> sizes[] = {{7, 7}, {8, 8}, {13, 5}, {24, 24}, {30, 11}, {3, 40}};
  for (auto [w, h] : sizes) {
    const raster::Rect64 box{0, 0, w, h};
    for (int y = 0; y < h; ++y) {
      int64_t l = 0, r = 0;
      bool has = raster::RoundRectSpan(box, w, h, y, l, r);
      for (int x = 0; x < w; ++x) {
        double u = (x + 0.5 - w / 2.0) / (w / 2.0);
        double v = (y + 0.5 - h / 2.0) / (h / 2.0);
        bool inside = u * u + v * v <= 1.0;
        EXPECT_EQ(inside, has && x >= l && x < r) << w << "x" << h << " at " << x << "," << y;
      }
    }
  }
}

TEST(ThinLine, ClassicRules) {
  struct Case {
    raster::Point64 a, b;
    std::set<std::pair<int, int>> lit;
  };
  const Case cases[] = {
      // The end point is left out, in every direction.
      {{1, 2}, {5, 2}, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {{5, 2}, {1, 2}, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
      {{3, 0}, {3, 3}, {{3, 0}, {3, 1}, {3, 2}}},
      {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
      {{3, 0}, {0, 3}, {{3, 0}, {2, 1}, {1, 2}}},
      // Shallow slope: the minor step comes where the ideal line passes half way.
      {{0, 0}, {6, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
      {{0, 0}, {2, 6}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5}}},
      // A length of one paints its start; a length of zero paints nothing.
      {{4, 4}, {5, 4}, {{4, 4}}},
      {{4, 4}, {4, 4}, {}},
  };
  for (const Case& c : cases) {
    Buffer buf(8, 8);
    raster::ThinLine(buf.Surface(), c.a, c.b, kInk);
    EXPECT_EQ(buf.Lit(), c.lit) << "(" << c.a.x << "," << c.a.y << ")-(" << c.b.x << "," << c.b.y
                                << ")";
  }
}

TEST(ThinLine, HugeAndClippedLinesPaintOnlyTheirVisiblePart) {
  Buffer buf(16, 16);
  // A diagonal across the whole 64-bit range still lands on the diagonal.
  raster::ThinLine(buf.Surface(), {INT64_C(-3000000000), INT64_C(-3000000000)},
                   {INT64_C(3000000000), INT64_C(3000000000)}, kInk);
  std::set<std::pair<int, int>> diag;
  for (int i = 0; i < 16; ++i)
    diag.insert({i, i});
  EXPECT_EQ(buf.Lit(), diag);

  // Vertical and horizontal lines across the whole range, either way round.
  for (auto [a, b] : {std::pair{raster::Point64{5, INT64_C(-3000000000)}, raster::Point64{5, 9}},
                      std::pair{raster::Point64{5, 3000000000}, raster::Point64{5, 9}},
                      std::pair{raster::Point64{INT64_C(-3000000000), 9}, raster::Point64{5, 9}}}) {
    Buffer line(16, 16);
    raster::ThinLine(line.Surface(), a, b, kInk);
    std::set<std::pair<int, int>> want;
    for (int i = 0; i < 16; ++i) {
      if (a.x == b.x && (a.y < b.y ? i < 9 : i > 9)) want.insert({5, i});
      if (a.y == b.y && i < 5) want.insert({i, 9});
    }
    EXPECT_EQ(line.Lit(), want);
  }

  // Clipping does not shift the pixels of a shallow line.
  Buffer full(16, 16), clipped(16, 16);
  raster::ThinLine(full.Surface(), {-5, 1}, {30, 9}, kInk);
  raster::ThinLine(clipped.Clipped(Rect(4, 0, 11, 16)), {-5, 1}, {30, 9}, kInk);
  for (auto [x, y] : clipped.Lit())
    EXPECT_NE(full.At(x, y), 0u) << x << "," << y;
  for (auto [x, y] : full.Lit()) {
    if (x >= 4 && x < 11) {
      EXPECT_NE(clipped.At(x, y), 0u) << x << "," << y;
    }
  }
}

// Vertical lines take a short path of their own: the same pixels and the same
// damage as the rules above, at every place relative to the clip.
TEST(ThinLine, VerticalLinesKeepTheRulesAtTheClipsEdges) {
  const TRect clip = Rect(2, 3, 6, 9);
  struct Case {
    raster::Point64 a, b;
    int top, bottom;  // rows lit in column a.x; top == bottom: none
  };
  const Case cases[] = {
      {{4, 0}, {4, 12}, 3, 9}, {{4, 12}, {4, 0}, 3, 9},  // through the clip, either way
      {{4, 5}, {4, 7}, 5, 7},  {{4, 7}, {4, 5}, 6, 8},   // inside: the end left out
      {{4, 3}, {4, 2}, 3, 4},  {{4, 9}, {4, 10}, 0, 0},  // touching the top, below the bottom
      {{1, 0}, {1, 12}, 0, 0}, {{6, 0}, {6, 12}, 0, 0},  // beside the clip
      {{2, 0}, {2, 12}, 3, 9}, {{5, 12}, {5, 0}, 3, 9},  // its first and last columns
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "(" << c.a.x << "," << c.a.y << ")-(" << c.b.x << "," << c.b.y << ")");
    Buffer buf(8, 12);
    const TRect damage = raster::ThinLine(buf.Clipped(clip), c.a, c.b, kInk);
    std::set<std::pair<int, int>> want;
    for (int y = c.top; y < c.bottom; ++y)
      want.insert({static_cast<int>(c.a.x), y});
    EXPECT_EQ(buf.Lit(), want);
    if (c.top == c.bottom) {
      EXPECT_TRUE(damage.IsEmpty());
    } else {
      EXPECT_EQ(damage,
                Rect(static_cast<int>(c.a.x), c.top, static_cast<int>(c.a.x) + 1, c.bottom));
    }
  }
}

TEST(WideLine, PaintsExactlyThePixelsWithinHalfTheWidthOfTheSegment) {
  struct Case {
    raster::Point64 a, b;
    int width;
  };
  const Case cases[] = {{{5, 10}, {20, 10}, 3}, {{5, 10}, {20, 10}, 2},  {{4, 4}, {18, 15}, 5},
                        {{18, 3}, {6, 17}, 4},  {{10, 10}, {10, 10}, 7}, {{2, 20}, {20, 19}, 6}};
  for (const Case& c : cases) {
    Buffer buf(26, 26);
    raster::WideLine(buf.Surface(), c.a, c.b, c.width, kInk);
    // Even widths sit half a pixel up and left of the line's pixels.
    const double shift = c.width % 2 == 0 ? 0.5 : 0.0;
    const double ax = c.a.x - shift, ay = c.a.y - shift, bx = c.b.x - shift, by = c.b.y - shift;
    const double r = c.width / 2.0;
    for (int y = 0; y < 26; ++y) {
      for (int x = 0; x < 26; ++x) {
        double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0) : 0.0;
        double ex = ax + t * dx - x, ey = ay + t * dy - y;
        double d = std::sqrt(ex * ex + ey * ey);
        if (std::fabs(d - r) < 1e-6) continue;  // exactly on the edge: either is right
        EXPECT_EQ(d < r, buf.At(x, y) != 0)
            << "width " << c.width << " line (" << c.a.x << "," << c.a.y << ")-(" << c.b.x << ","
            << c.b.y << ") pixel " << x << "," << y;
      }
    }
  }
}

TEST(WideLine, EvenAndOddWidthsCoverThatManyRows) {
  for (int width = 2; width <= 9; ++width) {
    Buffer buf(40, 40);
    raster::WideLine(buf.Surface(), {10, 20}, {30, 20}, width, kInk);
    int rows = 0;
    for (int y = 0; y < 40; ++y)
      rows += buf.At(20, y) != 0 ? 1 : 0;
    EXPECT_EQ(rows, width);
  }
}

TEST(FillPolygons, HalfOpenLikeRectanglesAndBothFillRules) {
  // An axis-aligned square fills exactly the half-open rectangle.
  {
    Buffer poly(10, 10), rect(10, 10);
    std::vector<std::vector<raster::Point64>> sq{{{2, 3}, {7, 3}, {7, 8}, {2, 8}}};
    raster::FillPolygons(poly.Surface(), sq, raster::kAlternate, kInk);
    raster::FillRect(rect.Surface(), {2, 3, 7, 8}, kInk);
    EXPECT_EQ(poly.Lit(), rect.Lit());
  }
  // Two overlapping squares traced the same way round: the overlap is filled
  // under the winding rule and left empty under the alternate rule.
  {
    std::vector<std::vector<raster::Point64>> two{{{0, 0}, {6, 0}, {6, 6}, {0, 6}},
                                                  {{3, 3}, {9, 3}, {9, 9}, {3, 9}}};
    Buffer wind(10, 10), alt(10, 10);
    raster::FillPolygons(wind.Surface(), two, raster::kWinding, kInk);
    raster::FillPolygons(alt.Surface(), two, raster::kAlternate, kInk);
    EXPECT_NE(wind.At(4, 4), 0u);
    EXPECT_EQ(alt.At(4, 4), 0u);
    EXPECT_NE(alt.At(1, 1), 0u);
    EXPECT_NE(alt.At(8, 8), 0u);
    EXPECT_EQ(wind.Lit().size(), 36u + 36u - 9u);
  }
  // Degenerate figures fill nothing and do not crash.
  {
    Buffer buf(10, 10);
    std::vector<std::vector<raster::Point64>> figs{
        {}, {{1, 1}}, {{1, 1}, {5, 5}}, {{0, 4}, {9, 4}, {3, 4}}};
    raster::FillPolygons(buf.Surface(), figs, raster::kWinding, kInk);
    EXPECT_TRUE(buf.Lit().empty());
  }
}

TEST(FillPolygons, HugeCoordinatesStayExact) {
  // A triangle whose far corners lie billions of pixels away: its hypotenuse
  // x = y still crosses the surface exactly on the diagonal.
  Buffer buf(16, 16);
  std::vector<std::vector<raster::Point64>> tri{{{INT64_C(-4000000000), INT64_C(-4000000000)},
                                                 {INT64_C(4000000000), INT64_C(4000000000)},
                                                 {INT64_C(-4000000000), INT64_C(4000000000)}}};
  raster::FillPolygons(buf.Surface(), tri, raster::kAlternate, kInk);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(buf.At(x, y) != 0, x < y) << x << "," << y;
}

TEST(RoundRect, DrawingOutsideTheSurfaceOrWithNoPixelsIsHarmless) {
  Buffer buf(8, 8);
  raster::ShapeStyle st{true, kInk, 3, true, kInk};
  raster::RoundRect(buf.Surface(), {INT64_MIN / 4, INT64_MIN / 4, INT64_MAX / 4, INT64_MAX / 4},
                    INT64_MAX / 4, INT64_MAX / 4, st);
  EXPECT_EQ(buf.Lit().size(), 64u);  // the middle of a vast ellipse covers the surface
  raster::Surface none;
  EXPECT_TRUE(raster::RoundRect(none, {0, 0, 4, 4}, 2, 2, st).IsEmpty());
  EXPECT_TRUE(raster::FillRect(none, {0, 0, 4, 4}, kInk).IsEmpty());
  EXPECT_TRUE(raster::WideLine(none, {0, 0}, {4, 4}, 5, kInk).IsEmpty());
}
