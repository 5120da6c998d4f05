// TJPEGImage: a JPEG picture. It keeps the compressed data and decodes it when
// drawn; a picture drawn at half its size or less is decoded with libjpeg's
// DCT scaling at the largest reduction that still covers the target, and the
// decoded bitmap is kept for the next paint at that scale. PrepareFor starts
// that decode on another thread ahead of the first paint.
#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/graphics/Graphic.h"

class TBitmap;

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  TJPEGImage(const TJPEGImage&) = delete;
  TJPEGImage& operator=(const TJPEGImage&) = delete;

  // Loading reads the header and walks the file's structure to its end, so
  // a truncated file, a broken header or segment and a picture too large to
  // hold fail here with EInvalidGraphic; damage inside the compressed image
  // data shows when it is decoded (AssignTo and DecodedFor raise
  // EInvalidGraphic, Draw leaves the picture blank). EFOpenError for a file
  // that cannot be read. The picture is unchanged after a failure.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(std::span<const uint8_t> data);
  void SaveToFile(const std::string& path) const;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  const std::vector<uint8_t>& Data() const { return data_; }

  // The reduction (1, 2, 4 or 8) used to draw a width x height picture into
  // a destWidth x destHeight rectangle: the largest whose result still covers
  // the target in both directions, so 1 when the target is above half size.
  static int ScaleDenominatorFor(int width, int height, int destWidth, int destHeight);

  // The picture decoded for display at destWidth x destHeight (cached).
  // EInvalidGraphic when the image data is damaged.
  const TBitmap& DecodedFor(int destWidth, int destHeight) const;
  void PrepareFor(int destWidth, int destHeight) const override;

  void Draw(TCanvas& canvas, const TRect& dest) const override;
  // The bitmap becomes an opaque 24-bit copy at full size.
  void AssignTo(TBitmap& bitmap) const override;
  std::unique_ptr<TGraphic> Clone() const override;
  void ReleaseDrawCache() const override;

 private:
  std::vector<uint8_t> data_;
  int width_ = 0;
  int height_ = 0;
  mutable std::unique_ptr<TBitmap> decoded_;
  mutable int decodedDenominator_ = 0;
  mutable bool failed_ = false;  // decoding failed once: drawn blank from then on
  // A decode PrepareFor started, at pendingDenominator_. It reads data_, so
  // whatever changes data_ waits for it first (and so does the destructor).
  mutable std::future<std::unique_ptr<TBitmap>> pending_;
  mutable int pendingDenominator_ = 0;
  void DropPending() const;
};
