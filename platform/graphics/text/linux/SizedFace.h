// SizedFace: a font file at one pixel size, with the bold and italic it has to
// synthesise, its line metrics in pixels and its cache of rendered glyphs.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/graphics/text/linux/FontFile.h"

namespace vark::text {

// An anti-aliased glyph: coverage 0..255, placed relative to the pen position
// on the baseline (left to the right, top upwards).
struct GlyphMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

class SizedFace {
 public:
  SizedFace(const FontFile& file, int ppem, bool syntheticBold, bool syntheticItalic);
  ~SizedFace();
  SizedFace(const SizedFace&) = delete;
  SizedFace& operator=(const SizedFace&) = delete;

  const FontFile& File() const { return file_; }
  int Ppem() const { return ppem_; }
  hb_font_t* HbFont() const { return hbFont_; }

  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }
  // Extra advance of every glyph when bold is synthesised (pixels).
  int BoldExtra() const { return boldExtra_; }
  // Pixel offsets from the baseline (positive downwards) and thicknesses.
  int UnderlineOffset() const;
  int UnderlineThickness() const;
  int StrikeoutOffset() const;
  int StrikeoutThickness() const;

  // The rendered glyph; an empty mask when the glyph has no outline. A glyph
  // rendered now adds its size to bytesAdded.
  const GlyphMask& Mask(uint32_t glyph, size_t& bytesAdded);
  // Forgets the rendered glyphs (the engine keeps all faces within a budget).
  void DropMasks() { masks_.clear(); }

 private:
  int Scale(int fontUnits) const;
  void Render(uint32_t glyph, GlyphMask& mask);

  const FontFile& file_;
  int ppem_;
  bool syntheticBold_;
  bool syntheticItalic_;
  FT_Size size_ = nullptr;
  hb_font_t* hbFont_ = nullptr;
  int ascent_ = 0;
  int descent_ = 0;
  int boldExtra_ = 0;
  std::unordered_map<uint32_t, GlyphMask> masks_;
};

}  // namespace vark::text
