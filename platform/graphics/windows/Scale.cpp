// DrawScaled on Windows: our own resampler (Resample.h), filtering each row
// of the destination and laying it over as it comes.
#include "platform/graphics/Scale.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Resample.h"
#include "platform/graphics/ScaleMapping.h"

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
  ScaleMapping m;
  if (opacity == 0 || !MapScaled(dst, clip, destRect, src, srcRect, halfPixelOffset, m)) return;
  // Unscaled, every sample point is a pixel centre (the offsets are whole):
  // each filter gives the pixel itself, which the plain gather gives fastest.
  const ResampleKernel kernel =
      m.scaleX == 1.0 && m.scaleY == 1.0 ? ResampleKernel::Nearest : KernelOf(filter);
  Resampler resampler({m.pixels, m.width, m.height, m.stride, m.opaque},
                      {m.scaleX, m.offsetX, kernel}, {m.scaleY, m.offsetY, kernel}, edge,
                      m.area.Width(), m.area.Height());
  for (int y = 0; y < m.area.Height(); ++y)
    resampler.CompositeRow(y, dst.ScanLine(m.area.Top + y) + m.area.Left, opacity);
}

}  // namespace vark
