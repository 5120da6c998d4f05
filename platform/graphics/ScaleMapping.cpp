#include "platform/graphics/ScaleMapping.h"

#include "platform/graphics/Bitmap.h"

namespace vark {

namespace {

inline uint32_t Div255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}

}  // namespace

bool MapScaled(const TBitmap& dst, const TRect& clip, const TRect& destRect, const TBitmap& src,
               const TRect& srcRect, bool halfPixelOffset, ScaleMapping& m) {
  if (destRect.IsEmpty() || dst.Empty() || src.Empty() || srcRect.IsEmpty()) return false;
  // A source rectangle reaching outside the bitmap keeps its scale; only the
  // part inside is read, and the edge mode decides what lies beyond it.
  const TRect source = IntersectRect(srcRect, Rect(0, 0, src.Width(), src.Height()));
  if (source.IsEmpty()) return false;
  m.area = IntersectRect(IntersectRect(clip, destRect), Rect(0, 0, dst.Width(), dst.Height()));
  if (m.area.IsEmpty()) return false;

  m.opaque = src.PixelFormat() == pf24bit || src.AlphaFormat() == afIgnored;
  m.width = source.Width();
  m.height = source.Height();
  m.pixels = src.ScanLine(source.Top) + source.Left;
  m.stride = src.Width();
  if (!m.opaque && src.AlphaFormat() == afDefined) {
    // Straight alpha: read from a premultiplied copy.
    m.premultiplied.resize(static_cast<size_t>(m.width) * m.height);
    for (int y = 0; y < m.height; ++y) {
      const Pixel* in = src.ScanLine(source.Top + y) + source.Left;
      uint32_t* out = m.premultiplied.data() + static_cast<size_t>(y) * m.width;
      for (int x = 0; x < m.width; ++x) {
        const Pixel p = in[x];
        const uint32_t a = p >> 24;
        if (a == 255) {
          out[x] = p;
        } else {
          out[x] = (a << 24) | (Div255(((p >> 16) & 0xFF) * a) << 16) |
                   (Div255(((p >> 8) & 0xFF) * a) << 8) | Div255((p & 0xFF) * a);
        }
      }
    }
    m.pixels = m.premultiplied.data();
    m.stride = m.width;
  }

  // With the half-pixel offset, pixel centres sit at x + 0.5 on both sides;
  // without it, at whole coordinates, which shifts the sampling by half a
  // pixel less the scaled half pixel. Pixel i of the area lies
  // area.Left - destRect.Left + i pixels into the destination rectangle. In
  // doubles: the rectangles may span more than an int holds.
  auto span = [](int from, int to) { return static_cast<double>(to) - from; };
  m.scaleX = span(srcRect.Left, srcRect.Right) / span(destRect.Left, destRect.Right);
  m.scaleY = span(srcRect.Top, srcRect.Bottom) / span(destRect.Top, destRect.Bottom);
  m.offsetX = span(destRect.Left, m.area.Left) * m.scaleX + span(source.Left, srcRect.Left);
  m.offsetY = span(destRect.Top, m.area.Top) * m.scaleY + span(source.Top, srcRect.Top);
  if (!halfPixelOffset) {
    m.offsetX += 0.5 - 0.5 * m.scaleX;
    m.offsetY += 0.5 - 0.5 * m.scaleY;
  }
  return true;
}

}  // namespace vark
