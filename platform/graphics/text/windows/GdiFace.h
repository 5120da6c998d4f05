// GdiFace: one GDI font at one size, the metrics and glyphs the text engine
// asks of it, and the caches of its glyph indices, advances, kerning pairs
// and rendered glyphs. Glyph coverage comes from GetGlyphOutlineW (grey
// levels 0..64), which the engine blends itself: GDI's own text output into
// a 32-bit bitmap would leave the alpha byte zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vark::text {

class GdiDevice;

// A glyph of a shaped run: its advance and where shaping moves it from the pen
// position (pixels; dy upwards, as for a mark above a letter).
struct ShapedGlyph {
  uint16_t glyph = 0;
  int advance = 0;
  int dx = 0;
  int dy = 0;
};

// An anti-aliased glyph: coverage 0..255, placed relative to the pen position
// on the baseline (left to the right, top upwards).
struct GdiGlyphMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

class GdiFace {
 public:
  static constexpr uint16_t kMissing = 0xFFFF;

  // The font family at height (negative: the em in pixels; positive: the
  // cell height, ascent + descent), measured and rendered in device. The face
  // is the one GDI's font mapper chooses for the name, which may be a
  // substitute.
  GdiFace(GdiDevice& device, const std::wstring& family, int height, bool bold, bool italic);
  ~GdiFace();
  GdiFace(const GdiFace&) = delete;
  GdiFace& operator=(const GdiFace&) = delete;

  bool Valid() const { return font_ != nullptr; }
  // The face GDI chose for the family name.
  const std::wstring& FaceName() const { return faceName_; }
  // False when GDI drew another face for the name, one the system lacks.
  bool Named(const std::wstring& family) const;
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }
  // The em in pixels (the cell height less the internal leading).
  int Em() const { return em_; }
  // Offsets from the baseline (positive downwards) and thicknesses, pixels.
  int UnderlineOffset() const { return underlineOffset_; }
  int UnderlineThickness() const { return underlineThickness_; }
  int StrikeoutOffset() const { return strikeoutOffset_; }
  int StrikeoutThickness() const { return strikeoutThickness_; }

  // The glyph of a code point, or kMissing when the face has none.
  uint16_t Glyph(char32_t cp);
  // The advance width of a glyph, whole pixels as GDI lays text out.
  int Advance(uint16_t glyph);
  // The kerning of a pair of glyphs, pixels (mostly negative): the font's
  // kerning table, the pairs GDI applies, scaled to the size.
  int Kerning(uint16_t left, uint16_t right);
  // A script item (ScriptItems.h, its analysis) shaped by Uniscribe in this
  // face, its glyphs in visual order, left to right; false when the face
  // cannot shape the script.
  bool Shape(std::wstring_view text, uint32_t analysis, std::vector<ShapedGlyph>& glyphs);
  // The rendered glyph; an empty mask when it has no outline. A glyph
  // rendered now adds its size to bytesAdded.
  const GdiGlyphMask& Mask(uint16_t glyph, size_t& bytesAdded);
  void DropMasks() { masks_.clear(); }

  // The font file GDI draws from (empty when the system does not say) and
  // whether it emboldens or slants the face itself.
  struct Realization {
    std::wstring file;
    bool syntheticBold = false;
    bool syntheticItalic = false;
  };
  Realization Realize();

 private:
  void Select();
  uint16_t GlyphBeyondBmp(char32_t cp);
  void LoadKerning();

  GdiDevice& device_;
  void* font_ = nullptr;         // HFONT
  void* scriptCache_ = nullptr;  // Uniscribe's SCRIPT_CACHE for the font
  std::wstring faceName_;
  int ascent_ = 0;
  int descent_ = 0;
  int em_ = 0;
  int underlineOffset_ = 1;
  int underlineThickness_ = 1;
  int strikeoutOffset_ = 0;
  int strikeoutThickness_ = 1;
  bool kerningLoaded_ = false;
  bool cmapLoaded_ = false;
  std::unordered_map<char32_t, uint16_t> glyphs_;
  std::unordered_map<uint16_t, int> advances_;
  std::vector<uint8_t> kern_;  // the font's kern table
  size_t kernPairs_ = 0;       // offset of its sorted pairs (left, right, value)
  size_t kernPairCount_ = 0;
  int unitsPerEm_ = 0;
  std::vector<uint8_t> cmap_;  // the font's cmap table, for code points beyond U+FFFF
  size_t cmapGroups_ = 0;      // offset of its format-12 groups, 0 when none
  uint32_t cmapGroupCount_ = 0;
  std::unordered_map<uint16_t, GdiGlyphMask> masks_;
};

}  // namespace vark::text
