#include "platform/graphics/windows/PngSamples.h"

#include <utility>

#include "platform/Exceptions.h"
#include "platform/graphics/PngRaster.h"

namespace vark::png {

bool ValidColorType(uint8_t colorType) {
  return colorType == COLOR_GRAYSCALE || colorType == COLOR_RGB || colorType == COLOR_PALETTE ||
         colorType == COLOR_GRAYSCALEALPHA || colorType == COLOR_RGBALPHA;
}

bool ValidDepth(uint8_t colorType, uint8_t depth) {
  switch (colorType) {
    case COLOR_GRAYSCALE:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case COLOR_PALETTE:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

StandIn StandInFor(uint8_t colorType, uint8_t depth) {
  PngRaster raster;
  raster.colorType = colorType;
  switch (raster.Channels() * depth) {
    case 1:
      return {COLOR_GRAYSCALE, 1, &GUID_WICPixelFormatBlackWhite};
    case 2:
      return {COLOR_GRAYSCALE, 2, &GUID_WICPixelFormat2bppGray};
    case 4:
      return {COLOR_GRAYSCALE, 4, &GUID_WICPixelFormat4bppGray};
    case 8:
      return {COLOR_GRAYSCALE, 8, &GUID_WICPixelFormat8bppGray};
    case 16:
      return {COLOR_GRAYSCALE, 16, &GUID_WICPixelFormat16bppGray};
    case 24:
      return {COLOR_RGB, 8, &GUID_WICPixelFormat24bppBGR};
    case 32:
      return {COLOR_RGBALPHA, 8, &GUID_WICPixelFormat32bppBGRA};
    case 48:
      return {COLOR_RGB, 16, &GUID_WICPixelFormat48bppRGB};
    case 64:
    default:
      return {COLOR_RGBALPHA, 16, &GUID_WICPixelFormat64bppRGBA};
  }
}

SampleOrder OrderOf(const WICPixelFormatGUID& format, const StandIn& standIn) {
  if (format == *standIn.format) {
    if (format == GUID_WICPixelFormat24bppBGR) return SampleOrder::SwapRedBlue3;
    if (format == GUID_WICPixelFormat32bppBGRA) return SampleOrder::SwapRedBlue4;
    return standIn.bitDepth == 16 ? SampleOrder::Swap16 : SampleOrder::Same;
  }
  // The same samples in the file's own order.
  if ((format == GUID_WICPixelFormat24bppRGB && standIn.format == &GUID_WICPixelFormat24bppBGR) ||
      (format == GUID_WICPixelFormat32bppRGBA && standIn.format == &GUID_WICPixelFormat32bppBGRA)) {
    return SampleOrder::Same;
  }
  throw EInvalidGraphic("Invalid PNG image: the system's decoder gives pixels of another kind");
}

void Reorder(SampleOrder order, std::span<uint8_t> samples) {
  const size_t n = samples.size();
  switch (order) {
    case SampleOrder::Same:
      return;
    case SampleOrder::SwapRedBlue3:
      for (size_t i = 0; i + 3 <= n; i += 3)
        std::swap(samples[i], samples[i + 2]);
      return;
    case SampleOrder::SwapRedBlue4:
      for (size_t i = 0; i + 4 <= n; i += 4)
        std::swap(samples[i], samples[i + 2]);
      return;
    case SampleOrder::Swap16:
      for (size_t i = 0; i + 2 <= n; i += 2)
        std::swap(samples[i], samples[i + 1]);
      return;
  }
}

void ClearPadding(std::span<uint8_t> rows, size_t rowBytes, int width, int bitsPerPixel) {
  const int used = static_cast<int>((static_cast<int64_t>(width) * bitsPerPixel) % 8);
  if (used == 0 || rowBytes == 0) return;
  const auto keep = static_cast<uint8_t>(0xFF00u >> used);
  for (size_t end = rowBytes; end <= rows.size(); end += rowBytes)
    rows[end - 1] &= keep;
}

}  // namespace vark::png
