#include "platform/graphics/text/GlyphPainter.h"

#include <algorithm>

#include "platform/graphics/Bitmap.h"

namespace vark::text {

namespace {

inline uint32_t Div255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}

// Source-over of an opaque colour at coverage a onto a premultiplied pixel.
inline Pixel BlendCoverage(Pixel dst, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  const uint32_t inv = 255 - a;
  const uint32_t db = dst & 0xFF;
  const uint32_t dg = (dst >> 8) & 0xFF;
  const uint32_t dr = (dst >> 16) & 0xFF;
  const uint32_t da = dst >> 24;
  return Div255(b * a + db * inv) | (Div255(g * a + dg * inv) << 8) |
         (Div255(r * a + dr * inv) << 16) | (Div255(255 * a + da * inv) << 24);
}

}  // namespace

GlyphPainter::GlyphPainter(TBitmap& target, const TRect& area, TColor color)
    : target_(target), area_(area) {
  const TColor rgb = ColorToRGB(color);
  r_ = GetRValue(rgb);
  g_ = GetGValue(rgb);
  b_ = GetBValue(rgb);
  solid_ = OpaquePixel(rgb);
}

void GlyphPainter::Coverage(int left, int top, int width, int height, const uint8_t* coverage,
                            size_t pitch) {
  const TRect box = IntersectRect(Rect(left, top, left + width, top + height), area_);
  if (box.IsEmpty()) return;
  for (int yy = box.Top; yy < box.Bottom; ++yy) {
    const uint8_t* cov = coverage + static_cast<size_t>(yy - top) * pitch + (box.Left - left);
    Pixel* row = target_.ScanLine(yy);
    for (int xx = box.Left; xx < box.Right; ++xx, ++cov) {
      const uint32_t a = *cov;
      if (a == 0) continue;
      row[xx] = a == 255 ? solid_ : BlendCoverage(row[xx], r_, g_, b_, a);
    }
  }
}

void GlyphPainter::Fill(const TRect& rect) {
  const TRect r = IntersectRect(rect, area_);
  if (r.IsEmpty()) return;
  for (int yy = r.Top; yy < r.Bottom; ++yy)
    std::fill_n(target_.ScanLine(yy) + r.Left, r.Width(), solid_);
}

}  // namespace vark::text
