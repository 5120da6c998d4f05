// TPngImage: a PNG picture that keeps what the file says — header, palette,
// transparency chunk and samples — besides drawing itself.
//
// Besides the file's own rows (Raster()), the picture offers them in the
// classic PNG class's layout that code converting PNGs by hand expects:
// Scanline(row) holds the colour samples with RGB stored as B, G, R and 16-bit
// samples cut to their high byte (packed indices and grey levels below 8 bits
// stay packed), and AlphaScanline(row) the alpha channel, one byte a pixel.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/PngRaster.h"

class TBitmap;

enum TPngTransparencyMode : uint8_t { ptmNone, ptmBit, ptmPartial };

// A palette entry in the desktop's byte order.
struct TRGBQuad {
  uint8_t rgbBlue = 0;
  uint8_t rgbGreen = 0;
  uint8_t rgbRed = 0;
  uint8_t rgbReserved = 0;
};

struct TPngHeader {
  int Width = 0;
  int Height = 0;
  uint8_t BitDepth = 0;
  uint8_t ColorType = 0;
  uint8_t CompressionMethod = 0;
  uint8_t FilterMethod = 0;
  uint8_t InterlaceMethod = 0;
};

class TPngImage : public TGraphic {
 public:
  TPngImage();
  ~TPngImage() override;
  TPngImage(const TPngImage&) = delete;
  TPngImage& operator=(const TPngImage&) = delete;

  // EFOpenError for a file that cannot be read, EInvalidGraphic for data that
  // is not a sound PNG; the picture is unchanged after a failure.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(std::span<const uint8_t> data);
  // Takes a raster built in memory (tools and tests).
  void LoadFromRaster(PngRaster raster);
  void SaveToFile(const std::string& path) const;

  int Width() const override { return header_.Width; }
  int Height() const override { return header_.Height; }

  const TPngHeader& Header() const { return header_; }
  // ptmPartial with an alpha channel or a palette whose transparency has
  // levels between 0 and 255; ptmBit with one transparent colour or a palette
  // that is only fully transparent or opaque; ptmNone otherwise.
  TPngTransparencyMode TransparencyMode() const;

  const uint8_t* Scanline(int row) const;
  const uint8_t* AlphaScanline(int row) const;  // nullptr without an alpha channel
  int PaletteCount() const { return static_cast<int>(raster_.palette.size()); }
  TRGBQuad PaletteEntry(int index) const;
  bool HasTransparencyChunk() const { return raster_.hasTransparency; }
  // The transparency chunk's alpha of a palette index (255 beyond its end).
  uint8_t TransparencyAlpha(int index) const;
  // The transparent colour of a grey or RGB picture with a transparency chunk.
  TColor TransparentColor() const;

  const PngRaster& Raster() const { return Samples(); }

  // Draws scaled into dest, blending by alpha (vark::PictureFilter decides
  // the filter).
  void Draw(TCanvas& canvas, const TRect& dest) const override;
  // The bitmap becomes a copy at full size: a picture without transparency
  // as an opaque 24-bit bitmap, any other as a 32-bit bitmap with
  // premultiplied alpha (AlphaFormat afPremultiplied).
  void AssignTo(TBitmap& bitmap) const override;
  std::unique_ptr<TGraphic> Clone() const override;
  // Drops the premultiplied copy kept for drawing and, for a picture loaded
  // from a file or memory, its decoded samples too (they are decoded again
  // from the file's bytes when next asked for): a picture that is only shown
  // through a scaled copy then holds little more than its compressed form.
  void ReleaseDrawCache() const override;

 private:
  // Takes a new raster, forgetting everything made from the old one.
  void TakeRaster(PngRaster raster);
  // The raster with its samples, decoding them again after a release.
  const PngRaster& Samples() const;
  // Builds the classic rows on first use: most pictures are only drawn, and
  // the rows would double the memory a picture takes.
  void BuildClassicRows() const;
  const TBitmap& Premultiplied() const;

  mutable PngRaster raster_;
  std::vector<uint8_t> encoded_;  // the file's bytes; empty for a raster made in memory
  mutable bool samplesReleased_ = false;
  TPngHeader header_;
  mutable std::vector<uint8_t> colorRows_;
  mutable std::vector<uint8_t> alphaRows_;
  mutable size_t colorRowBytes_ = 0;
  mutable bool classicRowsBuilt_ = false;
  mutable std::unique_ptr<TBitmap> drawCache_;
};

namespace vark {
// Converts a raster to 32-bit pixels: premultiplied alpha, or opaque pixels
// with alpha 255 when opaque is true. bitmap takes the raster's size.
void PngRasterToBitmap(const PngRaster& raster, TBitmap& bitmap, bool opaque);
}  // namespace vark
