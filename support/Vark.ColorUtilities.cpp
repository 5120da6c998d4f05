#include "support/Vark.ColorUtilities.h"

#include <algorithm>

CRGB GetRGB(TColor col) {
  const TColor rgb = ColorToRGB(col);
  return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

int GetColorSat(CRGB color, int ofing) {
  const double r = color.R / 255.0 * ofing;
  const double g = color.G / 255.0 * ofing;
  const double b = color.B / 255.0 * ofing;
  // Every term lies within ±ofing, so the mean fits an int.
  return static_cast<int>((r + g + b) / 3);
}

int GetColorSat(TColor color, int ofing) {
  return GetColorSat(GetRGB(color), ofing);
}

TColor ChangeColorSat(TColor clr, int perc) {
  const CRGB c = GetRGB(clr);
  // In 64 bits: a shift near the ends of int must not overflow before the clamp.
  auto shift = [perc](uint8_t v) {
    return static_cast<uint8_t>(std::clamp<int64_t>(int64_t{v} + perc, 0, 255));
  };
  return RGB(shift(c.R), shift(c.G), shift(c.B));
}

TColor FontColorForBackground(TColor bgcolor) {
  return GetColorSat(bgcolor, 100) < 65 ? clWhite : clBlack;
}
