#include "platform/graphics/Scale.h"

#include <pixman.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/graphics/Resample.h"
#include "platform/graphics/Bitmap.h"

namespace vark {

namespace {

inline uint32_t Div255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}

// Owns one pixman image.
struct PixmanImage {
  pixman_image_t* image = nullptr;
  explicit PixmanImage(pixman_image_t* i) : image(i) {}
  ~PixmanImage() {
    if (image != nullptr) pixman_image_unref(image);
  }
  PixmanImage(const PixmanImage&) = delete;
  PixmanImage& operator=(const PixmanImage&) = delete;
};

pixman_repeat_t RepeatOf(EdgeMode edge) {
  switch (edge) {
    case EdgeMode::Clamp:
      return PIXMAN_REPEAT_PAD;
    case EdgeMode::TileFlip:
      return PIXMAN_REPEAT_REFLECT;
    case EdgeMode::Transparent:
    default:
      return PIXMAN_REPEAT_NONE;
  }
}

void SetFilter(pixman_image_t* image, ScaleFilter filter) {
  pixman_image_set_filter(
      image, filter == ScaleFilter::Nearest ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR,
      nullptr, 0);
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

  // The source as pixman sees it: only the part inside srcRect, so that the
  // edge mode acts at srcRect's edges and never reads the pixels around it.
  const bool opaque = src.PixelFormat() == pf24bit || src.AlphaFormat() == afIgnored;
  const int sw = source.Width();
  const int sh = source.Height();
  std::vector<uint32_t> premultiplied;
  uint32_t* bits = const_cast<uint32_t*>(src.ScanLine(source.Top) + source.Left);
  int stride = src.Width() * 4;
  if (!opaque && src.AlphaFormat() == afDefined) {
    // Straight alpha: composite from a premultiplied copy.
    premultiplied.resize(static_cast<size_t>(sw) * sh);
    for (int y = 0; y < sh; ++y) {
      const Pixel* in = src.ScanLine(source.Top + y) + source.Left;
      uint32_t* out = premultiplied.data() + static_cast<size_t>(y) * sw;
      for (int x = 0; x < sw; ++x) {
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
    bits = premultiplied.data();
    stride = sw * 4;
  }
  // The destination as pixman sees it: only the area drawn, so coordinates
  // stay small (pixman's fixed-point transforms hold about ±32000).
  PixmanImage dstImage(
      pixman_image_create_bits_no_clear(PIXMAN_a8r8g8b8, area.Width(), area.Height(),
                                        dst.ScanLine(area.Top) + area.Left, dst.Width() * 4));
  if (dstImage.image == nullptr) return;

  // Destination pixel centres map to source coordinates. With the half-pixel
  // offset, pixel centres sit at x + 0.5 on both sides (pixman's own
  // convention); without it, at whole coordinates, which shifts the sampling
  // by half a pixel less the scaled half pixel. Pixel i of the area lies
  // area.Left - destRect.Left + i pixels into the destination rectangle.
  // In doubles: the rectangles may span more than an int holds.
  auto span = [](int from, int to) { return static_cast<double>(to) - from; };
  const double sx = span(srcRect.Left, srcRect.Right) / span(destRect.Left, destRect.Right);
  const double sy = span(srcRect.Top, srcRect.Bottom) / span(destRect.Top, destRect.Bottom);
  double tx = span(destRect.Left, area.Left) * sx + span(source.Left, srcRect.Left);
  double ty = span(destRect.Top, area.Top) * sy + span(source.Top, srcRect.Top);
  if (!halfPixelOffset) {
    tx += 0.5 - 0.5 * sx;
    ty += 0.5 - 0.5 * sy;
  }
  // pixman's 16.16 fixed point holds scales and offsets up to ±32767; a
  // mapping beyond that (a picture shrunk thousands of times over, a rectangle
  // tens of thousands of pixels away) draws nothing.
  constexpr double kLimit = 30000;
  if (sx > kLimit || sy > kLimit || sx < 1 / kLimit || sy < 1 / kLimit || std::abs(tx) > kLimit ||
      std::abs(ty) > kLimit) {
    return;
  }
  const bool unscaled = sx == 1.0 && sy == 1.0;
  pixman_image_t* mask = nullptr;
  if (opacity != 255) {
    const pixman_color_t alpha{0, 0, 0, static_cast<uint16_t>(opacity * 257)};
    mask = pixman_image_create_solid_fill(&alpha);
  }
  PixmanImage maskImage(mask);

  if (filter == ScaleFilter::HighQuality && (sx > 1.0 || sy > 1.0)) {
    // The area average, filtered into a picture of the area's size that is
    // then laid over the destination unscaled.
    std::vector<uint32_t> filtered(static_cast<size_t>(area.Width()) * area.Height());
    Resample({bits, sw, sh, stride / 4, opaque}, {sx, tx}, {sy, ty}, edge, area.Width(),
             area.Height(), filtered);
    PixmanImage filteredImage(pixman_image_create_bits_no_clear(
        PIXMAN_a8r8g8b8, area.Width(), area.Height(), filtered.data(), area.Width() * 4));
    if (filteredImage.image == nullptr) return;
    pixman_image_composite32(PIXMAN_OP_OVER, filteredImage.image, maskImage.image, dstImage.image,
                             0, 0, 0, 0, 0, 0, area.Width(), area.Height());
    return;
  }

  PixmanImage srcImage(pixman_image_create_bits_no_clear(opaque ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8,
                                                         sw, sh, bits, stride));
  if (srcImage.image == nullptr) return;
  pixman_transform_t transform;
  pixman_transform_init_identity(&transform);
  transform.matrix[0][0] = pixman_double_to_fixed(sx);
  transform.matrix[0][2] = pixman_double_to_fixed(tx);
  transform.matrix[1][1] = pixman_double_to_fixed(sy);
  transform.matrix[1][2] = pixman_double_to_fixed(ty);
  if (unscaled && halfPixelOffset) {
    // A plain copy: an integer translation, every filter samples exactly.
    pixman_image_set_filter(srcImage.image, PIXMAN_FILTER_NEAREST, nullptr, 0);
  } else {
    SetFilter(srcImage.image, filter);
  }
  pixman_image_set_transform(srcImage.image, &transform);
  pixman_image_set_repeat(srcImage.image, RepeatOf(edge));

  pixman_image_composite32(PIXMAN_OP_OVER, srcImage.image, maskImage.image, dstImage.image, 0, 0, 0,
                           0, 0, 0, area.Width(), area.Height());
}

}  // namespace vark
