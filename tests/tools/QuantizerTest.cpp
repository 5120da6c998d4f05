// The palette pictures: few colours are kept exactly, many are cut to 256
// without losing the transparent ones, and the file says which entries are
// transparent in a chunk exactly as long as it needs to be.
#include "Quantizer.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Encoders.h"

namespace {

using artgen::IndexedImage;
using artgen::Quantize;

std::vector<uint8_t> Pixel(const IndexedImage& img, size_t i) {
  const auto& e = img.palette.at(img.indices.at(i));
  return {e[0], e[1], e[2], e[3]};
}

TEST(Quantizer, FewColoursAreKeptExactly) {
  // Transparent pixels with different hidden colours are all one entry.
  const std::vector<uint8_t> rgba = {255, 0, 0, 255, 0,  0, 255, 128, 9, 9, 9,   0,
                                     255, 0, 0, 255, 77, 1, 2,   0,   0, 0, 255, 128};
  const IndexedImage img = Quantize(rgba, 3, 2);
  EXPECT_EQ(img.palette.size(), 3u);
  for (size_t i = 0; i < 6; ++i) {
    const std::vector<uint8_t> want(rgba.begin() + i * 4, rgba.begin() + i * 4 + 4);
    if (want[3] == 0) {
      EXPECT_EQ(Pixel(img, i)[3], 0) << i;
    } else {
      EXPECT_EQ(Pixel(img, i), want) << i;
    }
  }
}

// A 64 × 64 picture of 4096 colours: hue across, alpha down, the first rows
// fully transparent.
std::vector<uint8_t> Gradient() {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      rgba.push_back(static_cast<uint8_t>(x * 4));
      rgba.push_back(static_cast<uint8_t>(255 - x * 4));
      rgba.push_back(static_cast<uint8_t>(y * 4));
      rgba.push_back(static_cast<uint8_t>(y < 8 ? 0 : std::min(255, (y - 8) * 8)));
    }
  return rgba;
}

TEST(Quantizer, ManyColoursFitAPaletteAndStayClose) {
  const std::vector<uint8_t> rgba = Gradient();
  const IndexedImage img = Quantize(rgba, 64, 64);
  ASSERT_LE(img.palette.size(), 256u);
  EXPECT_GT(img.palette.size(), 200u) << "the budget is used";
  double error = 0;
  for (size_t i = 0; i < 64 * 64; ++i) {
    const std::vector<uint8_t> got = Pixel(img, i);
    if (rgba[i * 4 + 3] == 0) {
      EXPECT_EQ(got[3], 0) << "a clear pixel stays clear";
      continue;
    }
    for (int c = 0; c < 4; ++c)
      error += std::abs(got[c] - rgba[i * 4 + c]);
  }
  EXPECT_LT(error / (56 * 64 * 4), 6.0) << "mean error per channel";
  // Every entry that is not opaque comes before every opaque one.
  bool seenOpaque = false;
  for (const auto& e : img.palette) {
    if (e[3] == 255) seenOpaque = true;
    EXPECT_FALSE(seenOpaque && e[3] != 255);
  }
}

TEST(Quantizer, PalettePngCarriesATransparencyChunkJustLongEnough) {
  const IndexedImage img = Quantize(Gradient(), 64, 64);
  size_t transparent = 0;
  while (transparent < img.palette.size() && img.palette[transparent][3] != 255)
    ++transparent;
  ASSERT_GT(transparent, 0u);

  std::string dir = (std::filesystem::temp_directory_path() / "vark-artgen-XXXXXX").string();
  ASSERT_TRUE(mkdtemp(dir.data()));
  const std::string path = dir + "/p.png";
  artgen::WritePngPalette(path, img);
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  std::remove(path.c_str());
  rmdir(dir.c_str());

  ASSERT_GT(bytes.size(), 33u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[25]), 3) << "colour type: palette";
  auto chunkLength = [&](const char* type) -> long {
    const size_t at = bytes.find(type);
    if (at == std::string::npos || at < 4) return -1;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + at - 4);
    return (long{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
  };
  EXPECT_EQ(chunkLength("PLTE"), static_cast<long>(img.palette.size() * 3));
  EXPECT_EQ(chunkLength("tRNS"), static_cast<long>(transparent));
}

}  // namespace
