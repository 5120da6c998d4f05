// The Windows icon file: a directory whose entries point at each image, small
// sizes as bitmaps with their transparency mask, the largest as PNG.
#include "IconFile.h"

#include <gtest/gtest.h>

namespace {

uint32_t At16(const std::vector<uint8_t>& b, size_t i) {
  return b[i] | b[i + 1] << 8;
}
uint32_t At32(const std::vector<uint8_t>& b, size_t i) {
  return At16(b, i) | At16(b, i + 2) << 16;
}

TEST(IconFile, DirectoryBitmapsMasksAndPng) {
  artgen::IconImage small{2,
                          {10, 20, 30, 255, 0, 0, 0, 0,  // top row: opaque, clear
                           1, 2, 3, 128, 4, 5, 6, 255}};
  artgen::IconImage large{256, std::vector<uint8_t>(256 * 256 * 4, 200)};
  const std::vector<uint8_t> ico = artgen::EncodeIco({small, large});

  ASSERT_GE(ico.size(), 6u + 2 * 16);
  EXPECT_EQ(At16(ico, 0), 0u);
  EXPECT_EQ(At16(ico, 2), 1u) << "an icon";
  ASSERT_EQ(At16(ico, 4), 2u);
  EXPECT_EQ(ico[6], 2);
  EXPECT_EQ(ico[6 + 16], 0) << "256 is written as 0";
  const size_t bmp = At32(ico, 6 + 12), png = At32(ico, 6 + 16 + 12);
  EXPECT_EQ(bmp, 6u + 2 * 16);
  EXPECT_EQ(png, bmp + At32(ico, 6 + 8)) << "the images follow each other";
  EXPECT_EQ(png + At32(ico, 6 + 16 + 8), ico.size());

  // The bitmap: twice the height, rows bottom-up in BGRA, then the mask.
  EXPECT_EQ(At32(ico, bmp + 4), 2u);
  EXPECT_EQ(At32(ico, bmp + 8), 4u);
  EXPECT_EQ(At16(ico, bmp + 14), 32u);
  const std::vector<uint8_t> pixels(ico.begin() + bmp + 40, ico.begin() + bmp + 56);
  EXPECT_EQ(pixels,
            (std::vector<uint8_t>{3, 2, 1, 128, 6, 5, 4, 255, 30, 20, 10, 255, 0, 0, 0, 0}));
  EXPECT_EQ(ico[bmp + 56], 0x00) << "bottom row: nothing transparent";
  EXPECT_EQ(ico[bmp + 60], 0x40) << "top row: the second pixel is transparent";

  EXPECT_EQ(std::vector<uint8_t>(ico.begin() + png, ico.begin() + png + 4),
            (std::vector<uint8_t>{0x89, 'P', 'N', 'G'}));
}

}  // namespace
