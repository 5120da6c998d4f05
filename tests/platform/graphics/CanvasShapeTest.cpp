// The canvas's shapes, lines and paths: pen and brush rules, the outlines the
// controls build their corners from, the fill modes, clipping and origins.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "common/ImageCheck.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Raster.h"

namespace {

constexpr TColor kBack = clWhite;
constexpr TColor kPen = clRed;
constexpr TColor kBrush = clBlue;

// A bitmap filled with kBack whose canvas has a kPen pen and a kBrush brush.
struct Board {
  TBitmap bmp;
  Board(int w, int h) : bmp(w, h) {
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(kBack);
    c.FillRect(Rect(0, 0, w, h));
    c.Pen().SetColor(kPen);
    c.Brush().SetColor(kBrush);
  }
  TCanvas& C() { return bmp.Canvas(); }
  TColor At(int x, int y) const { return bmp.ColorAt(x, y); }
  int Count(TColor c) const {
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x)
        n += bmp.ColorAt(x, y) == c ? 1 : 0;
    return n;
  }
  // The box holding every pixel that is not the background.
  TRect Painted() const {
    TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x)
        if (bmp.ColorAt(x, y) != kBack)
          r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
               std::max(r.Bottom, y + 1)};
    return r;
  }
  std::string Picture() const {
    return vark::testing::Ascii(bmp, {{kBack, '.'}, {kPen, '#'}, {kBrush, 'o'}});
  }
};

// Whether (x, y) lies in the discrete round rectangle of the rasteriser.
bool InShape(const TRect& box, int c, int x, int y) {
  int64_t l, r;
  return vark::raster::RoundRectSpan({box.Left, box.Top, box.Right, box.Bottom}, c, c, y, l, r) &&
         x >= l && x < r;
}

}  // namespace

TEST(CanvasFill, FillRectIsHalfOpenClippedAndSkipsEmptyOrClearInput) {
  Board b(10, 10);
  b.C().FillRect(Rect(2, 3, 6, 5));
  EXPECT_EQ(b.Painted(), Rect(2, 3, 6, 5));
  EXPECT_EQ(b.Count(kBrush), 8);

  Board e(10, 10);
  for (TRect r : {Rect(5, 5, 5, 9), Rect(6, 2, 3, 8), Rect(2, 8, 8, 2), Rect(20, 20, 30, 30),
                  Rect(INT_MIN, INT_MIN, INT_MIN + 5, 0)}) {
    e.C().FillRect(r);
  }
  e.C().Brush().SetStyle(bsClear);
  e.C().FillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(e.Count(kBack), 100);

  Board all(10, 10);
  all.C().FillRect(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
  EXPECT_EQ(all.Count(kBrush), 100);
}

TEST(CanvasLines, PenWidthsAndStyles) {
  // Width 0 draws as 1; a negative width is ignored; psClear draws nothing.
  Board zero(10, 3);
  zero.C().Pen().SetWidth(0);
  zero.C().MoveTo(1, 1);
  zero.C().LineTo(8, 1);
  EXPECT_EQ(zero.Painted(), Rect(1, 1, 8, 2));

  Board neg(20, 20);
  neg.C().Pen().SetWidth(3);
  neg.C().Pen().SetWidth(-4);
  EXPECT_EQ(neg.C().Pen().Width(), 3);
  neg.C().MoveTo(5, 10);
  neg.C().LineTo(15, 10);
  // Three rows, and round ends reaching one pixel past both end points.
  EXPECT_EQ(neg.Painted(), Rect(4, 9, 17, 12));

  Board clear(10, 10);
  clear.C().Pen().SetStyle(psClear);
  clear.C().MoveTo(0, 0);
  clear.C().LineTo(9, 9);
  clear.C().Rectangle(1, 1, 8, 8);
  EXPECT_EQ(clear.Count(kPen), 0);
  EXPECT_EQ(clear.C().PenPos(), Point(9, 9));  // the pen still moves
}

TEST(CanvasLines, JoinedLinesPaintEveryCornerOnceAndLeaveOutTheLastPoint) {
  Board b(10, 10);
  b.C().MoveTo(1, 1);
  b.C().LineTo(6, 1);
  b.C().LineTo(6, 6);
  b.C().LineTo(1, 6);
  b.C().LineTo(1, 1);
  EXPECT_EQ(b.Count(kPen), 20);  // the square's four sides of five pixels each
  EXPECT_EQ(b.At(1, 1), kPen);

  Board p(10, 10);
  std::vector<TPoint> pts{{1, 1}, {6, 1}, {6, 6}};
  p.C().Polyline(pts);
  EXPECT_EQ(p.At(6, 1), kPen);
  EXPECT_EQ(p.At(6, 5), kPen);
  EXPECT_EQ(p.At(6, 6), kBack);
}

TEST(CanvasShapes, RectangleOutlineAndFillFollowTheBox) {
  Board b(12, 12);
  b.C().Rectangle(2, 3, 9, 10);
  EXPECT_EQ(b.Painted(), Rect(2, 3, 9, 10));
  EXPECT_EQ(b.Count(kPen), 2 * 7 + 2 * 5);
  EXPECT_EQ(b.Count(kBrush), 5 * 5);
  // Reversed corners draw the same rectangle.
  Board r(12, 12);
  r.C().Rectangle(9, 10, 2, 3);
  EXPECT_EQ(r.Picture(), b.Picture());
  // A wide pen is centred on the edge, with round outer corners.
  Board w(20, 20);
  w.C().Pen().SetWidth(5);
  w.C().Rectangle(5, 5, 15, 15);
  EXPECT_EQ(w.Painted(), Rect(3, 3, 17, 17));
  EXPECT_EQ(w.At(3, 3), kBack);
  EXPECT_EQ(w.At(3, 5), kPen);
  EXPECT_EQ(w.At(7, 7), kPen);
  EXPECT_EQ(w.At(8, 8), kBrush);
}

// The button paints its corners with outlines RoundRect(0, 0, W, H, I, I) for
// I = 0..N, a clear brush and a one-pixel pen: together they must paint a
// frame and every pixel outside the rounded shape of corner N, and nothing
// inside its outline.
TEST(CanvasShapes, NestedRoundRectOutlinesCoverTheCorners) {
  struct Case {
    int w, h, n;
  };
  const Case cases[] = {{250, 41, 25}, {110, 40, 10}, {41, 41, 41}, {30, 12, 6},
                        {60, 60, 200}, {5, 5, 3},     {250, 41, 0}};
  for (const Case& c : cases) {
    Board b(c.w, c.h);
    b.C().Brush().SetStyle(bsClear);
    for (int i = 0; i <= c.n; ++i)
      b.C().RoundRect(0, 0, c.w, c.h, i, i);
    const TRect box = Rect(0, 0, c.w, c.h);
    bool ok = true;
    for (int y = 0; y < c.h && ok; ++y) {
      for (int x = 0; x < c.w && ok; ++x) {
        bool frame = x == 0 || y == 0 || x == c.w - 1 || y == c.h - 1;
        // Strictly inside: the pixel and its four neighbours are in the shape.
        bool interior = InShape(box, c.n, x, y) && InShape(box, c.n, x - 1, y) &&
                        InShape(box, c.n, x + 1, y) && InShape(box, c.n, x, y - 1) &&
                        InShape(box, c.n, x, y + 1);
        if (frame || !InShape(box, c.n, x, y)) {
          if (b.At(x, y) != kPen) ok = false;
        } else if (interior && b.At(x, y) != kBack) {
          ok = false;
        }
        if (!ok) ADD_FAILURE() << c.w << "x" << c.h << " corner " << c.n << " at " << x << "," << y;
      }
    }
  }
}

// The progress bar paints its corners with RoundRect(0, 0, W + 1, H + 1, I, I)
// for I = 1..N: the top and left edges and the corners, while the right and
// bottom edges of the outlines fall outside the bitmap.
TEST(CanvasShapes, OversizedOutlinesPaintTopLeftEdgesAndAllCorners) {
  const int w = 250, h = 9, n = 16;
  Board b(w, h);
  b.C().Brush().SetStyle(bsClear);
  for (int i = 1; i <= n; ++i)
    b.C().RoundRect(0, 0, w + 1, h + 1, i, i);
  const TRect box = Rect(0, 0, w + 1, h + 1);
  for (int x = 0; x < w; ++x)
    EXPECT_EQ(b.At(x, 0), kPen) << x;
  for (int y = 0; y < h; ++y)
    EXPECT_EQ(b.At(0, y), kPen) << y;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!InShape(box, n, x, y)) {
        EXPECT_EQ(b.At(x, y), kPen) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(b.At(w / 2, h - 1), kBack);
  EXPECT_EQ(b.At(w - 1, h / 2), kBack);
}

TEST(CanvasShapes, EllipsesAreSymmetricClosedAndCentredOnTheirEdge) {
  struct Case {
    TRect box;
    int pen;
    TRect painted;
  };
  // The icon's outlines: a width-p pen on the box inset by p / 2 fills the control.
  const Case cases[] = {
      {Rect(0, 0, 12, 12), 1, Rect(0, 0, 12, 12)}, {Rect(1, 1, 24, 24), 2, Rect(0, 0, 25, 25)},
      {Rect(3, 3, 57, 57), 6, Rect(0, 0, 60, 60)}, {Rect(3, 3, 57, 27), 6, Rect(0, 0, 60, 30)},
      {Rect(2, 2, 23, 23), 5, Rect(0, 0, 25, 25)}, {Rect(0, 0, 7, 30), 1, Rect(0, 0, 7, 30)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "pen " << c.pen << " box " << c.box.Left << "," << c.box.Top
                                    << "," << c.box.Right << "," << c.box.Bottom);
    const int w = c.painted.Right, h = c.painted.Bottom;
    Board b(w, h);
    b.C().Pen().SetWidth(c.pen);
    b.C().Ellipse(c.box);
    EXPECT_EQ(b.Painted(), c.painted);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        EXPECT_EQ(b.At(x, y), b.At(w - 1 - x, y));
        EXPECT_EQ(b.At(x, y), b.At(x, h - 1 - y));
        // The outline is closed: brush pixels only touch brush or pen.
        if (b.At(x, y) == kBrush) {
          for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            EXPECT_NE(b.At(x + dx, y + dy), kBack) << x << "," << y;
          }
        }
      }
    }
    EXPECT_GT(b.Count(kBrush), 0);
  }
}

TEST(CanvasShapes, ClearPenFillsTheWholeShapeAndNothingElse) {
  Board b(20, 20);
  b.C().Pen().SetStyle(psClear);
  b.C().Ellipse(2, 4, 18, 14);
  EXPECT_EQ(b.Painted(), Rect(2, 4, 18, 14));
  EXPECT_EQ(b.Count(kPen), 0);
  Board r(20, 20);
  r.C().Pen().SetStyle(psClear);
  r.C().RoundRect(2, 4, 18, 14, 6, 6);
  EXPECT_EQ(r.Painted(), Rect(2, 4, 18, 14));
  EXPECT_EQ(r.At(2, 4), kBack);
  EXPECT_EQ(r.At(2, 9), kBrush);
}

TEST(CanvasShapes, DegenerateShapesDrawNothing) {
  Board b(10, 10);
  b.C().Pen().SetWidth(4);
  b.C().Ellipse(5, 5, 5, 5);
  b.C().RoundRect(3, 3, 3, 9, 4, 4);
  b.C().Rectangle(2, 6, 8, 6);
  std::vector<TPoint> none;
  b.C().Polygon(none);
  b.C().Polyline(none);
  EXPECT_EQ(b.Count(kBack), 100);
}

namespace {

// The pentagram of a regular pentagon with side `side` whose top vertex is
// (x, y), traced through every second vertex as the star icon does.
void TraceStar(TCanvas& c, int x, int y, int side) {
  const int dx1 = static_cast<int>(side * 0.809), dy1 = static_cast<int>(side * 0.588);
  const int dx2 = side / 2, dy2 = static_cast<int>(side * 3.078 / 2);
  const TPoint p[5] = {
      {x, y}, {x - dx1, y + dy1}, {x - dx2, y + dy2}, {x + dx2, y + dy2}, {x + dx1, y + dy1}};
  c.MoveTo(p[0].X, p[0].Y);
  for (int i : {2, 4, 1, 3, 0})
    c.LineTo(p[i].X, p[i].Y);
}

}  // namespace

TEST(CanvasPaths, WindingFillsTheStarsCentreAndAlternateLeavesIt) {
  for (int mode : {WINDING, ALTERNATE}) {
    Board b(60, 60);
    b.C().BeginPath();
    TraceStar(b.C(), 30, 4, 34);
    b.C().EndPath();
    b.C().SetPolyFillMode(mode);
    b.C().FillPath();
    // Nothing is drawn with the pen, and the five points are filled.
    EXPECT_EQ(b.Count(kPen), 0);
    for (TPoint tip : {Point(30, 8), Point(8, 24), Point(16, 52), Point(44, 52), Point(52, 24)}) {
      EXPECT_EQ(b.At(tip.X, tip.Y), kBrush) << mode << " " << tip.X << "," << tip.Y;
    }
    EXPECT_EQ(b.At(30, 34), mode == WINDING ? kBrush : kBack) << b.Picture();
  }
}

TEST(CanvasPaths, PathIsConsumedAndLinesInsideItDrawNothing) {
  Board b(30, 30);
  b.C().BeginPath();
  b.C().MoveTo(2, 2);
  b.C().LineTo(20, 2);
  b.C().LineTo(20, 20);
  EXPECT_EQ(b.Count(kPen), 0);  // lines go into the path
  b.C().EndPath();
  b.C().SetPolyFillMode(7);  // unknown modes are refused
  EXPECT_EQ(b.C().PolyFillMode(), ALTERNATE);
  b.C().FillPath();
  const int filled = b.Count(kBrush);
  EXPECT_GT(filled, 100);  // the open figure was closed into a triangle
  b.C().Brush().SetColor(clLime);
  b.C().FillPath();  // the path is gone
  EXPECT_EQ(b.Count(clLime), 0);
  // After the path, lines draw again.
  b.C().MoveTo(0, 25);
  b.C().LineTo(10, 25);
  EXPECT_EQ(b.Count(kPen), 10);
}

TEST(CanvasPolygon, FillModeAppliesAndOutlineIsClosed) {
  std::vector<TPoint> two{{0, 0}, {12, 0}, {12, 12}, {0, 12}, {0, 0},
                          {6, 6}, {18, 6}, {18, 18}, {6, 18}, {6, 6}};
  Board alt(20, 20), wind(20, 20);
  alt.C().Pen().SetStyle(psClear);
  wind.C().Pen().SetStyle(psClear);
  wind.C().SetPolyFillMode(WINDING);
  alt.C().Polygon(two);
  wind.C().Polygon(two);
  EXPECT_EQ(alt.At(9, 9), kBack);
  EXPECT_EQ(wind.At(9, 9), kBrush);

  Board tri(20, 20);
  std::vector<TPoint> t{{2, 2}, {17, 2}, {10, 16}};
  tri.C().Polygon(t);
  for (const TPoint& v : t)
    EXPECT_EQ(tri.At(v.X, v.Y), kPen);
  EXPECT_EQ(tri.At(10, 6), kBrush);
}

TEST(CanvasOrigin, DrawsAtOriginClipsToTheBoundRectAndSurvivesExtremeOrigins) {
  TBitmap back(40, 40);
  TCanvas c;
  c.Bind(&back, Point(10, 20), Rect(10, 20, 30, 25));
  EXPECT_EQ(c.ClipRect(), Rect(0, 0, 20, 5));
  c.Brush().SetColor(clRed);
  c.FillRect(Rect(-5, -5, 100, 100));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      EXPECT_EQ(back.ColorAt(x, y) == clRed, x >= 10 && x < 30 && y >= 20 && y < 25);
  EXPECT_EQ(c.Pixel(0, 0), clRed);
  EXPECT_EQ(c.Pixel(-1, 0), clBlack);  // outside the clip

  // Origins at the ends of int: logical + origin must not overflow.
  for (TPoint o : {Point(INT_MAX, INT_MAX), Point(INT_MIN, INT_MIN), Point(INT_MIN, INT_MAX)}) {
    TBitmap b(8, 8);
    TCanvas k;
    k.Bind(&b, o, Rect(0, 0, 8, 8));
    k.Brush().SetColor(clLime);
    k.Pen().SetWidth(3);
    k.FillRect(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    k.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    k.MoveTo(INT_MIN, INT_MAX);
    k.LineTo(INT_MAX, INT_MIN);
    std::vector<TPoint> poly{{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}};
    k.Polygon(poly);
    k.TextOut(INT_MAX, INT_MAX, "x");
    k.SetPixel(INT_MIN, INT_MIN, clRed);
    (void)k.Pixel(INT_MAX, INT_MIN);
    (void)k.ClipRect();
  }
  // A logical rectangle that reaches device (0, 0) from a huge origin.
  TBitmap b(4, 4);
  TCanvas k;
  k.Bind(&b, Point(INT_MAX - 1, INT_MIN + 2), Rect(0, 0, 4, 4));
  k.Brush().SetColor(clLime);
  k.FillRect(Rect(-(INT_MAX - 1), INT_MAX - 1, -(INT_MAX - 1) + 2, INT_MAX));
  EXPECT_EQ(b.ColorAt(0, 0), clLime);
  EXPECT_EQ(b.ColorAt(1, 0), clLime);
  EXPECT_EQ(b.ColorAt(2, 0), clBlack);
}

TEST(CanvasNullTarget, DrawsNothingRecordsEverythingAndStillMeasures) {
  TCanvas c;
  CanvasRecorder rec;
  c.SetRecorder(&rec);
  int damaged = 0;
  c.SetDamageListener([&](const TRect&) { ++damaged; });
  c.FillRect(Rect(0, 0, 10, 10));
  c.Ellipse(0, 0, 10, 10);
  c.MoveTo(0, 0);
  c.LineTo(5, 5);
  c.TextOut(0, 0, "Launch");
  TCanvas other;
  c.CopyRect(Rect(0, 0, 5, 5), other, Rect(0, 0, 5, 5));
  c.BeginPath();
  c.EndPath();
  c.FillPath();
  EXPECT_EQ(c.Pixel(0, 0), clBlack);
  EXPECT_EQ(damaged, 0);
  EXPECT_EQ(rec.calls.size(), 9u);
  EXPECT_GT(c.TextWidth("Launch"), 0);
  EXPECT_GT(c.TextHeight("Launch"), 0);
}

TEST(CanvasRecorder, LogsLogicalArgumentsWithThePenBrushAndFontInForce) {
  TBitmap b(30, 30);
  TCanvas c;
  c.Bind(&b, Point(5, 5), Rect(0, 0, 30, 30));
  CanvasRecorder rec;
  c.SetRecorder(&rec);
  c.Pen().SetWidth(2);
  c.Pen().SetColor(0x0016F900);
  c.Brush().SetColor(0x0000E900);
  c.Font().SetName("Segoe UI");
  c.Font().SetSize(9);
  c.Ellipse(1, 1, 24, 24);
  c.Brush().SetStyle(bsClear);
  c.MoveTo(5, 13);
  c.LineTo(10, 17);
  c.TextOut(3, 4, "?");
  std::vector<TPoint> pts{{1, 2}, {3, 4}};
  c.Polygon(pts);

  auto e = rec.Of("Ellipse");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].args, (std::vector<int>{1, 1, 24, 24}));
  EXPECT_EQ(e[0].penWidth, 2);
  EXPECT_EQ(e[0].penColor, 0x0016F900u);
  EXPECT_EQ(e[0].brushColor, 0x0000E900u);
  EXPECT_EQ(e[0].brushStyle, bsSolid);
  auto l = rec.Of("LineTo");
  ASSERT_EQ(l.size(), 1u);
  EXPECT_EQ(l[0].args, (std::vector<int>{10, 17}));
  EXPECT_EQ(l[0].brushStyle, bsClear);
  auto t = rec.Of("TextOut");
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].text, "?");
  EXPECT_EQ(t[0].fontName, "Segoe UI");
  EXPECT_EQ(t[0].fontSize, 9);
  EXPECT_EQ(rec.Of("Polygon")[0].args, (std::vector<int>{1, 2, 3, 4}));
  std::vector<std::string> ops;
  for (const CanvasCall& call : rec.calls)
    ops.push_back(call.op);
  EXPECT_EQ(ops, (std::vector<std::string>{"Ellipse", "MoveTo", "LineTo", "TextOut", "Polygon"}));
  c.SetRecorder(nullptr);
  c.FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(rec.calls.size(), 5u);
}

TEST(CanvasDamage, ReportsTheClippedDeviceRectangleOfWhatChanged) {
  TBitmap b(50, 50);
  TCanvas c;
  c.Bind(&b, Point(10, 10), Rect(10, 10, 40, 40));
  std::vector<TRect> got;
  c.SetDamageListener([&](const TRect& r) { got.push_back(r); });
  c.FillRect(Rect(-5, 2, 8, 6));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], Rect(10, 12, 18, 16));
  got.clear();
  c.Brush().SetStyle(bsClear);
  c.FillRect(Rect(0, 0, 5, 5));          // nothing drawn
  c.FillRect(Rect(100, 100, 200, 200));  // outside the clip
  EXPECT_TRUE(got.empty());
  c.Pen().SetWidth(1);
  c.MoveTo(0, 0);
  c.LineTo(4, 0);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], Rect(10, 10, 14, 11));
}
