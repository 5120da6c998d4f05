#include "platform/graphics/Scale.h"

#include <pixman.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Resample.h"
#include "platform/graphics/ScaleMapping.h"

namespace vark {

namespace {

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
  ScaleMapping m;
  if (opacity == 0 || !MapScaled(dst, clip, destRect, src, srcRect, halfPixelOffset, m)) return;
  const TRect area = m.area;
  // pixman's 16.16 fixed point holds scales and offsets up to ±32767; a
  // mapping beyond that (a picture shrunk thousands of times over, a rectangle
  // tens of thousands of pixels away) draws nothing. The half-pixel offset is
  // pixman's own convention: pixel centres at x + 0.5.
  const double sx = m.scaleX, sy = m.scaleY, tx = m.offsetX, ty = m.offsetY;
  constexpr double kLimit = 30000;
  if (sx > kLimit || sy > kLimit || sx < 1 / kLimit || sy < 1 / kLimit || std::abs(tx) > kLimit ||
      std::abs(ty) > kLimit) {
    return;
  }
  // The destination as pixman sees it: only the area drawn, so coordinates
  // stay small.
  PixmanImage dstImage(
      pixman_image_create_bits_no_clear(PIXMAN_a8r8g8b8, area.Width(), area.Height(),
                                        dst.ScanLine(area.Top) + area.Left, dst.Width() * 4));
  if (dstImage.image == nullptr) return;
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
    Resample({m.pixels, m.width, m.height, m.stride, m.opaque}, {sx, tx}, {sy, ty}, edge,
             area.Width(), area.Height(), filtered);
    PixmanImage filteredImage(pixman_image_create_bits_no_clear(
        PIXMAN_a8r8g8b8, area.Width(), area.Height(), filtered.data(), area.Width() * 4));
    if (filteredImage.image == nullptr) return;
    pixman_image_composite32(PIXMAN_OP_OVER, filteredImage.image, maskImage.image, dstImage.image,
                             0, 0, 0, 0, 0, 0, area.Width(), area.Height());
    return;
  }

  PixmanImage srcImage(
      pixman_image_create_bits_no_clear(m.opaque ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8, m.width,
                                        m.height, const_cast<uint32_t*>(m.pixels), m.stride * 4));
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
