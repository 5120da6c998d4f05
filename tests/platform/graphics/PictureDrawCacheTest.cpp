// Pictures give up the copies they keep only to draw faster (TImage asks once
// it holds its own scaled copy): drawing afterwards decodes again and gives the
// same pixels, and a PNG's classic rows, made on first use, match its samples.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/PngImage.h"
#include "tests/platform/graphics/PictureTestSupport.h"

namespace {

// Draws the picture scaled into a fresh bitmap and returns its pixels.
std::vector<Pixel> DrawnAt(const TGraphic& graphic, int w, int h) {
  TBitmap target(w, h);
  target.Canvas().StretchDraw(Rect(0, 0, w, h), graphic);
  return std::vector<Pixel>(target.Bits(), target.Bits() + static_cast<size_t>(w) * h);
}

TEST(PictureDrawCache, ReleasedCopiesAreMadeAgainOnTheNextDraw) {
  TBitmap source(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x)
      source.Canvas().SetPixel(x, y, RGB(x * 4, y * 5, (x + y) * 2));

  TJPEGImage jpeg;
  jpeg.LoadFromMemory(vark::EncodeJpeg(source, 90));
  TPngImage png;
  png.LoadFromMemory(vark::EncodePng(source));
  for (const TGraphic* g : std::initializer_list<const TGraphic*>{&jpeg, &png}) {
    const std::vector<Pixel> first = DrawnAt(*g, 20, 15);  // a reduced decode for the JPEG
    g->ReleaseDrawCache();
    EXPECT_EQ(DrawnAt(*g, 20, 15), first);
    g->ReleaseDrawCache();
    g->ReleaseDrawCache();  // twice in a row is harmless
    EXPECT_EQ(DrawnAt(*g, 64, 48).size(), 64u * 48u);
  }
}

TEST(PictureDrawCache, ClassicRowsAreBuiltOnFirstUseAndFollowANewPicture) {
  TBitmap a(3, 2), b(3, 2);
  a.Canvas().SetPixel(0, 0, RGB(10, 20, 30));
  b.Canvas().SetPixel(0, 0, RGB(200, 100, 50));
  TPngImage png;
  png.LoadFromMemory(vark::EncodePng(a));
  const uint8_t* row = png.Scanline(0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row[0], 30);  // B, G, R
  EXPECT_EQ(row[1], 20);
  EXPECT_EQ(row[2], 10);
  png.LoadFromMemory(vark::EncodePng(b));
  row = png.Scanline(0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row[0], 50);
  EXPECT_EQ(row[2], 200);
  EXPECT_EQ(png.Scanline(2), nullptr);
  EXPECT_EQ(png.AlphaScanline(0), nullptr);  // an opaque bitmap has no alpha channel
}

}  // namespace
