// TextEngine (Windows): the caches behind vark::text — fonts at a size with
// their fallback faces, laid-out runs — and the drawing of runs into bitmaps,
// over GDI.
//
// A font at a size resolves to a chain of faces: the named one first, then
// the faces the system links to it (FontLink.h) in the system's order, then
// the fallback families, made as a code point needs them. A code point is
// drawn by the first face that has it. GDI does no fallback of its own for
// private-use code points, so the icon code points are first looked for in
// the icon fonts and otherwise drawn as the Unicode symbols that stand in for
// them (IconCodepoints.h); a code point no face of the chain has is looked for
// in every installed font, once.
//
// Text of a complex script (Arabic, Hebrew, the Indic scripts, ...) is shaped
// by Uniscribe in one face, as GDI's own text output shapes it; other text is
// laid out a glyph a character, with the font's kerning pairs. Measuring and
// drawing read the same laid-out run.
#pragma once

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
#include "platform/graphics/text/windows/GdiDevice.h"
#include "platform/graphics/text/windows/GdiFace.h"

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
  // A font at a size: its faces, the named one first, each made on first use.
  struct SizedFont {
    std::wstring family;
    bool bold = false;
    bool italic = false;
    int height = 0;  // GDI's height of the named face
    int em = 0;      // the fallback faces are made at this em
    int ascent = 0;
    int descent = 0;
    std::vector<std::wstring> links;     // the faces the system links to the named one
    std::vector<std::wstring> families;  // of the faces below, in order
    std::vector<std::unique_ptr<GdiFace>> faces;
  };
  struct PlacedGlyph {
    int x = 0;  // the pen position, pixels from the run's left
    int y = 0;  // pixels below the baseline (a mark moved by shaping)
    uint16_t glyph = 0;
    uint16_t face = 0;
  };
  struct ShapedRun {
    int width = 0;
    std::vector<PlacedGlyph> glyphs;
  };
  // The face of a chain that draws a code point, and its glyph.
  struct Choice {
    size_t face = 0;
    uint16_t glyph = GdiFace::kMissing;
  };

  SizedFont& Sized(const TFont& font);
  GdiFace* Face(SizedFont& sized, size_t index);
  // The chain's face for a family, made and added when it is not there yet.
  size_t Member(SizedFont& sized, const std::wstring& family);
  Choice Choose(SizedFont& sized, char32_t cp, size_t preferred);
  // The drawn code point of an icon code point: itself when an icon font has
  // it, else the symbol that stands in for it.
  char32_t IconOrSymbol(SizedFont& sized, char32_t cp);
  const std::wstring* InstalledFamilyWith(char32_t cp);
  const ShapedRun& Run(SizedFont& sized, std::string_view text, bool rightToLeft);
  void Shape(SizedFont& sized, std::string_view text, bool rightToLeft, ShapedRun& run);
  // Lays out code points [start, end) of codepoints_ from pen onwards: one
  // glyph a character (reversed when read right to left), or as Uniscribe
  // shapes a complex script item (false when no face can).
  void PlaceEach(SizedFont& sized, size_t start, size_t end, bool rightToLeft, int64_t& pen,
                 ShapedRun& run);
  bool PlaceShaped(SizedFont& sized, size_t start, size_t end, uint32_t analysis, int64_t& pen,
                   ShapedRun& run);

  GdiDevice device_;  // before the faces, which draw in it
  std::unordered_map<std::string, std::unique_ptr<SizedFont>> sized_;
  RunCache<ShapedRun> runs_;
  size_t maskBytes_ = 0;  // rendered glyphs held by all faces
  // Installed families, listed the first time a code point needs them, and
  // the family found for each such code point (empty: none has it).
  std::vector<std::wstring> installed_;
  bool installedListed_ = false;
  std::unordered_map<char32_t, std::wstring> searched_;
  std::vector<char32_t> codepoints_;
  std::vector<ShapedGlyph> shaped_;
  std::string key_;
};

}  // namespace vark::text
