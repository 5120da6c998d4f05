// Picture helpers: PNG pictures turned into 32-bit bitmaps by colour type,
// and smooth drawing with opacity and edge handling.
#include "support/Vark.VarHelpers.h"

#include <gtest/gtest.h>

#include "platform/graphics/PngRaster.h"
#include "support/PngFunctions.h"

namespace {

// A PNG picture built in memory from rows of 8-bit samples.
std::unique_ptr<TPngImage> Png(int w, int h, uint8_t colorType, std::vector<uint8_t> samples,
                               std::vector<TPngPaletteEntry> palette = {},
                               std::vector<uint8_t> paletteAlpha = {}) {
  PngRaster r;
  r.width = w;
  r.height = h;
  r.bitDepth = 8;
  r.colorType = colorType;
  r.rowBytes = PngRowBytes(w, colorType, 8);
  r.data = std::move(samples);
  r.palette = std::move(palette);
  r.hasTransparency = !paletteAlpha.empty();
  r.paletteAlpha = std::move(paletteAlpha);
  auto png = std::make_unique<TPNGObject>();
  png->LoadFromRaster(std::move(r));
  return png;
}

Pixel Argb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return Pixel{a} << 24 | Pixel{r} << 16 | Pixel{g} << 8 | b;
}

}  // namespace

TEST(PngImageAssignToBitmap, PartialTransparencyIsConvertedPixelByPixel) {
  // RGBA: a colour byte 200 at alpha 128 becomes 200 × 128 div 255 = 100.
  auto rgba = Png(2, 1, COLOR_RGBALPHA, {200, 100, 50, 128, 10, 20, 30, 255});
  TBitmap b;
  PngImageAssignToBitmap(b, rgba.get(), true);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(b.ScanLine(0)[0], Argb(128, 100, 50, 25));
  EXPECT_EQ(b.ScanLine(0)[1], Argb(255, 10, 20, 30));
  PngImageAssignToBitmap(b, rgba.get(), false);
  EXPECT_EQ(b.AlphaFormat(), afDefined);
  EXPECT_EQ(b.ScanLine(0)[0], Argb(128, 200, 100, 50));

  // Palette: the entry's colour with the transparency chunk's alpha.
  auto pal = Png(3, 1, COLOR_PALETTE, {0, 1, 2}, {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}}, {128, 0});
  PngImageAssignToBitmap(b, pal.get(), true);
  EXPECT_EQ(b.ScanLine(0)[0], Argb(128, 100, 0, 0));
  EXPECT_EQ(b.ScanLine(0)[1], Argb(0, 0, 0, 0));
  EXPECT_EQ(b.ScanLine(0)[2], Argb(255, 0, 0, 200));  // beyond the chunk: opaque

  // Grey with alpha: the grey level in all three channels.
  auto grey = Png(1, 1, COLOR_GRAYSCALEALPHA, {200, 128});
  PngImageAssignToBitmap(b, grey.get(), true);
  EXPECT_EQ(b.ScanLine(0)[0], Argb(128, 100, 100, 100));
  PngImageAssignToBitmap(b, grey.get(), false);
  EXPECT_EQ(b.ScanLine(0)[0], Argb(128, 200, 200, 200));
}

TEST(PngImageAssignToBitmap, OtherPicturesAreLeftToTheFramework) {
  // An opaque PNG (no transparency at all) and a palette whose entries are
  // only fully transparent or opaque convert as the framework assigns them.
  auto rgb = Png(2, 1, COLOR_RGB, {1, 2, 3, 4, 5, 6});
  auto bit = Png(2, 1, COLOR_PALETTE, {0, 1}, {{1, 2, 3}, {4, 5, 6}}, {0});
  ASSERT_EQ(bit->TransparencyMode(), ptmBit);
  for (TPngImage* p : {rgb.get(), bit.get()}) {
    TBitmap viaHelper, viaFramework;
    PngImageAssignToBitmap(viaHelper, p, false);
    viaFramework.Assign(*p);
    EXPECT_EQ(viaHelper.PixelFormat(), viaFramework.PixelFormat());
    EXPECT_EQ(viaHelper.AlphaFormat(), viaFramework.AlphaFormat());
    EXPECT_EQ(viaHelper.ScanLine(0)[1], viaFramework.ScanLine(0)[1]);
  }
  TBitmap b(5, 5);
  PngImageAssignToBitmap(b, nullptr, true);
  EXPECT_TRUE(b.Empty());
  b.SetSize(5, 5);
  TPngImage empty;
  PngImageAssignToBitmap(b, &empty, true);
  EXPECT_EQ(b.Width(), 0);
}

TEST(GraphicAssignToBitmap, PngsArePremultipliedAndOtherGraphicsAssigned) {
  auto rgba = Png(1, 1, COLOR_RGBALPHA, {200, 100, 50, 128});
  TBitmap b;
  GraphicAssignToBitmap(b, rgba.get());
  EXPECT_EQ(b.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(b.ScanLine(0)[0], Argb(128, 100, 50, 25));

  TBitmap other(3, 2);
  other.ScanLine(1)[2] = 0xFF010203;
  GraphicAssignToBitmap(b, &other);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.ScanLine(1)[2], 0xFF010203u);
  GraphicAssignToBitmap(b, nullptr);
  EXPECT_TRUE(b.Empty());
}

namespace {

// A bitmap of one opaque colour.
struct Solid : TBitmap {
  Solid(int w, int h, TColor c) : TBitmap(w, h) {
    Canvas().Brush().SetColor(c);
    Canvas().FillRect(Rect(0, 0, w, h));
  }
};

}  // namespace

TEST(DrawBitmapHighQuality, OpacityEdgesAndAlphaFormats) {
  // Same size, full opacity: an exact copy, drawn without edge fill.
  Solid dst(8, 8, clWhite);
  Solid red(4, 4, clRed);
  CanvasRecorder rec;
  dst.Canvas().SetRecorder(&rec);
  TCanvasHelper::DrawHighQuality(dst.Canvas(), Rect(2, 2, 6, 6), red, 255, false);
  ASSERT_EQ(rec.calls.size(), 1u);
  EXPECT_EQ(rec.calls[0].args, (std::vector<int>{2, 2, 6, 6, 255, int(vark::ScaleFilter::Bilinear),
                                                 int(vark::EdgeMode::Transparent)}));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(dst.ColorAt(x, y), (x >= 2 && x < 6 && y >= 2 && y < 6) ? clRed : clWhite);

  // An empty bitmap draws nothing at all.
  rec.Clear();
  TBitmap empty;
  DrawBitmapHighQuality(dst.Canvas(), Rect(0, 0, 8, 8), empty, 255, true, true);
  EXPECT_TRUE(rec.calls.empty());

  // Opacity scales the alpha: black at 100 / 255 over white.
  Solid over(4, 4, clWhite);
  Solid black(4, 4, clBlack);
  TCanvasHelper::DrawHighQuality(over.Canvas(), Rect(0, 0, 4, 4), black, 100, false);
  EXPECT_NEAR(GetRValue(over.ColorAt(1, 1)), 255 - 100, 2);

  // Enlarged, the picture fades into what lies beneath at its border unless
  // the edge is filled by mirroring.
  Solid faded(8, 8, clWhite), filled(8, 8, clWhite);
  Solid small(2, 2, clBlack);
  DrawBitmapHighQuality(faded.Canvas(), Rect(0, 0, 8, 8), small, 255, false, false);
  DrawBitmapHighQuality(filled.Canvas(), Rect(0, 0, 8, 8), small, 255, false, true);
  EXPECT_GT(GetRValue(faded.ColorAt(0, 0)), 20);
  EXPECT_EQ(filled.ColorAt(0, 0), clBlack);
  EXPECT_EQ(faded.ColorAt(4, 4), clBlack);

  // A 32-bit bitmap is premultiplied whatever its alpha format says; others
  // are opaque whatever their alpha bytes hold.
  TBitmap half(1, 1);
  half.ScanLine(0)[0] = Argb(128, 0, 0, 0);  // black at half alpha, premultiplied
  half.SetPixelFormat(pf32bit);
  half.SetAlphaFormat(afDefined);
  Solid onWhite(1, 1, clWhite);
  DrawBitmapHighQuality(onWhite.Canvas(), Rect(0, 0, 1, 1), half, 255, false, false);
  EXPECT_NEAR(GetRValue(onWhite.ColorAt(0, 0)), 127, 2);
  half.SetPixelFormat(pf24bit);
  Solid onWhite2(1, 1, clWhite);
  DrawBitmapHighQuality(onWhite2.Canvas(), Rect(0, 0, 1, 1), half, 255, false, false);
  EXPECT_EQ(onWhite2.ColorAt(0, 0), clBlack);
}

TEST(DrawBitmapHighQuality, TheNormalModeSmoothsAPictureShrunkBelowHalf) {
  // One-pixel black and white stripes shrunk fivefold: sampling lands on a
  // single stripe, black or white by turns; the average of five is grey.
  TBitmap stripes(80, 8);
  stripes.SetPixelFormat(pf32bit);
  stripes.SetAlphaFormat(afPremultiplied);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 80; ++x)
      stripes.ScanLine(y)[x] = x % 2 ? 0xFFFFFFFFu : 0xFF000000u;
  TBitmap dst(16, 8);
  DrawBitmapHighQuality(dst.Canvas(), Rect(0, 0, 16, 8), stripes, 255, false, false);
  for (int x = 1; x < 15; ++x) {
    EXPECT_GT(GetRValue(dst.ColorAt(x, 4)), 80) << x;
    EXPECT_LT(GetRValue(dst.ColorAt(x, 4)), 180) << x;
  }
}

TEST(DrawHighQuality, PicturesAreConvertedFirst) {
  auto png = Png(1, 1, COLOR_RGBALPHA, {0, 0, 0, 128});
  Solid dst(2, 2, clWhite);
  TCanvasHelper::DrawHighQuality(dst.Canvas(), Rect(1, 1, 2, 2), *png, 255, false);
  EXPECT_NEAR(GetRValue(dst.ColorAt(1, 1)), 127, 2);
  EXPECT_EQ(dst.ColorAt(0, 0), clWhite);
  Solid dst2(2, 2, clWhite);
  TCanvasHelper::DrawHighQuality(dst2.Canvas(), Rect(1, 1, 2, 2), *png, 0, false);
  EXPECT_EQ(dst2.ColorAt(1, 1), clWhite);
}
