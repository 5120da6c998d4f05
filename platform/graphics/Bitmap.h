// TBitmap: an off-screen picture of 32-bit BGRA pixels with its own canvas.
//
// Storage is always 32 bits per pixel, rows top-down, Width() pixels per row.
// PixelFormat says how the bitmap presents itself (24-bit: the alpha byte means
// nothing and the bitmap is opaque when drawn), AlphaFormat how its alpha byte is
// read when it is drawn onto something else: afIgnored (opaque), afDefined
// (straight alpha) or afPremultiplied. Canvas operations write opaque pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Types.h"

enum TPixelFormat : uint8_t {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit
};
enum TAlphaFormat : uint8_t { afIgnored, afDefined, afPremultiplied };
enum TBitmapHandleType : uint8_t { bmDIB, bmDDB };

class TBitmap : public TGraphic {
 public:
  // Bitmaps larger than this are refused with EInvalidGraphic instead of
  // exhausting memory (a corrupt picture header can claim any size).
  static constexpr int64_t kMaxPixels = int64_t{1} << 26;  // 64 Mpx, 256 MB

  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  bool Empty() const override { return width_ <= 0 || height_ <= 0; }

  // Resizes; negative sizes count as 0, and more than kMaxPixels throws
  // EInvalidGraphic. A new size clears every pixel to transparent black; the
  // same size keeps the pixels. The pixel memory is reused when the size does
  // not grow, so a control that resizes its work bitmap allocates nothing.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }

  TPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat format) { pixelFormat_ = format; }
  TAlphaFormat AlphaFormat() const { return alphaFormat_; }
  void SetAlphaFormat(TAlphaFormat format) { alphaFormat_ = format; }
  TBitmapHandleType HandleType() const { return bmDIB; }
  // True when drawing reads the alpha byte: a 32-bit bitmap whose alpha format
  // is defined or premultiplied. Any other bitmap draws opaque.
  bool HasAlpha() const;

  Pixel* ScanLine(int row) { return pixels_.data() + static_cast<size_t>(row) * width_; }
  const Pixel* ScanLine(int row) const {
    return pixels_.data() + static_cast<size_t>(row) * width_;
  }
  Pixel* Bits() { return pixels_.data(); }
  const Pixel* Bits() const { return pixels_.data(); }
  Pixel PixelAt(int x, int y) const { return ScanLine(y)[x]; }
  // The colour at (x, y) as 0x00BBGGRR, ignoring alpha (for tests and tools).
  TColor ColorAt(int x, int y) const { return PixelToColor(PixelAt(x, y)); }

  TCanvas& Canvas();

  // Takes the size, formats and pixels of another graphic (through its AssignTo).
  void Assign(const TGraphic& source);

  // An opaque bitmap is copied pixel for pixel (nearest sampling when
  // stretched); one with alpha is composited by its alpha format.
  void Draw(TCanvas& canvas, const TRect& dest) const override;
  void AssignTo(TBitmap& bitmap) const override;
  std::unique_ptr<TGraphic> Clone() const override;

 private:
  int width_ = 0;
  int height_ = 0;
  TPixelFormat pixelFormat_ = pfDevice;
  TAlphaFormat alphaFormat_ = afIgnored;
  std::vector<Pixel> pixels_;
  std::unique_ptr<TCanvas> canvas_;
};
