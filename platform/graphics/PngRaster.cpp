#include "platform/graphics/PngRaster.h"

int PngRaster::Channels() const {
  switch (colorType) {
    case COLOR_RGB:
      return 3;
    case COLOR_GRAYSCALEALPHA:
      return 2;
    case COLOR_RGBALPHA:
      return 4;
    default:
      return 1;
  }
}

unsigned PngRaster::Sample(int y, int x, int c) const {
  const uint8_t* row = Row(y);
  const size_t index = static_cast<size_t>(x) * Channels() + c;
  switch (bitDepth) {
    case 16:
      return (static_cast<unsigned>(row[index * 2]) << 8) | row[index * 2 + 1];
    case 8:
      return row[index];
    default: {
      // Packed samples, leftmost pixel in the high bits.
      const size_t bit = index * bitDepth;
      const unsigned shift = 8 - bitDepth - static_cast<unsigned>(bit % 8);
      return (row[bit / 8] >> shift) & ((1u << bitDepth) - 1);
    }
  }
}

size_t PngRowBytes(int width, uint8_t colorType, uint8_t bitDepth) {
  PngRaster r;
  r.colorType = colorType;
  const size_t bits = static_cast<size_t>(width) * r.Channels() * bitDepth;
  return (bits + 7) / 8;
}

bool PngRaster::Complete() const {
  return width > 0 && height > 0 && data.size() >= rowBytes * static_cast<size_t>(height) &&
         rowBytes >= PngRowBytes(width, colorType, bitDepth);
}
