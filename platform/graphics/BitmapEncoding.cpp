// The bitmap side of the picture encoders, the same whichever library
// compresses: a bitmap as PNG samples, and saving either kind of file.
#include <algorithm>
#include <string>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/PictureFile.h"
#include "platform/graphics/PngCodec.h"

namespace vark {

namespace {

inline uint8_t Unpremultiply(uint32_t c, uint32_t a) {
  if (a == 0) return 0;
  const uint32_t v = (c * 255 + a / 2) / a;
  return static_cast<uint8_t>(v > 255 ? 255 : v);
}

}  // namespace

std::vector<uint8_t> EncodePng(const TBitmap& bitmap) {
  PngRaster raster;
  raster.width = bitmap.Width();
  raster.height = bitmap.Height();
  const bool opaque = bitmap.PixelFormat() == pf24bit || bitmap.AlphaFormat() == afIgnored;
  raster.colorType = opaque ? COLOR_RGB : COLOR_RGBALPHA;
  raster.bitDepth = 8;
  raster.rowBytes = PngRowBytes(raster.width, raster.colorType, 8);
  raster.data.resize(raster.rowBytes * static_cast<size_t>(std::max(0, raster.height)));
  const bool premultiplied = bitmap.AlphaFormat() == afPremultiplied;
  for (int y = 0; y < raster.height; ++y) {
    const Pixel* src = bitmap.ScanLine(y);
    uint8_t* dst = raster.Row(y);
    for (int x = 0; x < raster.width; ++x) {
      const Pixel p = src[x];
      uint32_t r = (p >> 16) & 0xFF;
      uint32_t g = (p >> 8) & 0xFF;
      uint32_t b = p & 0xFF;
      const uint32_t a = p >> 24;
      if (opaque) {
        *dst++ = static_cast<uint8_t>(r);
        *dst++ = static_cast<uint8_t>(g);
        *dst++ = static_cast<uint8_t>(b);
        continue;
      }
      if (premultiplied) {
        r = Unpremultiply(r, a);
        g = Unpremultiply(g, a);
        b = Unpremultiply(b, a);
      }
      *dst++ = static_cast<uint8_t>(r);
      *dst++ = static_cast<uint8_t>(g);
      *dst++ = static_cast<uint8_t>(b);
      *dst++ = static_cast<uint8_t>(a);
    }
  }
  return EncodePng(raster);
}

void SavePng(const TBitmap& bitmap, const std::string& path) {
  WritePictureFile(path, EncodePng(bitmap));
}

void SaveJpeg(const TBitmap& bitmap, const std::string& path, int quality) {
  WritePictureFile(path, EncodeJpeg(bitmap, quality));
}

}  // namespace vark
