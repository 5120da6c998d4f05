// The writing half of JpegCodec.h on Windows, through WIC's JPEG encoder.
// It writes baseline files only: a progressive file is refused.
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/windows/Wic.h"

namespace vark {

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, const JpegWriteOptions& options) {
  if (bitmap.Empty()) throw EInvalidGraphic("Cannot write an empty JPEG image");
  if (options.progressive) {
    throw EInvalidGraphic(
        "Cannot write the JPEG image: the system's encoder writes no progressive files");
  }
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  // The colours in the encoder's pixel format: BGR, grey (luminance, as
  // libjpeg weighs it) or CMYK.
  const GUID* format = &GUID_WICPixelFormat24bppBGR;
  size_t bytes = 3;
  if (options.colorSpace == JpegColorSpace::Gray) {
    format = &GUID_WICPixelFormat8bppGray;
    bytes = 1;
  } else if (options.colorSpace == JpegColorSpace::Cmyk) {
    format = &GUID_WICPixelFormat32bppCMYK;
    bytes = 4;
  }
  const size_t stride = bytes * static_cast<size_t>(width);
  std::vector<uint8_t> pixels(stride * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const Pixel* row = bitmap.ScanLine(y);
    uint8_t* out = pixels.data() + stride * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) {
      const uint32_t r = (row[x] >> 16) & 0xFF, g = (row[x] >> 8) & 0xFF, b = row[x] & 0xFF;
      switch (options.colorSpace) {
        case JpegColorSpace::Gray:
          out[x] = static_cast<uint8_t>((19595 * r + 38470 * g + 7471 * b + 32768) >> 16);
          break;
        case JpegColorSpace::Cmyk:
          // Inverted CMYK without black, the samples as an Adobe file holds
          // them: the colours themselves. The encoder stores what it is
          // given under its Adobe marker (Wine's does; its decoder turns
          // such samples round into ink, see JpegReader.cpp).
          out[4 * x] = static_cast<uint8_t>(r);
          out[4 * x + 1] = static_cast<uint8_t>(g);
          out[4 * x + 2] = static_cast<uint8_t>(b);
          out[4 * x + 3] = 255;
          break;
        case JpegColorSpace::Color:
        default:
          out[3 * x] = static_cast<uint8_t>(b);
          out[3 * x + 1] = static_cast<uint8_t>(g);
          out[3 * x + 2] = static_cast<uint8_t>(r);
          break;
      }
    }
  }
  const int quality = options.quality < 1 ? 1 : (options.quality > 100 ? 100 : options.quality);
  return wic::Encode(
      {&GUID_ContainerFormatJpeg, format, static_cast<UINT>(width), static_cast<UINT>(height),
       static_cast<UINT>(stride), pixels, "Cannot write the JPEG image"},
      [&](IPropertyBag2* bag) {
        VARIANT value{};  // VT_EMPTY
        value.vt = VT_R4;
        value.fltVal = static_cast<float>(quality) / 100.0f;
        wic::Check(wic::WriteOption(bag, L"ImageQuality", value), "Cannot write the JPEG image");
      });
}

}  // namespace vark
