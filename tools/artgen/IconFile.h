// The program's icon as a Windows icon file (.ico), which the Windows build
// compiles into the program: one image per size, straight RGBA in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

struct IconImage {
  int size = 0;               // square, 1..256
  std::vector<uint8_t> rgba;  // straight colour, size × size × 4
};

// Sizes up to 128 are stored as 32-bit bitmaps with their transparency mask,
// which every reader of icon files takes; larger ones as PNG, as the system's
// own icons are (a 256-pixel bitmap would be five times the size).
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);

}  // namespace artgen
