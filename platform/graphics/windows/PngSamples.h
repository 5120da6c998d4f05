// The stand-in types under which WIC inflates and deflates a PNG picture's
// samples untouched: for every valid colour type and bit depth, a grey or
// RGB type with the same bits per pixel, which WIC reads and writes as plain
// pixels; and the byte order WIC gives those pixels in memory.
#pragma once

#include <cstdint>
#include <span>

#include "platform/os/windows/Win32.h"

namespace vark::png {

bool ValidColorType(uint8_t colorType);
bool ValidDepth(uint8_t colorType, uint8_t depth);

struct StandIn {
  uint8_t colorType = 0;
  uint8_t bitDepth = 0;
  const GUID* format = nullptr;  // WIC's pixel format of that type
};
// For a valid colour type and depth.
StandIn StandInFor(uint8_t colorType, uint8_t depth);

// How WIC's pixels differ from the file's samples: the same, red and blue
// swapped in 3- or 4-byte pixels, or 16-bit samples little-endian.
enum class SampleOrder : uint8_t { Same, SwapRedBlue3, SwapRedBlue4, Swap16 };

// The order of WIC's pixel format for a stand-in; EInvalidGraphic when WIC
// gives pixels of another kind than the stand-in's.
SampleOrder OrderOf(const WICPixelFormatGUID& format, const StandIn& standIn);

// Turns samples in file order into WIC's order or back (each swap undoes
// itself).
void Reorder(SampleOrder order, std::span<uint8_t> samples);

// Clears the bits after the last pixel of each row of packed samples (below
// 8 bits per pixel), which carry nothing: the file's padding is zero.
void ClearPadding(std::span<uint8_t> rows, size_t rowBytes, int width, int bitsPerPixel);

}  // namespace vark::png
