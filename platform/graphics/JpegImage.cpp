#include "platform/graphics/JpegImage.h"

#include <system_error>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/PictureFile.h"
#include "platform/graphics/Scale.h"

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() {
  DropPending();
}

void TJPEGImage::LoadFromFile(const std::string& path) {
  LoadFromMemory(vark::ReadPictureFile(path));
}

void TJPEGImage::LoadFromMemory(std::span<const uint8_t> data) {
  const vark::JpegInfo info = vark::ReadJpegHeader(data);
  vark::CheckJpegStructure(data);
  DropPending();
  data_.assign(data.begin(), data.end());
  width_ = info.width;
  height_ = info.height;
  decoded_.reset();
  decodedDenominator_ = 0;
  failed_ = false;
  Changed();
}

void TJPEGImage::SaveToFile(const std::string& path) const {
  vark::WritePictureFile(path, data_);
}

int TJPEGImage::ScaleDenominatorFor(int width, int height, int destWidth, int destHeight) {
  if (destWidth <= 0 || destHeight <= 0) return 1;
  for (int denominator : {8, 4, 2}) {
    // libjpeg rounds a scaled size up: half of 1667 rows is 834.
    const int w = (width + denominator - 1) / denominator;
    const int h = (height + denominator - 1) / denominator;
    if (w >= destWidth && h >= destHeight) return denominator;
  }
  return 1;
}

const TBitmap& TJPEGImage::DecodedFor(int destWidth, int destHeight) const {
  const int denominator = ScaleDenominatorFor(width_, height_, destWidth, destHeight);
  if (!decoded_ || decodedDenominator_ != denominator) {
    if (pending_.valid() && pendingDenominator_ == denominator) {
      // The prepared decode; its failure is raised here, as a decode's is.
      auto pending = std::move(pending_);
      decoded_ = pending.get();
      decodedDenominator_ = denominator;
      return *decoded_;
    }
    DropPending();
    auto bitmap = std::make_unique<TBitmap>();
    if (!data_.empty()) vark::DecodeJpeg(data_, denominator, *bitmap);
    decoded_ = std::move(bitmap);
    decodedDenominator_ = denominator;
  }
  return *decoded_;
}

void TJPEGImage::PrepareFor(int destWidth, int destHeight) const {
  const int denominator = ScaleDenominatorFor(width_, height_, destWidth, destHeight);
  if (data_.empty() || failed_ || (decoded_ && decodedDenominator_ == denominator) ||
      (pending_.valid() && pendingDenominator_ == denominator)) {
    return;
  }
  DropPending();
  try {
    pending_ = std::async(std::launch::async, [data = std::span(data_), denominator] {
      const vark::CodecThreadScope codecs;
      auto bitmap = std::make_unique<TBitmap>();
      vark::DecodeJpeg(data, denominator, *bitmap);
      return bitmap;
    });
    pendingDenominator_ = denominator;
  } catch (const std::system_error&) {
    // No thread to be had: the first draw decodes, as without preparing.
  }
}

void TJPEGImage::DropPending() const {
  if (!pending_.valid()) return;
  pending_.wait();
  pending_ = {};
}

void TJPEGImage::ReleaseDrawCache() const {
  DropPending();
  decoded_.reset();
  decodedDenominator_ = 0;
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& dest) const {
  TBitmap* target = canvas.Target();
  if (target == nullptr || Empty() || dest.IsEmpty() || failed_) return;
  const TBitmap* decoded = nullptr;
  try {
    decoded = &DecodedFor(dest.Width(), dest.Height());
  } catch (const EInvalidGraphic&) {
    // Damage deep in the image data shows only when decoding. Painting must
    // not fail over and over: the picture stays blank.
    failed_ = true;
    return;
  }
  const TBitmap& source = *decoded;
  if (source.Empty()) return;
  const TPoint origin = canvas.Origin();
  TRect device = dest;
  device.Offset(origin.X, origin.Y);
  TRect clip = canvas.ClipRect();
  clip.Offset(origin.X, origin.Y);
  vark::DrawScaled(
      *target, clip, device, source, Rect(0, 0, source.Width(), source.Height()), 255,
      vark::PictureFilter(source.Width(), source.Height(), device.Width(), device.Height()), true,
      vark::EdgeMode::Clamp);
}

void TJPEGImage::AssignTo(TBitmap& bitmap) const {
  if (data_.empty()) {
    bitmap.SetSize(0, 0);
    return;
  }
  vark::DecodeJpeg(data_, 1, bitmap);
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  copy->data_ = data_;
  copy->width_ = width_;
  copy->height_ = height_;
  copy->SetTransparent(Transparent());
  return copy;
}
