// Helpers for the picture tests: rasters built from sample lists, chunk
// surgery on encoded PNGs, and a temporary folder per test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngRaster.h"
#include "tests/common/TempProfile.h"

namespace vark::testing {

// A raster from its samples, row by row, channel by channel, at the given
// depth (packed below 8 bits, big-endian at 16).
inline PngRaster MakeRaster(int width, int height, uint8_t colorType, uint8_t depth,
                            const std::vector<unsigned>& samples) {
  PngRaster r;
  r.width = width;
  r.height = height;
  r.colorType = colorType;
  r.bitDepth = depth;
  r.rowBytes = PngRowBytes(width, colorType, depth);
  r.data.assign(r.rowBytes * height, 0);
  const int perRow = width * r.Channels();
  for (size_t i = 0; i < samples.size(); ++i) {
    const int y = static_cast<int>(i) / perRow;
    const int k = static_cast<int>(i) % perRow;
    uint8_t* row = r.Row(y);
    const unsigned v = samples[i];
    if (depth == 16) {
      row[k * 2] = static_cast<uint8_t>(v >> 8);
      row[k * 2 + 1] = static_cast<uint8_t>(v);
    } else if (depth == 8) {
      row[k] = static_cast<uint8_t>(v);
    } else {
      const int bit = k * depth;
      row[bit / 8] |= static_cast<uint8_t>(v << (8 - depth - bit % 8));
    }
  }
  return r;
}

inline Pixel Premultiplied(unsigned r, unsigned g, unsigned b, unsigned a) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// The CRC of PNG chunks (ISO 3309), to forge chunks that pass the checksum.
inline uint32_t Crc32(const uint8_t* data, size_t n) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

// The offset of the first chunk of the given type (its length field), or 0.
inline size_t FindChunk(const std::vector<uint8_t>& png, const char* type) {
  size_t pos = 8;
  while (pos + 12 <= png.size()) {
    const size_t length = (size_t{png[pos]} << 24) | (size_t{png[pos + 1]} << 16) |
                          (size_t{png[pos + 2]} << 8) | png[pos + 3];
    if (std::string(png.begin() + pos + 4, png.begin() + pos + 8) == type) return pos;
    pos += 12 + length;
  }
  return 0;
}

// Recomputes the CRC of the chunk at pos after its data was changed.
inline void FixCrc(std::vector<uint8_t>& png, size_t pos) {
  const size_t length = (size_t{png[pos]} << 24) | (size_t{png[pos + 1]} << 16) |
                        (size_t{png[pos + 2]} << 8) | png[pos + 3];
  const uint32_t crc = Crc32(png.data() + pos + 4, length + 4);
  for (int i = 0; i < 4; ++i)
    png[pos + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
}

inline void PutBigEndian32(std::vector<uint8_t>& bytes, size_t pos, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    bytes[pos + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// A fresh folder under the system's temporary folder, removed at the end.
// Paths are UTF-8 on every platform (the user's temporary folder may not be
// ASCII).
class TempFolder {
 public:
  TempFolder() : path_(profile::MakeTempFolder()) {}
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(PathOf(path_), ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// An opaque bitmap of flat colour blocks (blockSize square), colours from a
// small palette by block position: survives lossy compression recognisably.
inline TColor BlockColor(int bx, int by) {
  static const TColor colors[] = {clRed, clLime, clBlue, clWhite, clBlack, RGB(200, 120, 40)};
  return colors[(bx + 2 * by) % 6];
}

inline void FillBlocks(TBitmap& bmp, int blockSize) {
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x) {
      bmp.ScanLine(y)[x] = OpaquePixel(BlockColor(x / blockSize, y / blockSize));
    }
  }
}

inline int ChannelDistance(TColor a, TColor b) {
  const int dr = std::abs(int{GetRValue(a)} - int{GetRValue(b)});
  const int dg = std::abs(int{GetGValue(a)} - int{GetGValue(b)});
  const int db = std::abs(int{GetBValue(a)} - int{GetBValue(b)});
  return std::max(dr, std::max(dg, db));
}

}  // namespace vark::testing
