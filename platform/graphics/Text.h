// The text engine under TCanvas: fontconfig finds a face for a TFont (through
// the alias file installed beside the program), FriBidi puts the runs of each
// direction in visual order, HarfBuzz shapes, FreeType renders; faces, shaped
// runs and glyph masks are cached. Glyphs a face lacks come from the fallback
// fonts; icon-font private-use code points map to Unicode symbols. Text is
// UTF-8.
//
// The em size comes from TFont::Height: a negative height is the em in pixels,
// a positive one the cell height (ascent + descent), 0 the default font's.
// Everything here runs on the user-interface thread; calls are serialised.
#pragma once

#include <string>
#include <string_view>

#include "platform/graphics/Font.h"
#include "platform/graphics/Types.h"

class TBitmap;

namespace vark::text {

struct TextMetrics {
  int width = 0;   // advance width of the whole text
  int height = 0;  // ascent + descent of the face, as the classic API reports it
  int ascent = 0;
  int descent = 0;
};

// Measures text in font. An empty text is 0 wide and still one line high.
// rightToLeft: the text is a paragraph read right to left (below).
TextMetrics Measure(const TFont& font, std::string_view text, bool rightToLeft = false);

// Draws text with the top-left of its line box at (x, y) (device coordinates)
// into target, touching only pixels inside clip, blending anti-aliased glyphs
// in the font colour. Underline and strike-out styles draw their lines.
// The text is one paragraph laid out by the Unicode bidirectional algorithm,
// read left to right, or right to left with rightToLeft.
void Draw(TBitmap& target, const TRect& clip, int x, int y, const TFont& font,
          std::string_view text, bool rightToLeft = false);

// The face that draws one code point in a font, after the icon-font mapping
// and the fallback chain.
struct FaceInfo {
  std::string file;    // empty when no installed font has the code point
  std::string family;  // the family name inside that file
  bool syntheticBold = false;
  bool syntheticItalic = false;
};
FaceInfo DescribeFace(const TFont& font, char32_t codepoint = U'A');

// Forgets the font configuration and every cached face, run and glyph, so the
// next call starts cold (benchmarks of the start-up path; tests).
void DropCaches();

}  // namespace vark::text
