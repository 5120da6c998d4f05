// PNG pictures: every colour type and bit depth decodes to the right pixels,
// the transparency modes and the classic row layout are reported as the
// conversion code expects, the writer round-trips, and bad files fail cleanly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PictureTestSupport.h"
#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/PngImage.h"

namespace {

using vark::testing::MakeRaster;
using vark::testing::Premultiplied;

struct DecodeCase {
  const char* name;
  PngRaster raster;
  TPngTransparencyMode mode;
  std::vector<Pixel> pixels;  // expected, premultiplied, row by row
};

PngRaster WithPalette(PngRaster r, std::vector<TPngPaletteEntry> palette,
                      std::vector<uint8_t> alpha = {}, bool trns = false) {
  r.palette = std::move(palette);
  r.paletteAlpha = std::move(alpha);
  r.hasTransparency = trns || !r.paletteAlpha.empty();
  return r;
}

PngRaster WithKey(PngRaster r, uint16_t red, uint16_t green, uint16_t blue) {
  r.hasTransparency = true;
  r.transparentGray = red;
  r.transparentRed = red;
  r.transparentGreen = green;
  r.transparentBlue = blue;
  return r;
}

std::vector<DecodeCase> DecodeCases() {
  const Pixel black = Premultiplied(0, 0, 0, 255);
  const Pixel white = Premultiplied(255, 255, 255, 255);
  auto grey = [](unsigned v) { return Premultiplied(v, v, v, 255); };
  std::vector<DecodeCase> cases = {
      {"grey 1-bit",
       MakeRaster(8, 1, COLOR_GRAYSCALE, 1, {1, 0, 1, 1, 0, 0, 1, 0}),
       ptmNone,
       {white, black, white, white, black, black, white, black}},
      {"grey 2-bit",
       MakeRaster(4, 1, COLOR_GRAYSCALE, 2, {0, 1, 2, 3}),
       ptmNone,
       {black, grey(85), grey(170), white}},
      {"grey 4-bit",
       MakeRaster(3, 1, COLOR_GRAYSCALE, 4, {0, 5, 15}),
       ptmNone,
       {black, grey(85), white}},
      {"grey 8-bit, two rows",
       MakeRaster(2, 2, COLOR_GRAYSCALE, 8, {7, 200, 0, 255}),
       ptmNone,
       {grey(7), grey(200), black, white}},
      {"grey 16-bit",
       MakeRaster(3, 1, COLOR_GRAYSCALE, 16, {0, 0xFFFF, 0x3333}),
       ptmNone,
       {black, white, grey(0x33)}},
      {"grey with alpha 8-bit",
       MakeRaster(2, 1, COLOR_GRAYSCALEALPHA, 8, {200, 128, 10, 255}),
       ptmPartial,
       {Premultiplied(100, 100, 100, 128), grey(10)}},
      {"grey with alpha 16-bit",
       MakeRaster(1, 1, COLOR_GRAYSCALEALPHA, 16, {0xC8C8, 0x8080}),
       ptmPartial,
       {Premultiplied(100, 100, 100, 128)}},
      {"RGB 8-bit",
       MakeRaster(4, 1, COLOR_RGB, 8, {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3}),
       ptmNone,
       {Premultiplied(255, 0, 0, 255), Premultiplied(0, 255, 0, 255), Premultiplied(0, 0, 255, 255),
        Premultiplied(1, 2, 3, 255)}},
      {"RGB 16-bit",
       MakeRaster(1, 1, COLOR_RGB, 16, {0xFFFF, 0, 0x8080}),
       ptmNone,
       {Premultiplied(255, 0, 128, 255)}},
      {"RGBA 8-bit",
       MakeRaster(3, 1, COLOR_RGBALPHA, 8, {200, 100, 50, 128, 9, 8, 7, 0, 1, 2, 3, 255}),
       ptmPartial,
       {Premultiplied(100, 50, 25, 128), 0u, Premultiplied(1, 2, 3, 255)}},
      {"RGBA 16-bit",
       MakeRaster(2, 1, COLOR_RGBALPHA, 16, {0xFFFF, 0, 0, 0xFFFF, 0, 0, 0, 0}),
       ptmPartial,
       {Premultiplied(255, 0, 0, 255), 0u}},
      {"palette 8-bit",
       WithPalette(MakeRaster(2, 1, COLOR_PALETTE, 8, {1, 0}), {{10, 20, 30}, {40, 50, 60}}),
       ptmNone,
       {Premultiplied(40, 50, 60, 255), Premultiplied(10, 20, 30, 255)}},
      {"palette 1-bit",
       WithPalette(MakeRaster(3, 1, COLOR_PALETTE, 1, {1, 0, 1}), {{0, 0, 0}, {255, 255, 0}}),
       ptmNone,
       {Premultiplied(255, 255, 0, 255), black, Premultiplied(255, 255, 0, 255)}},
      {"palette 2-bit",
       WithPalette(MakeRaster(3, 1, COLOR_PALETTE, 2, {2, 1, 0}),
                   {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}),
       ptmNone,
       {grey(3), grey(2), grey(1)}},
      {"palette 4-bit with partial transparency",
       WithPalette(MakeRaster(3, 1, COLOR_PALETTE, 4, {0, 1, 2}),
                   {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {0, 128}),
       ptmPartial,
       {0u, Premultiplied(0, 128, 0, 128), Premultiplied(0, 0, 255, 255)}},
      {"palette 8-bit with on-off transparency",
       WithPalette(MakeRaster(2, 1, COLOR_PALETTE, 8, {0, 1}), {{255, 0, 0}, {0, 255, 0}},
                   {0, 255}),
       ptmBit,
       {0u, Premultiplied(0, 255, 0, 255)}},
      {"grey 8-bit with a transparent level",
       WithKey(MakeRaster(2, 1, COLOR_GRAYSCALE, 8, {7, 8}), 7, 0, 0),
       ptmBit,
       {0u, grey(8)}},
      {"RGB 8-bit with a transparent colour",
       WithKey(MakeRaster(2, 1, COLOR_RGB, 8, {1, 2, 3, 1, 2, 4}), 1, 2, 3),
       ptmBit,
       {0u, Premultiplied(1, 2, 4, 255)}},
      {"RGB 16-bit with a transparent colour (all 16 bits compared)",
       WithKey(MakeRaster(2, 1, COLOR_RGB, 16, {0x0101, 0x0202, 0x0303, 0x0101, 0x0202, 0x0304}),
               0x0101, 0x0202, 0x0303),
       ptmBit,
       {0u, Premultiplied(1, 2, 3, 255)}},
  };
  return cases;
}

TEST(PngDecode, ColourTypesAndDepthsGiveTheirPixels) {
  for (DecodeCase& c : DecodeCases()) {
    for (bool interlaced : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (interlaced ? ", interlaced" : ""));
      c.raster.interlaced = interlaced;
      TPngImage png;
      png.LoadFromMemory(vark::EncodePng(c.raster));
      EXPECT_EQ(png.Width(), c.raster.width);
      EXPECT_EQ(png.Height(), c.raster.height);
      EXPECT_EQ(png.Header().ColorType, c.raster.colorType);
      EXPECT_EQ(png.Header().BitDepth, c.raster.bitDepth);
      EXPECT_EQ(png.Header().InterlaceMethod, interlaced ? 1 : 0);
      EXPECT_EQ(png.TransparencyMode(), c.mode);
      // The file's samples come back exactly.
      EXPECT_EQ(png.Raster().data, c.raster.data);

      TBitmap bmp;
      png.AssignTo(bmp);
      ASSERT_EQ(bmp.Width(), c.raster.width);
      ASSERT_EQ(bmp.Height(), c.raster.height);
      EXPECT_EQ(bmp.PixelFormat(), c.mode == ptmNone ? pf24bit : pf32bit);
      EXPECT_EQ(bmp.AlphaFormat(), c.mode == ptmNone ? afIgnored : afPremultiplied);
      for (int y = 0; y < bmp.Height(); ++y) {
        for (int x = 0; x < bmp.Width(); ++x) {
          EXPECT_EQ(bmp.PixelAt(x, y), c.pixels[static_cast<size_t>(y) * bmp.Width() + x])
              << "pixel " << x << "," << y;
        }
      }
    }
  }
}

TEST(PngDecode, ClassicRowLayout) {
  // RGB comes as B, G, R; 16-bit samples as their high byte; alpha apart.
  TPngImage rgba;
  rgba.LoadFromRaster(MakeRaster(2, 1, COLOR_RGBALPHA, 16,
                                 {0x1122, 0x3344, 0x5566, 0x7788, 0xA0A1, 0xB0B1, 0xC0C1, 0xD0D1}));
  const uint8_t* colour = rgba.Scanline(0);
  EXPECT_EQ(std::vector<uint8_t>(colour, colour + 6),
            (std::vector<uint8_t>{0x55, 0x33, 0x11, 0xC0, 0xB0, 0xA0}));
  const uint8_t* alpha = rgba.AlphaScanline(0);
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(alpha[0], 0x77);
  EXPECT_EQ(alpha[1], 0xD0);

  TPngImage greyAlpha;
  greyAlpha.LoadFromRaster(MakeRaster(2, 2, COLOR_GRAYSCALEALPHA, 8, {1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(greyAlpha.Scanline(1)[0], 5);
  EXPECT_EQ(greyAlpha.Scanline(1)[1], 7);
  EXPECT_EQ(greyAlpha.AlphaScanline(1)[1], 8);

  TPngImage rgb;
  rgb.LoadFromRaster(MakeRaster(1, 1, COLOR_RGB, 8, {10, 20, 30}));
  EXPECT_EQ(rgb.Scanline(0)[0], 30);
  EXPECT_EQ(rgb.Scanline(0)[2], 10);
  EXPECT_EQ(rgb.AlphaScanline(0), nullptr);
  EXPECT_EQ(rgb.Scanline(1), nullptr);  // past the last row

  // Palette rows are the indices; entries in the desktop's byte order; the
  // transparency chunk's alpha per index, opaque beyond its end.
  TPngImage pal;
  pal.LoadFromRaster(WithPalette(MakeRaster(3, 1, COLOR_PALETTE, 8, {2, 0, 1}),
                                 {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {0, 99}));
  EXPECT_EQ(pal.Scanline(0)[0], 2);
  EXPECT_EQ(pal.PaletteCount(), 3);
  const TRGBQuad e = pal.PaletteEntry(2);
  EXPECT_EQ(e.rgbRed, 7);
  EXPECT_EQ(e.rgbGreen, 8);
  EXPECT_EQ(e.rgbBlue, 9);
  EXPECT_EQ(pal.TransparencyAlpha(0), 0);
  EXPECT_EQ(pal.TransparencyAlpha(1), 99);
  EXPECT_EQ(pal.TransparencyAlpha(2), 255);
  EXPECT_EQ(pal.TransparencyAlpha(-1), 255);
  EXPECT_TRUE(pal.HasTransparencyChunk());

  // Packed rows stay packed.
  TPngImage packed;
  packed.LoadFromRaster(MakeRaster(8, 1, COLOR_GRAYSCALE, 1, {1, 0, 1, 0, 0, 0, 0, 1}));
  EXPECT_EQ(packed.Scanline(0)[0], 0xA1);

  TPngImage keyed;
  keyed.LoadFromRaster(WithKey(MakeRaster(1, 1, COLOR_RGB, 16, {0, 0, 0}), 0xFFFF, 0x8080, 0));
  EXPECT_EQ(keyed.TransparentColor(), RGB(255, 128, 0));
}

TEST(PngDecode, DrawsScaledAndBlended) {
  // A 2 x 2 picture, left column opaque red, right column half-transparent blue.
  TPngImage png;
  png.LoadFromRaster(MakeRaster(2, 2, COLOR_RGBALPHA, 8,
                                {255, 0, 0, 255, 0, 0, 255, 128, 255, 0, 0, 255, 0, 0, 255, 128}));
  TBitmap target(40, 20);
  target.SetPixelFormat(pf24bit);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x)
      target.ScanLine(y)[x] = OpaquePixel(clWhite);
  }
  png.Draw(target.Canvas(), Rect(0, 0, 20, 20));
  EXPECT_EQ(target.ColorAt(2, 10), clRed);
  // Half blue over white.
  const TColor right = target.ColorAt(18, 10);
  EXPECT_NEAR(GetRValue(right), 127, 1);
  EXPECT_NEAR(GetBValue(right), 255, 1);
  EXPECT_EQ(target.ColorAt(30, 10), clWhite);  // outside the destination
}

TEST(PngDecode, AShrunkPictureIsAveraged) {
  // A one-pixel checkerboard drawn at a seventh of its size (a row picture
  // of 256 pixels shown at 33 is shrunk as much). Bilinear sampling would
  // land on single pixel centres and give black or white; every target pixel
  // averages its area to grey instead.
  std::vector<unsigned> samples;
  for (int y = 0; y < 56; ++y) {
    for (int x = 0; x < 56; ++x)
      samples.push_back((x + y) % 2 ? 255 : 0);
  }
  TPngImage png;
  png.LoadFromRaster(MakeRaster(56, 56, COLOR_GRAYSCALE, 8, samples));
  TBitmap target(8, 8);
  png.Draw(target.Canvas(), Rect(0, 0, 8, 8));
  for (int y = 1; y < 7; ++y) {
    for (int x = 1; x < 7; ++x)
      EXPECT_NEAR(GetRValue(target.ColorAt(x, y)), 128, 12);
  }
}

TEST(PngWrite, BitmapsRoundTrip) {
  vark::testing::TempFolder folder;
  // A premultiplied bitmap: the file holds straight alpha, and reading it back
  // gives the same premultiplied pixels (to rounding).
  TBitmap bmp(16, 8);
  bmp.SetPixelFormat(pf32bit);
  bmp.SetAlphaFormat(afPremultiplied);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      const unsigned a = x * 17;
      bmp.ScanLine(y)[x] = Premultiplied(a * 3 / 4, a / 2, a * y / 8, a);
    }
  }
  const std::string path = folder.File("round.png");
  vark::SavePng(bmp, path);
  TPngImage png;
  png.LoadFromFile(path);
  EXPECT_EQ(png.Header().ColorType, COLOR_RGBALPHA);
  TBitmap back;
  png.AssignTo(back);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      const Pixel a = bmp.PixelAt(x, y);
      const Pixel b = back.PixelAt(x, y);
      for (int shift : {0, 8, 16, 24}) {
        EXPECT_NEAR(static_cast<int>((a >> shift) & 0xFF), static_cast<int>((b >> shift) & 0xFF), 1)
            << x << "," << y;
      }
    }
  }

  // An opaque bitmap is written as RGB, its alpha bytes ignored.
  TBitmap opaque(3, 1);
  opaque.SetPixelFormat(pf24bit);
  opaque.ScanLine(0)[0] = 0x00123456;  // alpha byte 0, yet opaque
  const auto bytes = vark::EncodePng(opaque);
  png.LoadFromMemory(bytes);
  EXPECT_EQ(png.Header().ColorType, COLOR_RGB);
  EXPECT_EQ(png.TransparencyMode(), ptmNone);
  png.AssignTo(back);
  EXPECT_EQ(back.ColorAt(0, 0), RGB(0x12, 0x34, 0x56));

  // The picture writes its own file back unchanged in content.
  const std::string copy = folder.File("copy.png");
  png.SaveToFile(copy);
  TPngImage again;
  again.LoadFromFile(copy);
  EXPECT_EQ(again.Raster().data, png.Raster().data);

  EXPECT_THROW(vark::SavePng(bmp, folder.File("no/such/folder/x.png")), EFCreateError);
  EXPECT_THROW(vark::EncodePng(TBitmap()), EInvalidGraphic);
}

TEST(PngBadInput, FailsCleanlyAndKeepsThePicture) {
  const std::vector<uint8_t> good = vark::EncodePng(
      MakeRaster(16, 16, COLOR_RGBALPHA, 8, std::vector<unsigned>(16 * 16 * 4, 77)));
  const size_t ihdr = vark::testing::FindChunk(good, "IHDR");
  const size_t idat = vark::testing::FindChunk(good, "IDAT");
  ASSERT_GT(ihdr, 0u);
  ASSERT_GT(idat, 0u);

  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
    std::string message;  // a part of the error's text
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}, "not a PNG"});
  cases.push_back({"another format", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "not a PNG"});
  // Cut anywhere: in the signature, the header, the image data, before the end chunk.
  for (size_t cut = 1; cut < good.size(); cut += 7) {
    cases.push_back({"cut at " + std::to_string(cut), {good.begin(), good.begin() + cut}, ""});
  }
  {
    auto b = good;
    b[ihdr + 8] ^= 0x01;  // width changed, checksum not
    cases.push_back({"header with a wrong CRC", b, "CRC"});
  }
  {
    auto b = good;
    b[idat + 10] ^= 0x40;
    // Inflating the damaged data may fail before the checksum is reached.
    cases.push_back({"image data with a wrong CRC", b, ""});
  }
  {
    auto b = good;
    const size_t length = (size_t{b[idat + 2]} << 8) | b[idat + 3];
    b[idat + 8 + length] ^= 0x01;  // the data intact, its checksum wrong
    cases.push_back({"image data checksum wrong", b, "CRC"});
  }
  {
    auto b = good;
    for (size_t i = idat + 8; i < idat + 16; ++i)
      b[i] = 0xA5;
    vark::testing::FixCrc(b, idat);
    cases.push_back({"corrupt compressed data", b, ""});
  }
  {
    auto b = good;
    vark::testing::PutBigEndian32(b, ihdr + 8, 100000);
    vark::testing::PutBigEndian32(b, ihdr + 12, 100000);
    vark::testing::FixCrc(b, ihdr);
    cases.push_back({"100000 x 100000 pixels", b, "too large (100000 x 100000 pixels)"});
  }
  {
    auto b = good;
    vark::testing::PutBigEndian32(b, ihdr + 8, 0);
    vark::testing::FixCrc(b, ihdr);
    cases.push_back({"zero width", b, ""});
  }
  {
    auto b = good;
    b[ihdr + 16] = 3;  // bit depth 3 does not exist
    vark::testing::FixCrc(b, ihdr);
    cases.push_back({"impossible bit depth", b, ""});
  }

  TPngImage png;
  png.LoadFromMemory(good);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      png.LoadFromMemory(c.bytes);
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
      const std::string what = e.what();
      EXPECT_FALSE(what.empty());
      EXPECT_NE(what.find(c.message), std::string::npos) << what;
    }
    EXPECT_EQ(png.Width(), 16);  // the picture loaded before is still there
  }

  EXPECT_THROW(png.LoadFromFile("/nonexistent/folder/picture.png"), EFOpenError);
}

}  // namespace

// A picture shown only through a scaled copy lets go of its decoded samples;
// everything that reads them afterwards gets the same pixels as before.
TEST(PngDecode, ReleasedSamplesComeBackFromTheFileBytes) {
  const PngRaster raster = MakeRaster(3, 2, COLOR_RGBALPHA, 8,
                                      {200, 100, 50, 128, 9,  8,  7,   0,   1,   2,   3,   255,  //
                                       4,   5,   6,  7,   80, 90, 100, 110, 255, 255, 255, 255});
  TPngImage png;
  png.LoadFromMemory(vark::EncodePng(raster));
  TBitmap before;
  png.AssignTo(before);
  const std::vector<uint8_t> samples = png.Raster().data;

  png.ReleaseDrawCache();
  EXPECT_EQ(png.Width(), 3);
  EXPECT_EQ(png.TransparencyMode(), ptmPartial);
  EXPECT_EQ(png.Raster().data, samples);
  png.ReleaseDrawCache();
  ASSERT_NE(png.AlphaScanline(1), nullptr);
  EXPECT_EQ(png.AlphaScanline(1)[1], 110);
  png.ReleaseDrawCache();
  TBitmap after;
  png.AssignTo(after);
  ASSERT_EQ(after.Width(), before.Width());
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(after.PixelAt(x, y), before.PixelAt(x, y));
  }

  // A raster made in memory has no file bytes to decode again: it keeps them.
  TPngImage made;
  made.LoadFromRaster(raster);
  made.ReleaseDrawCache();
  EXPECT_EQ(made.Raster().data, samples);
}
