// Writes the finished pictures as files: PNG in the two kinds the launcher
// shows (true colour with alpha, and palette with a transparency chunk) and
// JPEG for the large background (and a PNG in memory, for the Windows icon
// file). Each throws std::runtime_error on failure.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

struct IndexedImage {
  int width = 0, height = 0;
  std::vector<std::array<uint8_t, 4>> palette;  // straight RGBA
  std::vector<uint8_t> indices;                 // one per pixel
};

std::vector<uint8_t> EncodePngRgba(int width, int height, const std::vector<uint8_t>& rgba);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WritePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
// Colour type 3; entries that are not opaque go into the tRNS chunk.
void WritePngPalette(const std::string& path, const IndexedImage& image);
void WriteJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
               int quality);

}  // namespace artgen
