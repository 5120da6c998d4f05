#include "platform/graphics/Scale.h"

#include <cmath>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Composite.h"
#include "platform/graphics/Resample.h"

namespace vark {

namespace {

ResampleKernel KernelOf(ScaleFilter filter) {
  switch (filter) {
    case ScaleFilter::Nearest:
      return ResampleKernel::Nearest;
    case ScaleFilter::HighQuality:
      return ResampleKernel::Area;
    case ScaleFilter::Bilinear:
    default:
      return ResampleKernel::Linear;
  }
}

}  // namespace

void DrawScaled(TBitmap& dst, const TRect& clip, const TRect& destRect, const TBitmap& src,
                const TRect& srcRect, uint8_t opacity, ScaleFilter filter, bool halfPixelOffset,
                EdgeMode edge) {
  if (opacity == 0 || destRect.IsEmpty() || dst.Empty() || src.Empty()) return;
  if (srcRect.IsEmpty()) return;
  // A source rectangle reaching outside the bitmap keeps its scale; only the
  // part inside is read, and the edge mode decides what lies beyond it.
  const TRect source = IntersectRect(srcRect, Rect(0, 0, src.Width(), src.Height()));
  if (source.IsEmpty()) return;
  const TRect area =
      IntersectRect(IntersectRect(clip, destRect), Rect(0, 0, dst.Width(), dst.Height()));
  if (area.IsEmpty()) return;

  // The source as the filter sees it: only the part inside srcRect, so that
  // the edge mode acts at srcRect's edges and never reads the pixels around it.
  const bool opaque = src.PixelFormat() == pf24bit || src.AlphaFormat() == afIgnored;
  const int sw = source.Width();
  const int sh = source.Height();
  std::vector<uint32_t> premultiplied;
  const uint32_t* bits = src.ScanLine(source.Top) + source.Left;
  int stride = src.Width();
  if (!opaque && src.AlphaFormat() == afDefined) {
    // Straight alpha: composite from a premultiplied copy.
    premultiplied.resize(static_cast<size_t>(sw) * sh);
    for (int y = 0; y < sh; ++y) {
      const Pixel* in = src.ScanLine(source.Top + y) + source.Left;
      uint32_t* out = premultiplied.data() + static_cast<size_t>(y) * sw;
      for (int x = 0; x < sw; ++x) {
        const Pixel p = in[x];
        const uint32_t a = p >> 24;
        out[x] = a == 255 ? p : (a << 24) | (ScalePixel(p, a) & 0x00FFFFFFu);
      }
    }
    bits = premultiplied.data();
    stride = sw;
  }

  // Destination pixel centres map to source coordinates. With the half-pixel
  // offset, pixel centres sit at x + 0.5 on both sides; without it, at whole
  // coordinates, which shifts the sampling by half a pixel less the scaled
  // half pixel. Pixel i of the area lies area.Left - destRect.Left + i pixels
  // into the destination rectangle. In doubles: the rectangles may span more
  // than an int holds.
  auto span = [](int from, int to) { return static_cast<double>(to) - from; };
  const double sx = span(srcRect.Left, srcRect.Right) / span(destRect.Left, destRect.Right);
  const double sy = span(srcRect.Top, srcRect.Bottom) / span(destRect.Top, destRect.Bottom);
  double tx = span(destRect.Left, area.Left) * sx + span(source.Left, srcRect.Left);
  double ty = span(destRect.Top, area.Top) * sy + span(source.Top, srcRect.Top);
  if (!halfPixelOffset) {
    tx += 0.5 - 0.5 * sx;
    ty += 0.5 - 0.5 * sy;
  }
  // Unscaled, every sample point is a pixel centre (the offsets are whole):
  // each filter gives the pixel itself, which the plain gather gives fastest.
  const ResampleKernel kernel = sx == 1.0 && sy == 1.0 ? ResampleKernel::Nearest : KernelOf(filter);
  Resampler resampler({bits, sw, sh, stride, opaque}, {sx, tx, kernel}, {sy, ty, kernel}, edge,
                      area.Width(), area.Height());
  for (int y = 0; y < area.Height(); ++y)
    resampler.CompositeRow(y, dst.ScanLine(area.Top + y) + area.Left, opacity);
}

}  // namespace vark
