// The launcher's own pictures, as the program carries them, decode to the
// same sizes, kinds and pixels on both platforms. The pixels were read with
// libpng and libjpeg on Linux (artgen draws from a fixed seed); the Windows
// decoders must give the PNG pixels exactly and the JPEG pixels within the
// rounding two IDCTs may differ by.
#include <gtest/gtest.h>

#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "app/Artwork.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PngImage.h"

namespace {

struct At {
  int x, y;
  Pixel pixel;  // premultiplied 0xAARRGGBB
};

TEST(ArtworkDecode, PngPicturesKeepTheirKindAndPixels) {
  const struct {
    const char* name;
    std::span<const uint8_t> file;
    int size;
    uint8_t colorType;
    int paletteCount;
    std::vector<At> pixels;
  } pictures[] = {
      {"backdrop",
       BackdropPng(),
       0,
       COLOR_RGBALPHA,
       0,
       {{200, 300, 0xFFF4E8CD}, {100, 200, 0xFFF1E5CB}, {133, 450, 0xFFEFE3C9}}},
      {"map editor",
       MapEditorPng(),
       64,
       COLOR_RGBALPHA,
       0,
       {{32, 32, 0xFFD4C096}, {16, 21, 0xFF9AB473}, {21, 48, 0xFFF2E4C0}}},
      {"icon",
       AppIconPng(),
       64,
       COLOR_RGBALPHA,
       0,
       {{32, 32, 0xFF402006}, {16, 21, 0xFFFCCA3A}, {48, 42, 0xFF28242C}}},
      {"edition 3",
       EditionPng(3),
       256,
       COLOR_RGBALPHA,
       0,
       {{128, 128, 0xFFE4B747}, {64, 85, 0x00000000}, {85, 192, 0xFF4A2C08}}},
      {"edition 4",
       EditionPng(4),
       128,
       COLOR_RGBALPHA,
       0,
       {{64, 64, 0xFFFFD271}, {32, 42, 0x0F000000}, {96, 85, 0xFF5C1A24}}},
      {"edition 5",
       EditionPng(5),
       64,
       COLOR_RGBALPHA,
       0,
       {{32, 32, 0x00000000}, {48, 42, 0xF9192049}, {21, 48, 0xFFA0B8E3}}},
      {"edition 6",
       EditionPng(6),
       48,
       COLOR_PALETTE,
       256,
       {{24, 24, 0xFFF6B260}, {12, 16, 0x08000000}, {36, 32, 0xFFDA3718}}},
      {"edition 7",
       EditionPng(7),
       64,
       COLOR_PALETTE,
       256,
       {{32, 32, 0xFF34C47C}, {48, 42, 0xEF072C1B}, {21, 48, 0xFF08301E}}},
  };
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.name);
    TPngImage png;
    png.LoadFromMemory(p.file);
    if (p.size > 0) {
      EXPECT_EQ(png.Width(), p.size);
      EXPECT_EQ(png.Height(), p.size);
    }
    EXPECT_EQ(png.Header().ColorType, p.colorType);
    EXPECT_EQ(png.Header().BitDepth, 8);
    EXPECT_EQ(png.PaletteCount(), p.paletteCount);
    EXPECT_EQ(png.HasTransparencyChunk(), p.colorType == COLOR_PALETTE);
    EXPECT_EQ(png.TransparencyMode(), ptmPartial);
    TBitmap bmp;
    png.AssignTo(bmp);
    for (const At& at : p.pixels)
      EXPECT_EQ(bmp.PixelAt(at.x, at.y), at.pixel) << at.x << "," << at.y;
  }
  TPngImage backdrop;
  backdrop.LoadFromMemory(BackdropPng());
  EXPECT_EQ(backdrop.Width(), 400);
  EXPECT_EQ(backdrop.Height(), 600);
}

TEST(ArtworkDecode, BackgroundJpegDecodesWholeAndReduced) {
  TJPEGImage jpeg;
  jpeg.LoadFromMemory(BackgroundJpeg());
  EXPECT_EQ(jpeg.Width(), 2500);
  EXPECT_EQ(jpeg.Height(), 1667);
  TBitmap full;
  jpeg.AssignTo(full);
  const At pixels[] = {{1250, 833, 0xFFB69377},
                       {400, 300, 0xFFFDF5E0},
                       {2100, 1400, 0xFF3E3341},
                       {100, 1600, 0xFF100E13}};
  for (const At& at : pixels) {
    SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
    const Pixel got = full.PixelAt(at.x, at.y);
    for (int shift : {0, 8, 16, 24})
      EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF),
                  static_cast<int>((at.pixel >> shift) & 0xFF), 3);
  }
  // The window's size: a half-size decode, as the window draws it.
  const TBitmap& half = jpeg.DecodedFor(794, 580);
  EXPECT_EQ(half.Width(), 1250);
  EXPECT_EQ(half.Height(), 834);
  const Pixel centre = half.PixelAt(625, 416);
  EXPECT_NEAR(static_cast<int>((centre >> 16) & 0xFF), 0xB6, 8);
  EXPECT_NEAR(static_cast<int>((centre >> 8) & 0xFF), 0x93, 8);
  EXPECT_NEAR(static_cast<int>(centre & 0xFF), 0x77, 8);
}

}  // namespace
