// Colour arithmetic: channels, lightness on both scales, the absolute shift
// and the text colour for a background.
#include "support/Vark.ColorUtilities.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ColorUtilities, GetRGBResolvesSystemColours) {
  EXPECT_EQ(GetRGB(RGB(1, 2, 3)), (CRGB{1, 2, 3}));
  EXPECT_EQ(GetRGB(clHighlight), (CRGB{0x00, 0x78, 0xD7}));
  EXPECT_EQ(GetRGB(clBtnFace), (CRGB{0xF0, 0xF0, 0xF0}));
  EXPECT_EQ(GetRGB(0x7F010203), (CRGB{3, 2, 1}));  // a stray top byte is dropped
}

TEST(ColorUtilities, LightnessOnBothScales) {
  struct Case {
    TColor c;
    int of100, of255;
  };
  const Case cases[] = {
      {RGB(165, 165, 165), 64, 165}, {RGB(166, 166, 166), 65, 166}, {clBlue, 33, 85},
      {clYellow, 66, 170},           {clWhite, 100, 255},           {clBlack, 0, 0},
      {0x00D77800, 43, 111},         {clBtnFace, 94, 240},          {RGB(1, 0, 0), 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetColorSat(c.c, 100), c.of100) << std::hex << c.c;
    EXPECT_EQ(GetColorSat(c.c, 255), c.of255) << std::hex << c.c;
    EXPECT_EQ(GetColorSat(GetRGB(c.c), 100), c.of100);
  }
  // On the scale 255 the lightness is exactly (R + G + B) div 3.
  for (int r = 0; r < 256; r += 3)
    for (int g = 0; g < 256; g += 7)
      for (int b = 0; b < 256; b += 5)
        ASSERT_EQ(GetColorSat(CRGB{uint8_t(r), uint8_t(g), uint8_t(b)}, 255), (r + g + b) / 3);
}

TEST(ColorUtilities, ChangeColorSatShiftsEveryChannelAndClamps) {
  struct Case {
    TColor in;
    int perc;
    TColor out;
  };
  const Case cases[] = {
      {RGB(0x30, 0x20, 0x10), -32, RGB(0x10, 0, 0)},
      {clWhite, 40, clWhite},
      {RGB(250, 100, 0), 10, RGB(255, 110, 10)},
      {RGB(250, 100, 0), -20, RGB(230, 80, 0)},
      {clBtnFace, -15, RGB(0xE1, 0xE1, 0xE1)},  // resolved before the shift
      {clHighlight, 0, 0x00D77800},
      {RGB(1, 2, 3), INT_MAX, clWhite},
      {RGB(1, 2, 3), INT_MIN, clBlack},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChangeColorSat(c.in, c.perc), c.out)
        << std::hex << c.in << " by " << std::dec << c.perc;
  }
}

TEST(ColorUtilities, FontColorForBackgroundSwitchesAtLightness65) {
  EXPECT_EQ(FontColorForBackground(RGB(165, 165, 165)), clWhite);
  EXPECT_EQ(FontColorForBackground(RGB(166, 166, 166)), clBlack);
  EXPECT_EQ(FontColorForBackground(clBlue), clWhite);
  EXPECT_EQ(FontColorForBackground(clYellow), clBlack);
  EXPECT_EQ(FontColorForBackground(clWindow), clBlack);
  EXPECT_EQ(FontColorForBackground(clHighlight), clWhite);
}
