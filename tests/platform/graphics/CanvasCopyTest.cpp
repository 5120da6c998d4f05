// Bitmaps and the copies between canvases: sizes and memory, raw pixel
// copies, nearest stretching, mirroring, clipping and self-overlap.
#include <gtest/gtest.h>

#include <climits>

#include "common/ImageCheck.h"
#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace {

// A w × h bitmap whose pixel (x, y) holds a colour unique to it, with an
// alpha byte that is not opaque, so raw copies can be told from repaints.
void Pattern(TBitmap& b, int w, int h) {
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.ScanLine(y)[x] = 0x80000000u | (uint32_t(x) << 8) | uint32_t(y);
}

int X(Pixel p) {
  return static_cast<int>((p >> 8) & 0xFF);
}
int Y(Pixel p) {
  return static_cast<int>(p & 0xFF);
}

}  // namespace

TEST(Bitmap, SizesClampRefuseTheHugeAndReuseMemory) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  b.SetSize(-3, 5);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_TRUE(b.Empty());

  b.SetSize(100, 80);
  b.ScanLine(79)[99] = 0xFF123456;
  const Pixel* before = b.Bits();
  b.SetSize(100, 80);  // same size: pixels stay
  EXPECT_EQ(b.ScanLine(79)[99], 0xFF123456u);
  b.SetSize(60, 60);  // smaller: same memory, cleared
  EXPECT_EQ(b.Bits(), before);
  EXPECT_EQ(b.ScanLine(59)[59], 0u);

  EXPECT_THROW(b.SetSize(100000, 100000), EInvalidGraphic);
  EXPECT_THROW(b.SetSize(INT_MAX, INT_MAX), EInvalidGraphic);
  EXPECT_EQ(b.Width(), 60);  // a refused size leaves the bitmap as it was
  EXPECT_THROW(b.SetSize(static_cast<int>(TBitmap::kMaxPixels / 2), 3), EInvalidGraphic);

  // The canvas's clip follows the bitmap's size.
  EXPECT_EQ(b.Canvas().ClipRect(), Rect(0, 0, 60, 60));
  b.SetSize(10, 4);
  EXPECT_EQ(b.Canvas().ClipRect(), Rect(0, 0, 10, 4));
}

TEST(Bitmap, AssignAndCloneCopySizeFormatsAndPixels) {
  TBitmap src;
  Pattern(src, 7, 3);
  src.SetPixelFormat(pf32bit);
  src.SetAlphaFormat(afPremultiplied);
  TBitmap dst(2, 2);
  dst.Assign(src);
  EXPECT_EQ(dst.Width(), 7);
  EXPECT_EQ(dst.Height(), 3);
  EXPECT_EQ(dst.PixelFormat(), pf32bit);
  EXPECT_EQ(dst.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(dst.ScanLine(2)[6], src.ScanLine(2)[6]);
  dst.Assign(dst);  // assigning to itself changes nothing
  EXPECT_EQ(dst.Width(), 7);
  auto clone = src.Clone();
  EXPECT_EQ(clone->Width(), 7);
  EXPECT_EQ(static_cast<TBitmap&>(*clone).ScanLine(1)[4], src.ScanLine(1)[4]);
  TBitmap empty;
  dst.Assign(empty);
  EXPECT_TRUE(dst.Empty());
}

TEST(CopyRect, SameSizeCopiesRawPixelsOnlyInsideTheClip) {
  TBitmap src, dst(10, 10);
  Pattern(src, 10, 10);
  dst.Canvas().CopyRect(Rect(2, 3, 6, 5), src.Canvas(), Rect(5, 1, 9, 3));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      Pixel p = dst.ScanLine(y)[x];
      if (x >= 2 && x < 6 && y >= 3 && y < 5) {
        EXPECT_EQ(p, src.ScanLine(y - 2)[x + 3]);  // alpha byte included
      } else {
        EXPECT_EQ(p, 0u);
      }
    }
  }
  // Parts outside either bitmap are skipped; the rest lands in place.
  TBitmap d2(10, 10);
  d2.Canvas().CopyRect(Rect(-2, -2, 4, 4), src.Canvas(), Rect(6, 6, 12, 12));
  EXPECT_EQ(d2.ScanLine(0)[0], src.ScanLine(8)[8]);
  EXPECT_EQ(d2.ScanLine(1)[1], src.ScanLine(9)[9]);
  EXPECT_EQ(d2.ScanLine(2)[2], 0u);  // source (10, 10) does not exist
}

TEST(CopyRect, StretchesWithNearestSamplingAndMirrorsFlippedRectangles) {
  TBitmap src;
  Pattern(src, 4, 2);
  struct Case {
    TRect dest, srcRect;
    std::vector<int> xs;  // source column of each destination column of row 0
  };
  const Case cases[] = {
      {Rect(0, 0, 8, 1), Rect(0, 0, 4, 1), {0, 0, 1, 1, 2, 2, 3, 3}},
      {Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), {1, 3}},
      {Rect(0, 0, 3, 1), Rect(0, 0, 4, 1), {0, 2, 3}},
      {Rect(0, 0, 4, 1), Rect(4, 0, 0, 1), {3, 2, 1, 0}},
      {Rect(4, 0, 0, 1), Rect(0, 0, 4, 1), {3, 2, 1, 0}},
      {Rect(4, 0, 0, 1), Rect(4, 0, 0, 1), {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    TBitmap dst(8, 1);
    dst.Canvas().CopyRect(c.dest, src.Canvas(), c.srcRect);
    for (size_t i = 0; i < c.xs.size(); ++i) {
      EXPECT_EQ(X(dst.ScanLine(0)[i]), c.xs[i])
          << "case dest " << c.dest.Left << ".." << c.dest.Right << " column " << i;
    }
  }
  // Rows stretch the same way: 2 rows into 6 repeat each three times.
  TBitmap tall(1, 6);
  tall.Canvas().CopyRect(Rect(0, 0, 1, 6), src.Canvas(), Rect(0, 0, 1, 2));
  for (int y = 0; y < 6; ++y)
    EXPECT_EQ(Y(tall.ScanLine(y)[0]), y / 3);
}

TEST(CopyRect, EmptyRectanglesAndMissingSourcesCopyNothing) {
  TBitmap src, dst(6, 6);
  Pattern(src, 6, 6);
  for (auto [d, s] : {std::pair{Rect(0, 0, 6, 6), Rect(2, 0, 2, 6)},
                      std::pair{Rect(0, 0, 6, 6), Rect(0, 3, 6, 3)},
                      std::pair{Rect(3, 0, 3, 6), Rect(0, 0, 6, 6)},
                      std::pair{Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), Rect(0, 0, 0, 0)}}) {
    dst.Canvas().CopyRect(d, src.Canvas(), s);
  }
  TCanvas detached;
  dst.Canvas().CopyRect(Rect(0, 0, 6, 6), detached, Rect(0, 0, 6, 6));
  TBitmap none;
  dst.Canvas().CopyRect(Rect(0, 0, 6, 6), none.Canvas(), Rect(0, 0, 6, 6));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(dst.ScanLine(y)[x], 0u);
  // A huge destination from a small source stays exact where it is visible.
  dst.Canvas().CopyRect(Rect(-1000000000, 0, 1000000000, 6), src.Canvas(), Rect(0, 0, 2, 6));
  EXPECT_EQ(X(dst.ScanLine(0)[0]), 1);
}

TEST(CopyRect, OverlappingCopyWithinOneBitmapReadsThePixelsAsTheyWere) {
  TBitmap b;
  Pattern(b, 8, 8);
  TBitmap orig;
  orig.Assign(b);
  b.Canvas().CopyRect(Rect(1, 1, 8, 8), b.Canvas(), Rect(0, 0, 7, 7));
  for (int y = 1; y < 8; ++y)
    for (int x = 1; x < 8; ++x)
      EXPECT_EQ(b.ScanLine(y)[x], orig.ScanLine(y - 1)[x - 1]);
}

TEST(CopyRect, SourceOriginAndDestinationClipApply) {
  TBitmap src, back(20, 20);
  Pattern(src, 20, 20);
  TCanvas from, to;
  from.Bind(&src, Point(5, 5), Rect(0, 0, 20, 20));
  to.Bind(&back, Point(10, 0), Rect(10, 0, 14, 20));
  to.CopyRect(Rect(0, 0, 8, 2), from, Rect(0, 0, 8, 2));
  EXPECT_EQ(back.ScanLine(0)[10], src.ScanLine(5)[5]);
  EXPECT_EQ(back.ScanLine(1)[13], src.ScanLine(6)[8]);
  EXPECT_EQ(back.ScanLine(0)[14], 0u);  // clipped
}

TEST(BitmapDraw, OpaqueBitmapsDrawAsPixelCopiesAtTheirSizeOrStretched) {
  TBitmap pic(2, 2);
  pic.Canvas().Brush().SetColor(clRed);
  pic.Canvas().FillRect(Rect(0, 0, 1, 2));
  pic.Canvas().Brush().SetColor(clLime);
  pic.Canvas().FillRect(Rect(1, 0, 2, 2));
  TBitmap dst(8, 8);
  CanvasRecorder rec;
  dst.Canvas().SetRecorder(&rec);
  dst.Canvas().Draw(3, 3, pic);
  EXPECT_EQ(dst.ColorAt(3, 4), clRed);
  EXPECT_EQ(dst.ColorAt(4, 4), clLime);
  EXPECT_EQ(dst.ColorAt(5, 4), clBlack);
  dst.Canvas().StretchDraw(Rect(0, 6, 8, 8), pic);
  EXPECT_EQ(dst.ColorAt(3, 7), clRed);
  EXPECT_EQ(dst.ColorAt(4, 7), clLime);
  ASSERT_EQ(rec.calls.size(), 2u);
  EXPECT_EQ(rec.calls[0].op, "Draw");
  EXPECT_EQ(rec.calls[0].args, (std::vector<int>{3, 3}));
  EXPECT_EQ(rec.calls[1].op, "StretchDraw");
  // Drawing an empty bitmap or onto itself is harmless.
  TBitmap empty;
  dst.Canvas().Draw(0, 0, empty);
  dst.Canvas().Draw(1, 0, dst);
  EXPECT_EQ(dst.ColorAt(4, 4), clRed);
}

TEST(BitmapDraw, BitmapsWithAlphaCompositeByTheirAlphaFormat) {
  // One pixel of black at half alpha, stored premultiplied and straight.
  struct Case {
    TPixelFormat format;
    TAlphaFormat alpha;
    Pixel stored;
    int red;  // over white
  };
  const Case cases[] = {
      {pf32bit, afPremultiplied, 0x80000000u, 127}, {pf32bit, afDefined, 0x80000000u, 127},
      {pf32bit, afDefined, 0x80FFFFFFu, 255},      // straight white at half alpha
      {pf32bit, afIgnored, 0x80000000u, 0},        // alpha ignored: opaque black
      {pf24bit, afPremultiplied, 0x00000000u, 0},  // 24-bit: opaque whatever the byte says
  };
  for (const Case& c : cases) {
    TBitmap pic(1, 1);
    pic.SetPixelFormat(c.format);
    pic.SetAlphaFormat(c.alpha);
    pic.ScanLine(0)[0] = c.stored;
    TBitmap dst(3, 1);
    dst.Canvas().Brush().SetColor(clWhite);
    dst.Canvas().FillRect(Rect(0, 0, 3, 1));
    dst.Canvas().Draw(1, 0, pic);
    EXPECT_NEAR(GetRValue(dst.ColorAt(1, 0)), c.red, 2) << int(c.format) << "/" << int(c.alpha);
    EXPECT_EQ(dst.ColorAt(0, 0), clWhite);
    EXPECT_EQ(dst.ColorAt(2, 0), clWhite);
  }
}
