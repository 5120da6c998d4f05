// The artwork's picture buffer: resampling and blurring keep the light they are
// given, and the 8-bit output is straight (not premultiplied) colour.
#include "Image.h"

#include <gtest/gtest.h>

#include "Noise.h"

namespace {

using artgen::Image;
using artgen::Rgba;

double Sum(const Image& img, float Rgba::*channel) {
  double s = 0;
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      s += img.At(x, y).*channel;
  return s;
}

Image Noisy(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float a = artgen::Hash01(x, y, 1);
      img.At(x, y) = {a * artgen::Hash01(x, y, 2), a * artgen::Hash01(x, y, 3), 0, a};
    }
  return img;
}

TEST(Image, ShrinkingAveragesAreas) {
  // Any factor, whole or not: the mean of every channel is kept.
  const Image src = Noisy(100, 60);
  for (auto [w, h] : {std::pair{50, 30}, std::pair{33, 33}, std::pair{7, 59}, std::pair{1, 1}}) {
    const Image dst = src.Resized(w, h);
    const double scale = static_cast<double>(w) * h / (100 * 60);
    EXPECT_NEAR(Sum(dst, &Rgba::a), Sum(src, &Rgba::a) * scale, 1e-3 * w * h) << w << "x" << h;
    EXPECT_NEAR(Sum(dst, &Rgba::r), Sum(src, &Rgba::r) * scale, 1e-3 * w * h) << w << "x" << h;
  }
}

TEST(Image, EnlargingIsSmoothAndKeepsFlatAreasFlat) {
  Image src(4, 1);
  for (int x = 0; x < 4; ++x)
    src.At(x, 0) = {x / 3.f, 0.5f, 0, 1};
  const Image dst = src.Resized(16, 2);
  for (int x = 0; x < 16; ++x) {
    EXPECT_FLOAT_EQ(dst.At(x, 0).g, 0.5f);
    EXPECT_FLOAT_EQ(dst.At(x, 1).r, dst.At(x, 0).r);
    if (x > 0) {
      EXPECT_GE(dst.At(x, 0).r, dst.At(x - 1, 0).r) << "monotone between samples";
    }
  }
  EXPECT_FLOAT_EQ(dst.At(0, 0).r, 0.f);
  EXPECT_FLOAT_EQ(dst.At(15, 0).r, 1.f);
}

TEST(Image, BlurSpreadsWithoutLosingLight) {
  Image img(41, 41);
  img.At(20, 20) = {1, 1, 1, 1};
  const Image blurred = img.Blurred(3);
  EXPECT_NEAR(Sum(blurred, &Rgba::a), 1.0, 1e-4);
  EXPECT_LT(blurred.At(20, 20).a, 0.1f);
  EXPECT_GT(blurred.At(23, 20).a, 0.f);
  EXPECT_FLOAT_EQ(blurred.At(20, 20 - 10).a, 0.f) << "three passes reach 9 pixels, no further";
}

TEST(Image, EightBitOutputIsStraightColour) {
  Image img(3, 1);
  img.At(0, 0) = {0.25f, 0.5f, 0, 0.5f};  // premultiplied: colour (0.5, 1, 0) at half alpha
  img.At(1, 0) = {0.3f, 0.3f, 0.3f, 0};   // clear: the hidden colour is dropped
  img.Blend(2, 0, artgen::Rgb(255, 0, 0), 1);
  const std::vector<uint8_t> out = img.ToRgba8(false);
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 4),
            (std::vector<uint8_t>{128, 255, 0, 128}));
  EXPECT_EQ(std::vector<uint8_t>(out.begin() + 4, out.begin() + 8),
            (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(out.begin() + 8, out.end()),
            (std::vector<uint8_t>{255, 0, 0, 255}));
}

}  // namespace
