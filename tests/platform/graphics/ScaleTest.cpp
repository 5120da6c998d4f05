// Scaled, translucent drawing: premultiplied source-over on exact pixels,
// opacity, how each alpha format is read, the filters, the half-pixel offset,
// the edge modes and clipping.
#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Scale.h"

namespace {

using vark::DrawScaled;
using vark::EdgeMode;
using vark::ScaleFilter;

Pixel Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// An opaque canvas-like target of one colour.
void Fill(TBitmap& bmp, Pixel p) {
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x)
      bmp.ScanLine(y)[x] = p;
  }
}

TBitmap& Source(TBitmap& bmp, TAlphaFormat format, std::initializer_list<Pixel> pixels) {
  bmp.SetPixelFormat(pf32bit);
  bmp.SetAlphaFormat(format);
  int i = 0;
  for (Pixel p : pixels) {
    bmp.ScanLine(i / bmp.Width())[i % bmp.Width()] = p;
    ++i;
  }
  return bmp;
}

void ExpectPixel(Pixel actual, Pixel expected, int tolerance = 0) {
  for (int shift : {0, 8, 16, 24}) {
    EXPECT_NEAR(static_cast<int>((actual >> shift) & 0xFF),
                static_cast<int>((expected >> shift) & 0xFF), tolerance)
        << std::hex << actual << " expected " << expected;
  }
}

TEST(DrawScaled, CompositesByAlphaFormatAndOpacity) {
  const Pixel white = Argb(255, 255, 255, 255);
  const struct {
    const char* name;
    TAlphaFormat format;
    Pixel source;
    uint8_t opacity;
    Pixel expected;
  } cases[] = {
      // A 50% opaque premultiplied red over white: 128 + 255 * 127 / 255.
      {"premultiplied half red", afPremultiplied, Argb(128, 128, 0, 0), 255,
       Argb(255, 255, 127, 127)},
      // Straight alpha: the colour is multiplied by its alpha first.
      {"straight half red", afDefined, Argb(128, 255, 0, 0), 255, Argb(255, 255, 127, 127)},
      // Alpha ignored: the pixel is opaque whatever its alpha byte says.
      {"alpha ignored", afIgnored, Argb(0, 10, 20, 30), 255, Argb(255, 10, 20, 30)},
      // Opacity scales alpha: opaque red at 128 is the same as the half red.
      {"opacity 128", afPremultiplied, Argb(255, 255, 0, 0), 128, Argb(255, 255, 127, 127)},
      {"opacity and alpha multiply", afPremultiplied, Argb(128, 128, 0, 0), 128,
       Argb(255, 255, 191, 191)},
      {"opacity 255 on opaque", afPremultiplied, Argb(255, 1, 2, 3), 255, Argb(255, 1, 2, 3)},
      {"fully transparent", afPremultiplied, Argb(0, 0, 0, 0), 255, white},
      {"opacity 0 draws nothing", afPremultiplied, Argb(255, 0, 0, 0), 0, white},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap src(1, 1);
    Source(src, c.format, {c.source});
    TBitmap dst(3, 3);
    Fill(dst, white);
    DrawScaled(dst, Rect(0, 0, 3, 3), Rect(1, 1, 2, 2), src, Rect(0, 0, 1, 1), c.opacity,
               ScaleFilter::Bilinear, true, EdgeMode::Clamp);
    ExpectPixel(dst.PixelAt(1, 1), c.expected, 1);
    ExpectPixel(dst.PixelAt(0, 0), white);
    ExpectPixel(dst.PixelAt(2, 2), white);
  }

  // A 24-bit source is opaque too.
  TBitmap src(1, 1);
  Source(src, afPremultiplied, {Argb(0, 9, 9, 9)});
  src.SetPixelFormat(pf24bit);
  TBitmap dst(1, 1);
  Fill(dst, white);
  DrawScaled(dst, Rect(0, 0, 1, 1), Rect(0, 0, 1, 1), src, Rect(0, 0, 1, 1), 255,
             ScaleFilter::Nearest, true, EdgeMode::Clamp);
  ExpectPixel(dst.PixelAt(0, 0), Argb(255, 9, 9, 9));
}

TEST(DrawScaled, NearestAndBilinearWithAndWithoutHalfPixelOffset) {
  // A black and a white pixel stretched to four.
  TBitmap src(2, 1);
  Source(src, afPremultiplied, {Argb(255, 0, 0, 0), Argb(255, 255, 255, 255)});
  const auto row = [&](ScaleFilter filter, bool half) {
    TBitmap dst(4, 1);
    DrawScaled(dst, Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), src, Rect(0, 0, 2, 1), 255, filter, half,
               EdgeMode::Clamp);
    std::vector<int> out;
    for (int x = 0; x < 4; ++x)
      out.push_back(GetRValue(dst.ColorAt(x, 0)));
    return out;
  };
  // Nearest: each source pixel becomes a pair.
  EXPECT_EQ(row(ScaleFilter::Nearest, true), (std::vector<int>{0, 0, 255, 255}));
  // Bilinear at pixel centres: sample points 0.25, 0.75, 1.25, 1.75 of the
  // source, whose centres are 0.5 and 1.5.
  const std::vector<int> half = row(ScaleFilter::Bilinear, true);
  const std::vector<int> expectedHalf = {0, 64, 191, 255};
  for (int x = 0; x < 4; ++x)
    EXPECT_NEAR(half[x], expectedHalf[x], 2) << x;
  // The same far from the origin, beyond pixman's 16-bit fixed-point range.
  TBitmap wide(40000, 1);
  DrawScaled(wide, Rect(0, 0, 40000, 1), Rect(39990, 0, 39994, 1), src, Rect(0, 0, 2, 1), 255,
             ScaleFilter::Bilinear, true, EdgeMode::Clamp);
  for (int x = 0; x < 4; ++x) {
    EXPECT_NEAR(GetRValue(wide.ColorAt(39990 + x, 0)), expectedHalf[x], 2) << x;
  }
  // Without the offset, pixel x samples the source at x / 2: 0, 0.5, 1, 1.5.
  const std::vector<int> whole = row(ScaleFilter::Bilinear, false);
  const std::vector<int> expectedWhole = {0, 128, 255, 255};
  for (int x = 0; x < 4; ++x)
    EXPECT_NEAR(whole[x], expectedWhole[x], 2) << x;
}

TEST(DrawScaled, HighQualityAveragesWhenShrinking) {
  // A fine checkerboard shrunk eightfold: averaged to grey by the high-quality
  // filter; the bilinear filter only samples a few pixels of it.
  TBitmap src(64, 64);
  src.SetPixelFormat(pf32bit);
  src.SetAlphaFormat(afPremultiplied);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      src.ScanLine(y)[x] = ((x + y) % 2) ? Argb(255, 255, 255, 255) : Argb(255, 0, 0, 0);
    }
  }
  TBitmap dst(8, 8);
  DrawScaled(dst, Rect(0, 0, 8, 8), Rect(0, 0, 8, 8), src, Rect(0, 0, 64, 64), 255,
             ScaleFilter::HighQuality, true, EdgeMode::Clamp);
  for (int y = 1; y < 7; ++y) {
    for (int x = 1; x < 7; ++x)
      EXPECT_NEAR(GetRValue(dst.ColorAt(x, y)), 128, 8) << x << "," << y;
  }
  // Shrunk across, stretched down: the stretched direction is interpolated
  // (within the filter's 1/32-pixel position steps), not sampled nearest.
  TBitmap rows(16, 2);
  rows.SetPixelFormat(pf32bit);
  rows.SetAlphaFormat(afPremultiplied);
  for (int x = 0; x < 16; ++x) {
    rows.ScanLine(0)[x] = Argb(255, 0, 0, 0);
    rows.ScanLine(1)[x] = Argb(255, 255, 255, 255);
  }
  TBitmap tall(2, 4);
  DrawScaled(tall, Rect(0, 0, 2, 4), Rect(0, 0, 2, 4), rows, Rect(0, 0, 16, 2), 255,
             ScaleFilter::HighQuality, true, EdgeMode::Clamp);
  const int expectedRows[] = {0, 64, 191, 255};
  for (int y = 0; y < 4; ++y)
    EXPECT_NEAR(GetRValue(tall.ColorAt(1, y)), expectedRows[y], 9) << y;

  // Shrinking a flat picture keeps it flat (the filter's weights sum to one).
  Fill(src, Argb(255, 40, 80, 120));
  DrawScaled(dst, Rect(0, 0, 8, 8), Rect(0, 0, 8, 8), src, Rect(0, 0, 64, 64), 255,
             ScaleFilter::HighQuality, true, EdgeMode::TileFlip);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      ExpectPixel(dst.PixelAt(x, y), Argb(255, 40, 80, 120), 1);
  }
}

TEST(DrawScaled, EdgeModesDecideWhatLiesBeyondTheSource) {
  // An opaque 2 x 2 picture blown up eightfold: near the edges bilinear
  // sampling reaches past the source.
  TBitmap src(2, 2);
  Source(src, afPremultiplied,
         {Argb(255, 200, 0, 0), Argb(255, 200, 0, 0), Argb(255, 200, 0, 0), Argb(255, 200, 0, 0)});
  const auto corner = [&](EdgeMode edge) {
    TBitmap dst(16, 16);
    DrawScaled(dst, Rect(0, 0, 16, 16), Rect(0, 0, 16, 16), src, Rect(0, 0, 2, 2), 255,
               ScaleFilter::Bilinear, true, edge);
    return dst.PixelAt(0, 0);
  };
  // Clamp and tile-flip repeat the picture's own edge: the corner is opaque.
  ExpectPixel(corner(EdgeMode::Clamp), Argb(255, 200, 0, 0));
  ExpectPixel(corner(EdgeMode::TileFlip), Argb(255, 200, 0, 0));
  // Transparent edges fade the border pixels.
  EXPECT_LT(PixelAlpha(corner(EdgeMode::Transparent)), 200);

  // Tile-flip mirrors: a black | white picture, drawn shifted by its own
  // width through a source rectangle reaching past its right edge, shows
  // white at the mirror line.
  TBitmap two(2, 1);
  Source(two, afPremultiplied, {Argb(255, 0, 0, 0), Argb(255, 255, 255, 255)});
  TBitmap dst(4, 1);
  DrawScaled(dst, Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), two, Rect(0, 0, 4, 1), 255,
             ScaleFilter::Nearest, true, EdgeMode::TileFlip);
  EXPECT_EQ(GetRValue(dst.ColorAt(1, 0)), 255);
  EXPECT_EQ(GetRValue(dst.ColorAt(2, 0)), 255);
  EXPECT_EQ(GetRValue(dst.ColorAt(3, 0)), 0);
}

TEST(DrawScaled, SourceRectangleIsReadAlone) {
  // Four colours; the source rectangle names the top-right one, and bilinear
  // stretching must not bleed its neighbours in.
  TBitmap src(2, 2);
  Source(src, afPremultiplied,
         {Argb(255, 255, 0, 0), Argb(255, 0, 255, 0), Argb(255, 0, 0, 255), Argb(255, 9, 9, 9)});
  TBitmap dst(10, 10);
  DrawScaled(dst, Rect(0, 0, 10, 10), Rect(0, 0, 10, 10), src, Rect(1, 0, 2, 1), 255,
             ScaleFilter::Bilinear, true, EdgeMode::Clamp);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x)
      ExpectPixel(dst.PixelAt(x, y), Argb(255, 0, 255, 0));
  }
}

TEST(DrawScaled, ClipsAndIgnoresDegenerateInput) {
  TBitmap src(4, 4);
  src.SetPixelFormat(pf24bit);
  Fill(src, Argb(255, 0, 0, 255));
  const Pixel white = Argb(255, 255, 255, 255);
  TBitmap dst(20, 20);
  Fill(dst, white);
  const TRect clip = Rect(5, 5, 10, 15);
  DrawScaled(dst, clip, Rect(0, 0, 20, 20), src, Rect(0, 0, 4, 4), 255, ScaleFilter::Bilinear, true,
             EdgeMode::Clamp);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      ASSERT_EQ(dst.PixelAt(x, y), clip.Contains(Point(x, y)) ? Argb(255, 0, 0, 255) : white)
          << x << "," << y;
    }
  }
  // Nothing drawn and no crash: empty or inverted rectangles, empty bitmaps,
  // a source rectangle outside the source, a destination far outside.
  TBitmap untouched(20, 20);
  Fill(untouched, white);
  TBitmap empty;
  const struct {
    TRect dest;
    TRect srcRect;
  } degenerate[] = {
      {Rect(0, 0, 0, 10), Rect(0, 0, 4, 4)},
      {Rect(10, 10, 5, 5), Rect(0, 0, 4, 4)},
      {Rect(0, 0, 10, 10), Rect(0, 0, 0, 0)},
      {Rect(0, 0, 10, 10), Rect(10, 10, 20, 20)},
      {Rect(0, 0, 10, 10), Rect(3, 3, 1, 1)},
      {Rect(-100000, -100000, -99990, -99990), Rect(0, 0, 4, 4)},
      {Rect(30, 30, 40, 40), Rect(0, 0, 4, 4)},
  };
  for (const auto& d : degenerate) {
    DrawScaled(untouched, Rect(0, 0, 20, 20), d.dest, src, d.srcRect, 255, ScaleFilter::Bilinear,
               true, EdgeMode::Clamp);
    DrawScaled(untouched, Rect(0, 0, 20, 20), d.dest, empty, d.srcRect, 255, ScaleFilter::Bilinear,
               true, EdgeMode::Clamp);
    DrawScaled(empty, Rect(0, 0, 20, 20), d.dest, src, d.srcRect, 255, ScaleFilter::Bilinear, true,
               EdgeMode::Clamp);
  }
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(untouched.PixelAt(x, y), white);
  }
}

}  // namespace
