#include "platform/graphics/Bitmap.h"

#include <algorithm>
#include <string>

#include "platform/Exceptions.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Scale.h"

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
  SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  const int64_t count = int64_t{width} * height;
  if (count > kMaxPixels) {
    throw EInvalidGraphic("Bitmap too large: " + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels");
  }
  // assign() keeps the vector's capacity when the new size fits in it.
  pixels_.assign(static_cast<size_t>(count), Pixel{0});
  width_ = width;
  height_ = height;
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(this);
  return *canvas_;
}

void TBitmap::Assign(const TGraphic& source) {
  if (&source == this) return;
  source.AssignTo(*this);
}

void TBitmap::AssignTo(TBitmap& bitmap) const {
  if (&bitmap == this) return;
  bitmap.SetSize(width_, height_);
  std::copy(pixels_.begin(), pixels_.end(), bitmap.pixels_.begin());
  bitmap.pixelFormat_ = pixelFormat_;
  bitmap.alphaFormat_ = alphaFormat_;
  bitmap.transparent_ = transparent_;
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  AssignTo(*copy);
  return copy;
}

bool TBitmap::HasAlpha() const {
  return pixelFormat_ == pf32bit && alphaFormat_ != afIgnored;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& dest) const {
  if (Empty() || dest.IsEmpty() || canvas.Target() == nullptr) return;
  if (!HasAlpha()) {
    // An opaque bitmap is a plain pixel copy, as exact as CopyRect.
    canvas.CopyPixels(dest, *this, {0, 0, width_, height_});
    return;
  }
  TBitmap& target = *canvas.Target();
  TRect device = dest;
  device.Offset(canvas.Origin().X, canvas.Origin().Y);
  if (&target == this) {
    // Compositing a bitmap onto itself would read pixels already written.
    TBitmap copy;
    AssignTo(copy);
    vark::DrawScaled(target, canvas.DeviceClipRect(), device, copy, Rect(0, 0, width_, height_),
                     255, vark::ScaleFilter::Nearest, true, vark::EdgeMode::Clamp);
    return;
  }
  vark::DrawScaled(target, canvas.DeviceClipRect(), device, *this, Rect(0, 0, width_, height_), 255,
                   vark::ScaleFilter::Nearest, true, vark::EdgeMode::Clamp);
}
