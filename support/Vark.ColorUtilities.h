// Colour arithmetic of the control library: channels, lightness, an absolute
// shift of every channel, and black or white text for a background.
#pragma once

#include <cstdint>

#include "platform/graphics/Color.h"

struct CRGB {
  uint8_t R = 0;
  uint8_t G = 0;
  uint8_t B = 0;
  friend constexpr bool operator==(const CRGB&, const CRGB&) = default;
};

// The channels of col after ColorToRGB: R the low byte, G the second, B the third.
CRGB GetRGB(TColor col);

// Lightness on a scale of 0 to ofing: the mean of value / 255 × ofing over the
// three channels, in double precision, truncated toward zero. On the scale
// 255 this is (R + G + B) div 3; on 100 a percentage.
int GetColorSat(CRGB color, int ofing);
int GetColorSat(TColor color, int ofing);

// Every channel of ColorToRGB(clr) moved by perc (an absolute amount, negative
// darkens) and clamped to 0..255; the result has a top byte of 0.
TColor ChangeColorSat(TColor clr, int perc);

// clWhite on a background whose lightness in percent is below 65, else clBlack.
TColor FontColorForBackground(TColor bgcolor);
