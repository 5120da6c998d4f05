// Reduces a straight-RGBA picture to a palette of at most 256 entries for the
// palette PNGs, keeping transparency: fully transparent pixels share one entry.
#pragma once

#include <cstdint>
#include <vector>

#include "Encoders.h"

namespace artgen {

// Median cut over the picture's colours weighted by how often they occur. A
// picture with few enough colours keeps them exactly. Entries that are not
// opaque come first in the palette (see WritePngPalette).
IndexedImage Quantize(const std::vector<uint8_t>& rgba, int width, int height, int maxColors = 256);

}  // namespace artgen
