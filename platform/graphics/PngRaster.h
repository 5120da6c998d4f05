// PngRaster: a PNG picture as the file holds it — header, palette,
// transparency chunk and the rows of samples exactly as stored (packed below
// 8 bits, 16-bit samples big-endian, alpha interleaved, red first). The
// reader produces it, the writer consumes it, and TPngImage keeps it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// PNG colour types, as the file numbers them.
constexpr uint8_t COLOR_GRAYSCALE = 0;
constexpr uint8_t COLOR_RGB = 2;
constexpr uint8_t COLOR_PALETTE = 3;
constexpr uint8_t COLOR_GRAYSCALEALPHA = 4;
constexpr uint8_t COLOR_RGBALPHA = 6;

struct TPngPaletteEntry {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  friend constexpr bool operator==(const TPngPaletteEntry&, const TPngPaletteEntry&) = default;
};

struct PngRaster {
  int width = 0;
  int height = 0;
  uint8_t bitDepth = 8;
  uint8_t colorType = COLOR_RGBALPHA;
  bool interlaced = false;
  size_t rowBytes = 0;        // bytes of one row in data
  std::vector<uint8_t> data;  // height rows of rowBytes

  std::vector<TPngPaletteEntry> palette;
  // The transparency chunk: for a palette, the alpha of the first entries
  // (the rest are opaque); for grey and RGB, the one transparent colour as
  // samples at the picture's bit depth.
  bool hasTransparency = false;
  std::vector<uint8_t> paletteAlpha;
  uint16_t transparentGray = 0;
  uint16_t transparentRed = 0;
  uint16_t transparentGreen = 0;
  uint16_t transparentBlue = 0;

  int Channels() const;
  const uint8_t* Row(int y) const { return data.data() + static_cast<size_t>(y) * rowBytes; }
  uint8_t* Row(int y) { return data.data() + static_cast<size_t>(y) * rowBytes; }
  // Sample c (0-based channel) of pixel x at the file's bit depth.
  unsigned Sample(int y, int x, int c) const;
  // True when it has a size and data holds every row, each as long as the
  // width, colour type and depth need.
  bool Complete() const;
};

// Row length in bytes for a width, colour type and bit depth.
size_t PngRowBytes(int width, uint8_t colorType, uint8_t bitDepth);
