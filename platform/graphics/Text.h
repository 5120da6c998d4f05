// The text engine under TCanvas: fontconfig finds a face for a TFont (through
// the alias file installed beside the program), HarfBuzz shapes, FreeType
// renders; faces, shaped runs and glyph masks are cached. Glyphs a face lacks
// come from the fallback fonts; icon-font private-use code points map to
// Unicode symbols. Text is UTF-8.
#pragma once

#include <string_view>

#include "platform/graphics/Font.h"
#include "platform/graphics/Types.h"

class TBitmap;

namespace vark::text {

struct TextMetrics {
  int width = 0;    // advance width of the whole text
  int height = 0;   // ascent + descent of the face, as the classic API reports it
  int ascent = 0;
  int descent = 0;
};

// Measures text in font. An empty text is 0 wide and still one line high.
TextMetrics Measure(const TFont& font, std::string_view text);

// Draws text with the top-left of its line box at (x, y) (device coordinates)
// into target, touching only pixels inside clip, blending anti-aliased glyphs
// in the font colour. Underline and strike-out styles draw their lines.
void Draw(TBitmap& target, const TRect& clip, int x, int y, const TFont& font,
          std::string_view text);

}  // namespace vark::text
