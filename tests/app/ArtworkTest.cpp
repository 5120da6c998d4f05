// The compiled-in pictures: each must load through the program's own decoders
// with the size and kind its widget expects, and must serve the window it is
// drawn in (black title over the background, white footer, black text on the
// backdrop, eight emblems that tell apart at row size).
#include "app/Artwork.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PngImage.h"

namespace {

struct Straight {
  float r, g, b, a;  // 0..1, not premultiplied
};

// The picture's pixels as straight colours, whatever its colour type.
std::vector<Straight> Pixels(const TPngImage& png) {
  const PngRaster& raster = png.Raster();
  std::vector<Straight> out;
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      if (raster.colorType == COLOR_PALETTE) {
        const unsigned i = raster.Sample(y, x, 0);
        const TPngPaletteEntry& e = raster.palette.at(i);
        out.push_back({e.Red / 255.f, e.Green / 255.f, e.Blue / 255.f,
                       png.TransparencyAlpha(static_cast<int>(i)) / 255.f});
      } else {
        out.push_back({raster.Sample(y, x, 0) / 255.f, raster.Sample(y, x, 1) / 255.f,
                       raster.Sample(y, x, 2) / 255.f, raster.Sample(y, x, 3) / 255.f});
      }
    }
  }
  return out;
}

// Relative luminance of an sRGB colour, and the contrast ratio of two luminances,
// as the usual accessibility rules define them.
float Luminance(float r, float g, float b) {
  auto lin = [](float c) {
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
  };
  return 0.2126f * lin(r) + 0.7152f * lin(g) + 0.0722f * lin(b);
}
float Contrast(float l1, float l2) {
  return (std::max(l1, l2) + 0.05f) / (std::min(l1, l2) + 0.05f);
}
constexpr float kBlack = 0, kWhite = 1;

std::unique_ptr<TPngImage> LoadPng(std::span<const uint8_t> bytes) {
  auto png = std::make_unique<TPngImage>();
  png->LoadFromMemory(bytes);
  return png;
}

// A square picture shrunk to size × size by area averaging and laid on an
// opaque row colour, as a row shows it.
std::vector<Straight> AtRowSize(const TPngImage& png, int size, Straight under) {
  const std::vector<Straight> px = Pixels(png);
  const int n = png.Width();
  std::vector<Straight> out(size * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float r = 0, g = 0, b = 0, a = 0, count = 0;
      for (int sy = y * n / size; sy < (y + 1) * n / size; ++sy)
        for (int sx = x * n / size; sx < (x + 1) * n / size; ++sx) {
          const Straight& p = px[sy * n + sx];
          r += p.r * p.a, g += p.g * p.a, b += p.b * p.a, a += p.a, ++count;
        }
      r /= count, g /= count, b /= count, a /= count;
      out[y * size + x] = {r + under.r * (1 - a), g + under.g * (1 - a), b + under.b * (1 - a), a};
    }
  }
  return out;
}

TEST(Artwork, EditionPicturesHaveTheSizesAndKindsOfTheirRows) {
  struct Case {
    int edition, size;
    uint8_t colorType;
  };
  const Case cases[] = {{1, 128, COLOR_RGBALPHA}, {2, 64, COLOR_RGBALPHA}, {3, 256, COLOR_RGBALPHA},
                        {4, 128, COLOR_RGBALPHA}, {5, 64, COLOR_RGBALPHA}, {6, 48, COLOR_PALETTE},
                        {7, 64, COLOR_PALETTE},   {8, 64, COLOR_RGBALPHA}};
  for (const Case& c : cases) {
    SCOPED_TRACE("edition " + std::to_string(c.edition));
    const auto png = LoadPng(EditionPng(c.edition));
    EXPECT_EQ(png->Width(), c.size);
    EXPECT_EQ(png->Height(), c.size);
    EXPECT_EQ(png->Header().ColorType, c.colorType);
    EXPECT_EQ(png->Header().BitDepth, 8);
    if (c.colorType == COLOR_PALETTE) {
      EXPECT_TRUE(png->HasTransparencyChunk());
    }
    // Soft edges over a see-through surround: the corners are clear, and some
    // pixels are neither clear nor opaque.
    EXPECT_EQ(png->TransparencyMode(), ptmPartial);
    const std::vector<Straight> px = Pixels(*png);
    EXPECT_EQ(px.front().a, 0.f);
    EXPECT_EQ(px.back().a, 0.f);
    int opaque = 0;
    for (const Straight& p : px)
      opaque += p.a == 1.f;
    EXPECT_GT(opaque, c.size * c.size / 4) << "an emblem fills a good part of its square";
  }
}

TEST(Artwork, EditionOutsideOneToEightIsAListError) {
  for (int index : {0, 9, -1})
    EXPECT_THROW(EditionPng(index), EListError) << index;
}

TEST(Artwork, EditionsTellApartAtRowSize) {
  // A row shows its picture at 33 × 33 on the light panel colour. Every pair
  // must differ in colour and in outline, not only in fine detail.
  const Straight panel{240 / 255.f, 240 / 255.f, 240 / 255.f, 1};
  std::vector<std::vector<Straight>> small;
  for (int i = 1; i <= 8; ++i)
    small.push_back(AtRowSize(*LoadPng(EditionPng(i)), 33, panel));
  for (int i = 0; i < 8; ++i) {
    for (int j = i + 1; j < 8; ++j) {
      float colour = 0, outline = 0;
      for (size_t k = 0; k < small[i].size(); ++k) {
        const Straight &p = small[i][k], &q = small[j][k];
        colour += (std::fabs(p.r - q.r) + std::fabs(p.g - q.g) + std::fabs(p.b - q.b)) / 3;
        outline += (p.a > 0.5f) != (q.a > 0.5f);
      }
      colour /= small[i].size();
      outline /= small[i].size();
      EXPECT_GT(colour, 0.12f) << "editions " << i + 1 << " and " << j + 1 << " look alike";
      EXPECT_GT(outline, 0.08f) << "editions " << i + 1 << " and " << j + 1 << " share an outline";
    }
  }
}

TEST(Artwork, BackgroundCarriesTheBlackTitleAndTheWhiteFooter) {
  TJPEGImage jpeg;
  jpeg.LoadFromMemory(BackgroundJpeg());
  ASSERT_EQ(jpeg.Width(), 2500);
  ASSERT_EQ(jpeg.Height(), 1667);
  // The window stretches the picture over 794 × 580 at (0, -3); look at it at
  // that size, as the window decodes it.
  const TBitmap& bmp = jpeg.DecodedFor(794, 580);
  const float sx = bmp.Width() / 794.f, sy = bmp.Height() / 580.f;
  // The share of pixels in a window rectangle on which text of the given
  // luminance reaches a contrast of 4.5.
  auto readable = [&](int left, int top, int width, int height, float text) {
    int good = 0, all = 0;
    for (int y = static_cast<int>((top + 3) * sy); y < static_cast<int>((top + 3 + height) * sy);
         ++y)
      for (int x = static_cast<int>(left * sx); x < static_cast<int>((left + width) * sx); ++x) {
        const TColor c = bmp.ColorAt(x, y);
        const float l = Luminance(GetRValue(c) / 255.f, GetGValue(c) / 255.f, GetBValue(c) / 255.f);
        good += Contrast(l, text) >= 4.5f;
        ++all;
      }
    return static_cast<float>(good) / all;
  };
  EXPECT_GE(readable(32, 24, 390, 70, kBlack), 0.99f) << "the title's black letters";
  EXPECT_GE(readable(661, 550, 125, 13, kWhite), 0.99f) << "the footer's white letters";
  EXPECT_GE(readable(0, 545, 794, 26, kWhite), 0.95f) << "the bottom strip is dark";
}

TEST(Artwork, BackdropIsALightSheetWithSeeThroughEdges) {
  const auto png = LoadPng(BackdropPng());
  ASSERT_EQ(png->Width(), 400);
  ASSERT_EQ(png->Height(), 600);
  EXPECT_EQ(png->Header().ColorType, COLOR_RGBALPHA);
  EXPECT_EQ(png->TransparencyMode(), ptmPartial);
  const std::vector<Straight> px = Pixels(*png);
  auto at = [&](int x, int y) { return px[y * 400 + x]; };
  EXPECT_EQ(at(0, 0).a, 0.f);
  EXPECT_EQ(at(399, 599).a, 0.f);
  // The panel's black headings and text lie inside the frame: opaque there,
  // and light enough for black text. Rectangles in picture pixels (the panel
  // shows the picture at 297 × 425) of the two centred headings, the hint
  // text beside the question mark and the column of buttons.
  const struct {
    int left, top, right, bottom;
  } text[] = {{100, 24, 300, 58}, {100, 273, 300, 307}, {66, 364, 383, 413}, {42, 95, 367, 260}};
  for (const auto& r : text)
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const Straight p = at(x, y);
        ASSERT_EQ(p.a, 1.f) << x << "," << y;
        ASSERT_GE(Contrast(Luminance(p.r, p.g, p.b), kBlack), 7.f) << x << "," << y;
      }
}

TEST(Artwork, MapEditorPictureHasNoBlackTheButtonWouldDrop) {
  // The map editor button draws its picture with black as the transparent
  // colour: an opaque black pixel would punch a hole in it.
  const auto png = LoadPng(MapEditorPng());
  ASSERT_EQ(png->Width(), 64);
  ASSERT_EQ(png->Height(), 64);
  EXPECT_EQ(png->Header().ColorType, COLOR_RGBALPHA);
  int visible = 0;
  for (const Straight& p : Pixels(*png)) {
    if (p.a == 0) continue;
    ++visible;
    EXPECT_FALSE(p.r == 0 && p.g == 0 && p.b == 0);
  }
  EXPECT_GT(visible, 64 * 64 / 3);
}

TEST(Artwork, AppIconIsASquareWithAlpha) {
  const auto png = LoadPng(AppIconPng());
  EXPECT_EQ(png->Width(), 64);
  EXPECT_EQ(png->Height(), 64);
  EXPECT_EQ(png->Header().ColorType, COLOR_RGBALPHA);
  EXPECT_EQ(Pixels(*png).front().a, 0.f) << "rounded corners";
}

}  // namespace
