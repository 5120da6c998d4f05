// TextEngine: the caches behind vark::text — matched styles, font files, faces
// at a size, shaped runs — and the drawing of runs into bitmaps.
//
// A style (name, bold, italic) resolves once to a chain of faces: the matched
// face, then DejaVu Sans, then Symbola. A code point is drawn by the first
// member of the chain that has it, so symbols a face lacks still draw without
// searching every installed font.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/graphics/Font.h"
#include "platform/graphics/Text.h"
#include "platform/graphics/Types.h"
#include "platform/graphics/text/RunCache.h"
#include "platform/graphics/text/linux/FontFile.h"
#include "platform/graphics/text/linux/FontMatcher.h"
#include "platform/graphics/text/linux/SizedFace.h"

class TBitmap;

namespace vark::text {

class TextEngine {
 public:
  TextEngine();
  ~TextEngine();
  TextEngine(const TextEngine&) = delete;
  TextEngine& operator=(const TextEngine&) = delete;

  TextMetrics Measure(const TFont& font, std::string_view text, bool rightToLeft);
  void Draw(TBitmap& target, const TRect& clip, int x, int y, const TFont& font,
            std::string_view text, bool rightToLeft);
  FaceInfo Describe(const TFont& font, char32_t codepoint);

 private:
  struct ChainMember {
    FontFile* file = nullptr;
    bool syntheticBold = false;
    bool syntheticItalic = false;
  };
  struct Style {
    std::string family;  // of the first member
    std::vector<ChainMember> chain;
  };
  struct SizedFont {
    const Style* style = nullptr;
    int ppem = 0;
    std::vector<std::unique_ptr<SizedFace>> faces;  // parallel to style->chain
    int ascent = 0;
    int descent = 0;
    SizedFace* Face(size_t member);
  };
  struct PlacedGlyph {
    int x = 0;  // pen position plus offset, pixels from the run's left
    int y = 0;  // pixels below the baseline
    uint32_t glyph = 0;
    uint16_t face = 0;
  };
  struct ShapedRun {
    int width = 0;
    std::vector<PlacedGlyph> glyphs;
  };

  FontFile* File(const std::string& path, int index);
  const Style& StyleFor(const std::string& name, bool bold, bool italic);
  const MatchedFont& FallbackMatch(const char* family, bool bold, bool italic);
  SizedFont& Sized(const TFont& font);
  // The text of a paragraph read left to right or right to left, its glyphs
  // in visual order.
  const ShapedRun& Run(SizedFont& sized, std::string_view text, bool rightToLeft);
  void Shape(SizedFont& sized, std::string_view text, bool rightToLeft, ShapedRun& run);
  size_t FaceForCodepoint(const Style& style, char32_t cp) const;

  // Declared in destruction order: runs and sized faces go before the files
  // they point into, the files before the FreeType library.
  FT_Library library_ = nullptr;
  std::unique_ptr<FontMatcher> matcher_;
  std::map<std::pair<std::string, int>, std::unique_ptr<FontFile>> files_;
  std::map<std::string, MatchedFont> fallbacks_;
  std::map<std::string, Style> styles_;
  std::unordered_map<std::string, std::unique_ptr<SizedFont>> sized_;
  RunCache<ShapedRun> runs_;
  size_t maskBytes_ = 0;  // rendered glyphs held by all sized faces
  hb_buffer_t* buffer_ = nullptr;
  std::vector<char32_t> codepoints_;
  std::string key_;
};

}  // namespace vark::text
