// Bytes for the PNG and JPEG loaders. The first byte picks how the rest is
// used: as a whole file, or as edits (offset, value pairs and a cut) of a
// small valid file made at start-up, so the fuzzer reaches deep into the
// decoders without a corpus of binary seeds. Only EInvalidGraphic may come
// out; whatever loads must also convert and draw.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Picture.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/PngImage.h"

namespace {

// Pictures larger than this are loaded but not converted at full size, so one
// input cannot take seconds.
constexpr int64_t kConvertPixels = 1 << 20;

PngRaster SeedRaster(uint8_t colorType, uint8_t depth, bool interlaced) {
  PngRaster r;
  r.width = 13;
  r.height = 7;
  r.colorType = colorType;
  r.bitDepth = depth;
  r.interlaced = interlaced;
  r.rowBytes = PngRowBytes(r.width, colorType, depth);
  r.data.resize(r.rowBytes * r.height);
  for (size_t i = 0; i < r.data.size(); ++i)
    r.data[i] = static_cast<uint8_t>(i * 37 + 11);
  if (colorType == COLOR_PALETTE) {
    for (int i = 0; i < (1 << depth); ++i) {
      r.palette.push_back({static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i * 5), 7});
      r.paletteAlpha.push_back(static_cast<uint8_t>(i * 11));
    }
    r.hasTransparency = true;
  }
  return r;
}

std::vector<std::vector<uint8_t>> MakeSeeds() {
  std::vector<std::vector<uint8_t>> seeds;
  seeds.push_back(vark::EncodePng(SeedRaster(COLOR_RGBALPHA, 8, false)));
  seeds.push_back(vark::EncodePng(SeedRaster(COLOR_PALETTE, 4, true)));
  seeds.push_back(vark::EncodePng(SeedRaster(COLOR_GRAYSCALE, 16, false)));
  TBitmap bmp(40, 24);
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x)
      bmp.ScanLine(y)[x] = 0xFF000000u | (x * 6 << 8) | y * 9;
  }
  seeds.push_back(vark::EncodeJpeg(bmp, 75));
  seeds.push_back(vark::EncodeJpeg(bmp, {60, true, vark::JpegColorSpace::Color}));
  seeds.push_back(vark::EncodeJpeg(bmp, {80, true, vark::JpegColorSpace::Cmyk}));
  return seeds;
}

const std::vector<std::vector<uint8_t>>& Seeds() {
  static const std::vector<std::vector<uint8_t>> seeds = MakeSeeds();
  return seeds;
}

// Recomputes every chunk's checksum, so that edits reach the decoder instead
// of stopping at the CRC check.
void FixPngChecksums(std::vector<uint8_t>& png) {
  static const auto table = [] {
    std::vector<uint32_t> t(256);
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  size_t pos = 8;
  while (pos + 12 <= png.size()) {
    const size_t length = (size_t{png[pos]} << 24) | (size_t{png[pos + 1]} << 16) |
                          (size_t{png[pos + 2]} << 8) | png[pos + 3];
    if (length > png.size() - pos - 12) return;
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t k = pos + 4; k < pos + 8 + length; ++k) {
      crc = table[(crc ^ png[k]) & 0xFF] ^ (crc >> 8);
    }
    crc ^= 0xFFFFFFFFu;
    for (int k = 0; k < 4; ++k)
      png[pos + 8 + length + k] = static_cast<uint8_t>(crc >> (24 - 8 * k));
    pos += 12 + length;
  }
}

void Exercise(const TGraphic& graphic) {
  TBitmap target(32, 32);
  graphic.Draw(target.Canvas(), Rect(-3, 2, 29, 20));
  if (int64_t{graphic.Width()} * graphic.Height() <= kConvertPixels) {
    TBitmap copy;
    graphic.AssignTo(copy);
    if (copy.Width() != graphic.Width() || copy.Height() != graphic.Height()) std::abort();
  }
}

void Load(std::span<const uint8_t> bytes) {
  try {
    TPngImage png;
    png.LoadFromMemory(bytes);
    Exercise(png);
  } catch (const EInvalidGraphic&) {
  }
  try {
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(bytes);
    TBitmap target(32, 32);
    jpeg.Draw(target.Canvas(), Rect(0, 0, jpeg.Width() / 5 + 1, jpeg.Height() / 5 + 1));
    if (int64_t{jpeg.Width()} * jpeg.Height() <= kConvertPixels) {
      TBitmap copy;
      jpeg.AssignTo(copy);
    }
  } catch (const EInvalidGraphic&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  std::span<const uint8_t> rest(data + 1, size - 1);
  const auto& seeds = Seeds();
  if (mode % 8 >= seeds.size()) {
    Load(rest);
    try {
      TPicture picture;
      picture.LoadFromMemory(rest);
    } catch (const EInvalidGraphic&) {
    }
    return 0;
  }
  // Edits of a seed: three bytes each (a 16-bit offset and a value to xor);
  // an odd leftover byte cuts the file to that fraction of its length. Mode
  // bit 3 mends the PNG checksums after the edits.
  std::vector<uint8_t> file = seeds[mode % 8];
  size_t i = 0;
  for (; i + 3 <= rest.size(); i += 3) {
    const size_t offset = (size_t{rest[i]} << 8 | rest[i + 1]) % file.size();
    file[offset] ^= rest[i + 2];
  }
  if ((mode & 8) != 0 && vark::IsPng(file)) FixPngChecksums(file);
  if (i < rest.size()) file.resize(file.size() * (rest[i] + 1) / 256);
  Load(file);
  return 0;
}
