#include "platform/graphics/text/linux/SizedFace.h"

#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_SIZES_H

#include <algorithm>
#include <cstring>

namespace vark::text {

SizedFace::SizedFace(const FontFile& file, int ppem, bool syntheticBold, bool syntheticItalic)
    : file_(file), ppem_(ppem), syntheticBold_(syntheticBold), syntheticItalic_(syntheticItalic) {
  FT_Face face = file_.Face();
  if (FT_New_Size(face, &size_) == 0) {
    FT_Activate_Size(size_);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem_));
  } else {
    size_ = nullptr;
  }
  hbFont_ = hb_font_create(file_.HbFace());
  // Positions come out in 26.6 pixels.
  hb_font_set_scale(hbFont_, ppem_ * 64, ppem_ * 64);
  hb_font_set_ppem(hbFont_, static_cast<unsigned>(ppem_), static_cast<unsigned>(ppem_));
  ascent_ = Scale(file_.Ascent());
  descent_ = Scale(file_.Descent());
  // The classic desktop widens each glyph of a synthesised bold by a pixel.
  if (syntheticBold_) boldExtra_ = std::max(1, (ppem_ + 12) / 24);
}

SizedFace::~SizedFace() {
  if (hbFont_ != nullptr) hb_font_destroy(hbFont_);
  if (size_ != nullptr) FT_Done_Size(size_);
}

int SizedFace::Scale(int fontUnits) const {
  const int64_t num = static_cast<int64_t>(fontUnits) * ppem_;
  const int64_t upem = file_.UnitsPerEm();
  return static_cast<int>(num >= 0 ? (num + upem / 2) / upem : -((-num + upem / 2) / upem));
}

int SizedFace::UnderlineThickness() const {
  return std::max(1, Scale(file_.UnderlineThickness()));
}

int SizedFace::UnderlineOffset() const {
  // The position names the centre of the line; keep at least one pixel of
  // space below the baseline.
  return std::max(1, -Scale(file_.UnderlinePosition()) - UnderlineThickness() / 2);
}

int SizedFace::StrikeoutThickness() const {
  return std::max(1, Scale(file_.StrikeoutThickness()));
}

int SizedFace::StrikeoutOffset() const {
  return -Scale(file_.StrikeoutPosition());
}

const GlyphMask& SizedFace::Mask(uint32_t glyph, size_t& bytesAdded) {
  auto it = masks_.find(glyph);
  if (it != masks_.end()) return it->second;
  GlyphMask& mask = masks_[glyph];
  Render(glyph, mask);
  bytesAdded += mask.coverage.size() + sizeof(GlyphMask);
  return mask;
}

void SizedFace::Render(uint32_t glyph, GlyphMask& mask) {
  if (size_ == nullptr) return;
  FT_Face face = file_.Face();
  FT_Activate_Size(size_);
  // Light hinting keeps the shapes and only snaps heights to the pixel grid;
  // embedded bitmaps (colour emoji among them) are never used.
  if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
  if (syntheticItalic_) FT_GlyphSlot_Oblique(slot);
  if (syntheticBold_) FT_GlyphSlot_Embolden(slot);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) return;
  mask.left = slot->bitmap_left;
  mask.top = slot->bitmap_top;
  mask.width = static_cast<int>(bitmap.width);
  mask.height = static_cast<int>(bitmap.rows);
  mask.coverage.resize(static_cast<size_t>(mask.width) * mask.height);
  for (int row = 0; row < mask.height; ++row) {
    const unsigned char* src =
        bitmap.pitch >= 0
            ? bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch
            : bitmap.buffer + static_cast<ptrdiff_t>(mask.height - 1 - row) * -bitmap.pitch;
    std::memcpy(mask.coverage.data() + static_cast<size_t>(row) * mask.width, src,
                static_cast<size_t>(mask.width));
  }
}

}  // namespace vark::text
