#include <gtest/gtest.h>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"

TEST(ColorToRGB, ResolvesSystemColoursAndStripsTheTopByte) {
  EXPECT_EQ(ColorToRGB(clWindow), 0x00FFFFFFu);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x00000000u);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x00F0F0F0u);
  EXPECT_EQ(ColorToRGB(clHighlight), 0x00D77800u);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0x00A0A0A0u);
  EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456u);
  // Unknown system indexes resolve to black instead of reading past the table.
  EXPECT_EQ(ColorToRGB(0xFF0000FF), clBlack);
  EXPECT_EQ(ColorToRGB(0xFFFFFFFF), clBlack);
  EXPECT_EQ(ColorToRGB(0xFF00001F), clBlack);
}

TEST(ColorToRGB, PixelConversionKeepsChannels) {
  EXPECT_EQ(OpaquePixel(RGB(1, 2, 3)), 0xFF010203u);
  EXPECT_EQ(PixelToColor(OpaquePixel(0x00A1B2C3)), 0x00A1B2C3u);
}

TEST(Font, SizeAndHeightFollowTheClassicRounding) {
  TFont f;
  f.SetHeight(-11);
  EXPECT_EQ(f.Size(), 8);
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.SetSize(8);
  EXPECT_EQ(f.Height(), -11);
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  EXPECT_EQ(MulDiv(260, 7, 4), 455);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);  // halves round away from zero
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}
