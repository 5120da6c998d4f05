// Laying anti-aliased glyphs into a bitmap in one colour: coverage 0..255
// blended source-over onto premultiplied pixels, and the solid lines of
// underline and strike-out. Both text engines draw through it, so text
// blends by the same rules whichever engine rendered the glyphs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Types.h"

class TBitmap;

namespace vark::text {

class GlyphPainter {
 public:
  // Paints in color (a system colour is resolved) into target, touching only
  // pixels inside area (which lies inside the bitmap).
  GlyphPainter(TBitmap& target, const TRect& area, TColor color);

  // A glyph's coverage, width × height bytes a row apart by pitch, with its
  // top-left pixel at (left, top).
  void Coverage(int left, int top, int width, int height, const uint8_t* coverage, size_t pitch);
  // A solid rectangle.
  void Fill(const TRect& rect);
  // The underline and strike-out that style asks for, under and through a
  // text width pixels long from x, where face puts them (UnderlineOffset(),
  // StrikeoutOffset(): pixels from the baseline, positive downwards; and
  // their thicknesses).
  template <class Face>
  void Lines(TFontStyles style, int x, int baseline, int width, const Face& face) {
    if (width <= 0) return;
    if (style.Contains(fsUnderline)) {
      const int top = baseline + face.UnderlineOffset();
      Fill(Rect(x, top, x + width, top + face.UnderlineThickness()));
    }
    if (style.Contains(fsStrikeOut)) {
      const int top = baseline + face.StrikeoutOffset();
      Fill(Rect(x, top, x + width, top + face.StrikeoutThickness()));
    }
  }

 private:
  TBitmap& target_;
  TRect area_;
  uint32_t r_, g_, b_;
  Pixel solid_;
};

}  // namespace vark::text
