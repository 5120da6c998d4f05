// Drawing helpers: gradient columns, the font size search and the rounded
// region copy, by exact pixels and by the calls they make on the canvas.
#include "support/Vark.Graphics.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>

#include "common/ImageCheck.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Raster.h"

TEST(GradHorizontal, ColumnsStepWithTheCeilingOfTheRealStep) {
  struct Case {
    TColor from, to;
    std::vector<int> reds;
  };
  const Case cases[] = {
      {clBlack, clRed, {0, 64, 128, 192}},    // ceil of 63.75, 127.5, 191.25
      {clRed, clBlack, {255, 192, 128, 64}},  // the ceiling of a falling step
      {RGB(10, 0, 0), RGB(13, 0, 0), {10, 11, 12, 13}},
  };
  for (const Case& c : cases) {
    TBitmap b(4, 3);
    CanvasRecorder rec;
    b.Canvas().SetRecorder(&rec);
    GradHorizontal(b.Canvas(), Rect(0, 0, 4, 3), c.from, c.to);
    for (int x = 0; x < 4; ++x) {
      for (int y = 0; y < 3; ++y)
        EXPECT_EQ(b.ColorAt(x, y), RGB(uint8_t(c.reds[x]), 0, 0));
    }
    // One vertical line per column, top to bottom, in the column's colour.
    auto lines = rec.Of("LineTo");
    ASSERT_EQ(lines.size(), 4u);
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(lines[x].args, (std::vector<int>{x, 3}));
      EXPECT_EQ(lines[x].penColor, RGB(uint8_t(c.reds[x]), 0, 0));
    }
  }
}

TEST(GradHorizontal, ResolvesSystemColoursAndIgnoresEmptyOrHugeRectangles) {
  TBitmap b(2, 1);
  GradHorizontal(b.Canvas(), Rect(0, 0, 2, 1), clBtnFace, clWindow);
  EXPECT_EQ(b.ColorAt(0, 0), 0x00F0F0F0u);
  EXPECT_EQ(b.ColorAt(1, 0), 0x00F8F8F8u);

  TBitmap e(4, 4);
  CanvasRecorder rec;
  e.Canvas().SetRecorder(&rec);
  GradHorizontal(e.Canvas(), Rect(3, 0, 3, 4), clRed, clBlue);
  GradHorizontal(e.Canvas(), Rect(3, 0, 1, 4), clRed, clBlue);
  EXPECT_TRUE(rec.calls.empty());

  // A rectangle wider than any surface: only what can show is drawn, with the
  // colours its columns have counted from its own left edge.
  TBitmap w(8, 2);
  GradHorizontal(w.Canvas(), Rect(INT_MIN, 0, INT_MAX, 2), clBlack, clWhite);
  const double step = 255.0 / (double(INT_MAX) - INT_MIN);
  const int expect = static_cast<int>(std::ceil(-double(INT_MIN) * step));
  EXPECT_EQ(GetRValue(w.ColorAt(0, 0)), expect);
  EXPECT_EQ(w.Canvas().Pen().Color(), clWhite);  // the last column's colour
}

TEST(GetMaxFontSize, FindsTheLargestSizeThatFits) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  c.Font().SetName("Segoe UI");
  c.Font().SetSize(7);
  EXPECT_EQ(GetMaxFontSize(c, "", 100, 100), 0);
  EXPECT_EQ(c.Font().Size(), 7);  // untouched

  EXPECT_EQ(GetMaxFontSize(c, "Launch", 3, 3), 1);
  EXPECT_EQ(c.Font().Size(), 1);

  for (auto [w, h] : {std::pair{120, 40}, {60, 200}, {300, 20}, {40, 40}}) {
    const int size = GetMaxFontSize(c, "Launch", w, h);
    ASSERT_GT(size, 1);
    EXPECT_EQ(c.Font().Size(), size);
    const TSize fits = c.TextExtent("Launch");
    EXPECT_LE(fits.cx, w);
    EXPECT_LE(fits.cy, h);
    c.Font().SetSize(size + 1);
    const TSize over = c.TextExtent("Launch");
    // One size more reaches a limit (exactly reaching it ends the search
    // upwards, so that size is never taken).
    EXPECT_TRUE(over.cx >= w || over.cy >= h) << w << "x" << h << " size " << size;
  }
  // A box no text can fill still ends, at the largest size there is.
  EXPECT_EQ(GetMaxFontSize(c, "x", INT_MAX, INT_MAX), 1536);
  EXPECT_EQ(c.Font().Size(), 1536);
}

namespace {

// A bitmap whose every pixel has its own colour.
void Pattern(TBitmap& b, int w, int h) {
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.ScanLine(y)[x] = OpaquePixel(RGB(uint8_t(x), uint8_t(y), 77));
}

constexpr Pixel kUntouched = 0xFF123456;

void Fill(TBitmap& b, int w, int h) {
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.ScanLine(y)[x] = kUntouched;
}

}  // namespace

TEST(CopyRoundRect, StripCountsGrowWithTheLargerSide) {
  struct Case {
    int w, h;
    size_t copies;  // per half 90·n + 1, plus the band
  };
  const Case cases[] = {
      {90, 20, 2 * 91 + 1}, {60, 60, 2 * 91 + 1}, {135, 30, 2 * 271 + 1}, {250, 9, 2 * 361 + 1}};
  for (const Case& c : cases) {
    TBitmap src, dst;
    Pattern(src, c.w, c.h);
    Fill(dst, c.w, c.h);
    CanvasRecorder rec;
    dst.Canvas().SetRecorder(&rec);
    CopyRoundRect(src.Canvas(), RoundRect(Rect(0, 0, c.w, c.h), 8, 8), dst.Canvas(),
                  Rect(0, 0, c.w, c.h), 0);
    EXPECT_EQ(rec.Of("CopyRect").size(), c.copies) << c.w << "x" << c.h;
  }
}

TEST(CopyRoundRect, EmptySourcesCopyNothing) {
  TBitmap src, dst;
  Pattern(src, 20, 20);
  Fill(dst, 20, 20);
  CanvasRecorder rec;
  dst.Canvas().SetRecorder(&rec);
  CopyRoundRect(src.Canvas(), RoundRect(Rect(5, 0, 5, 20), 4, 4), dst.Canvas(), Rect(0, 0, 20, 20),
                0);
  CopyRoundRect(src.Canvas(), RoundRect(Rect(0, 5, 20, 5), 4, 4), dst.Canvas(), Rect(0, 0, 20, 20),
                0);
  CopyRoundRect(src.Canvas(), RoundRect(Rect(0, 0, 0, 0), 4, 4), dst.Canvas(), Rect(0, 0, 0, 0), 0);
  // Shrunk past nothing: one pixel wide with a border of one.
  CopyRoundRect(src.Canvas(), RoundRect(Rect(3, 3, 4, 10), 4, 4), dst.Canvas(), Rect(3, 3, 4, 10),
                1);
  EXPECT_TRUE(rec.calls.empty());
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      EXPECT_EQ(dst.ScanLine(y)[x], kUntouched);
}

// The progress bar's use: its whole bitmap, equal corners, a border of one.
// What is copied lands where it came from, covers the rounded shape of the
// shrunk rectangle, stays symmetric, and leaves the corners alone.
TEST(CopyRoundRect, SameSizeCopyCoversTheRoundedShapeAndLeavesTheCorners) {
  struct Case {
    int w, h, round;
  };
  const Case cases[] = {{250, 9, 16}, {120, 40, 16}, {60, 60, 30}, {200, 50, 0}, {91, 33, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " round " << c.round);
    TBitmap src, dst;
    Pattern(src, c.w, c.h);
    Fill(dst, c.w, c.h);
    CopyRoundRect(src.Canvas(), RoundRect(Rect(0, 0, c.w, c.h), c.round, c.round), dst.Canvas(),
                  Rect(0, 0, c.w, c.h), 1);
    const vark::raster::Rect64 inner{1, 1, c.w - 1, c.h - 1};
    for (int y = 0; y < c.h; ++y) {
      for (int x = 0; x < c.w; ++x) {
        const Pixel p = dst.ScanLine(y)[x];
        const bool copied = p != kUntouched;
        if (copied) {
          ASSERT_EQ(p, src.ScanLine(y)[x]) << x << "," << y;
        }
        EXPECT_EQ(copied, dst.ScanLine(y)[c.w - 1 - x] != kUntouched) << x << "," << y;
        EXPECT_EQ(copied, dst.ScanLine(c.h - 1 - y)[x] != kUntouched) << x << "," << y;
        int64_t l, r;
        const bool inShape = vark::raster::RoundRectSpan(inner, std::min(c.round, c.w - 2),
                                                         std::min(c.round, c.h - 2), y, l, r) &&
                             x >= l && x < r;
        if (inShape) {
          EXPECT_TRUE(copied) << x << "," << y;
        }
      }
    }
    // The outermost corner pixels are never copied; with a corner that fits
    // the shrunk rectangle, neither is the next pixel along the diagonal.
    if (c.round >= 6) {
      for (auto [x, y] : {std::pair{0, 0}, {c.w - 1, 0}, {0, c.h - 1}, {c.w - 1, c.h - 1}}) {
        EXPECT_EQ(dst.ScanLine(y)[x], kUntouched) << x << "," << y;
      }
    }
    if (c.round >= 6 && c.round <= std::min(c.w, c.h) - 2) {
      for (auto [x, y] : {std::pair{1, 1}, {c.w - 2, 1}, {1, c.h - 2}, {c.w - 2, c.h - 2}}) {
        EXPECT_EQ(dst.ScanLine(y)[x], kUntouched) << x << "," << y;
      }
    }
  }
}

// Without rounding the copy takes a shortcut (one copy instead of a strip per
// step of the arc). Corners of 1 round to the same degenerate arcs through the
// full strip sequence, so both must give the same pixels, stretched or not.
TEST(CopyRoundRect, UnroundedShortcutMatchesTheStripSequence) {
  struct Case {
    int sw, sh;
    TRect dest;
    int shrink;
  };
  const Case cases[] = {{250, 9, Rect(0, 0, 250, 9), 1},
                        {50, 5, Rect(0, 0, 250, 9), 1},
                        {40, 30, Rect(7, 3, 29, 61), 0},
                        {120, 12, Rect(-10, 2, 90, 14), 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " shrink " << c.shrink);
    TBitmap src, fast, full;
    Pattern(src, c.sw, c.sh);
    Fill(fast, 300, 70);
    Fill(full, 300, 70);
    CanvasRecorder rec;
    fast.Canvas().SetRecorder(&rec);
    CopyRoundRect(src.Canvas(), RoundRect(Rect(0, 0, c.sw, c.sh), 0, 0), fast.Canvas(), c.dest,
                  c.shrink);
    CopyRoundRect(src.Canvas(), RoundRect(Rect(0, 0, c.sw, c.sh), 1, 1), full.Canvas(), c.dest,
                  c.shrink);
    EXPECT_EQ(rec.Of("CopyRect").size(), 1u);
    for (int y = 0; y < 70; ++y)
      for (int x = 0; x < 300; ++x)
        ASSERT_EQ(fast.ScanLine(y)[x], full.ScanLine(y)[x]) << x << "," << y;
  }
}

TEST(CopyRoundRect, StretchedCopyStaysInsideTheDestination) {
  TBitmap src, dst;
  Pattern(src, 50, 5);
  Fill(dst, 300, 20);
  CopyRoundRect(src.Canvas(), RoundRect(Rect(0, 0, 50, 5), 4, 4), dst.Canvas(),
                Rect(20, 5, 270, 14), 1);
  int copied = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 300; ++x) {
      if (dst.ScanLine(y)[x] == kUntouched) continue;
      ++copied;
      EXPECT_TRUE(x >= 20 && x < 270 && y >= 5 && y < 14) << x << "," << y;
    }
  }
  EXPECT_GT(copied, 240 * 5);
  EXPECT_EQ(dst.ScanLine(9)[145], src.ScanLine(2)[25]);  // the middle maps to the middle
}
