// Reading and writing PNG files with libpng.
//
// libpng reports errors by longjmp. Every libpng call that may fail runs in a
// small function that owns no C++ object with a destructor, so the jump never
// skips one; the error then becomes an EInvalidGraphic exception outside.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/graphics/PngRaster.h"

class TBitmap;

namespace vark {

// Decodes a whole PNG file. Truncated, corrupt and wrong-checksum data and
// pictures larger than TBitmap::kMaxPixels raise EInvalidGraphic with the
// reason; the size is checked before any pixel memory is allocated.
PngRaster DecodePng(std::span<const uint8_t> data);

// True when data starts with the PNG signature.
bool IsPng(std::span<const uint8_t> data);

// Encodes a raster as it stands (any colour type and bit depth).
std::vector<uint8_t> EncodePng(const PngRaster& raster);

// Encodes a bitmap as 8-bit RGBA with straight alpha (premultiplied pixels are
// divided back), or as RGB when the bitmap is opaque (24-bit or alpha ignored).
std::vector<uint8_t> EncodePng(const TBitmap& bitmap);

// Writes EncodePng(bitmap) to path; EFCreateError names the path and the
// system's reason when the file cannot be written.
void SavePng(const TBitmap& bitmap, const std::string& path);

}  // namespace vark
