// The writing half of PngCodec.h on Windows: WIC deflates the samples under
// the stand-in type of the same bits per pixel (PngSamples.h), and the file
// around its image data is ours: the raster's own header, palette and
// transparency chunk.
#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "platform/Exceptions.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/windows/PngChunks.h"
#include "platform/graphics/windows/PngSamples.h"
#include "platform/graphics/windows/Wic.h"

namespace vark {

namespace {

void PutSample(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

// The samples deflated by WIC's PNG encoder as a file of the stand-in type.
std::vector<uint8_t> Deflate(const png::StandIn& standIn, int width, int height, size_t rowBytes,
                             std::span<const uint8_t> pixels, bool interlaced) {
  return wic::Encode({&GUID_ContainerFormatPng, standIn.format, static_cast<UINT>(width),
                      static_cast<UINT>(height), static_cast<UINT>(rowBytes), pixels,
                      "Cannot write the PNG image"},
                     [&](IPropertyBag2* options) {
                       VARIANT interlace{};  // VT_EMPTY
                       interlace.vt = VT_BOOL;
                       interlace.boolVal = interlaced ? VARIANT_TRUE : VARIANT_FALSE;
                       wic::Check(wic::WriteOption(options, L"InterlaceOption", interlace),
                                  "Cannot write the PNG image");
                     });
}

// The order in which the encoder wants a stand-in's samples. Encoders differ
// on 16-bit samples: the system's reads them little-endian, as its pixel
// formats say, while Wine's copies the bytes as they lie. One pixel encoded
// and read back tells, once per format.
png::SampleOrder EncoderOrder(const png::StandIn& standIn) {
  if (standIn.bitDepth != 16) return png::OrderOf(*standIn.format, standIn);
  static std::mutex mutex;
  static std::map<const GUID*, png::SampleOrder> known;
  std::lock_guard lock(mutex);
  auto it = known.find(standIn.format);
  if (it != known.end()) return it->second;
  PngRaster probe;
  probe.colorType = standIn.colorType;
  const size_t bytes = static_cast<size_t>(probe.Channels()) * 2;
  std::vector<uint8_t> pixel(bytes);
  for (size_t i = 0; i < bytes; ++i)
    pixel[i] = static_cast<uint8_t>(0x11 * (i + 1));
  const std::vector<uint8_t> samples = DecodePng(Deflate(standIn, 1, 1, bytes, pixel, false)).data;
  png::SampleOrder order = png::SampleOrder::Same;
  if (samples != pixel) {
    png::Reorder(png::SampleOrder::Swap16, pixel);
    if (samples != pixel) {
      throw EInvalidGraphic("Cannot write the PNG image: the system's encoder changes the samples");
    }
    order = png::SampleOrder::Swap16;
  }
  return known.emplace(standIn.format, order).first->second;
}

}  // namespace

std::vector<uint8_t> EncodePng(const PngRaster& raster) {
  if (!raster.Complete()) throw EInvalidGraphic("Cannot write an empty or incomplete PNG image");
  if (!png::ValidDepth(raster.colorType, raster.bitDepth)) {
    throw EInvalidGraphic("Cannot write the PNG image: Invalid bit depth or color type");
  }
  if (raster.colorType == COLOR_PALETTE &&
      (raster.palette.empty() || raster.palette.size() > 256)) {
    throw EInvalidGraphic("Cannot write the PNG image: Invalid palette");
  }

  // The samples in the stand-in's pixel order, rows packed.
  const png::StandIn standIn = png::StandInFor(raster.colorType, raster.bitDepth);
  const size_t rowBytes = PngRowBytes(raster.width, raster.colorType, raster.bitDepth);
  std::vector<uint8_t> pixels(rowBytes * static_cast<size_t>(raster.height));
  for (int y = 0; y < raster.height; ++y)
    std::copy_n(raster.Row(y), rowBytes, pixels.begin() + static_cast<ptrdiff_t>(rowBytes * y));
  png::ClearPadding(pixels, rowBytes, raster.width, raster.Channels() * raster.bitDepth);
  png::Reorder(EncoderOrder(standIn), pixels);
  const std::vector<uint8_t> deflated =
      Deflate(standIn, raster.width, raster.height, rowBytes, pixels, raster.interlaced);

  const std::vector<png::Chunk> written = png::ReadChunks(deflated);
  const std::span<const uint8_t> header = written.front().data;
  if (header.size() != 13 || header[8] != standIn.bitDepth || header[9] != standIn.colorType ||
      header[12] != (raster.interlaced ? 1 : 0)) {
    throw EInvalidGraphic("Cannot write the PNG image: the system's encoder changed the samples");
  }

  std::vector<uint8_t> out(png::kSignature, png::kSignature + 8);
  uint8_t ihdr[13];
  png::PutBigEndian32(ihdr, static_cast<uint32_t>(raster.width));
  png::PutBigEndian32(ihdr + 4, static_cast<uint32_t>(raster.height));
  ihdr[8] = raster.bitDepth;
  ihdr[9] = raster.colorType;
  ihdr[10] = ihdr[11] = 0;
  ihdr[12] = raster.interlaced ? 1 : 0;
  png::AppendChunk(out, png::Type("IHDR"), ihdr);
  if (!raster.palette.empty() && raster.palette.size() <= 256) {
    std::vector<uint8_t> plte;
    for (const TPngPaletteEntry& e : raster.palette)
      plte.insert(plte.end(), {e.Red, e.Green, e.Blue});
    png::AppendChunk(out, png::Type("PLTE"), plte);
  }
  if (raster.hasTransparency) {
    std::vector<uint8_t> trns;
    if (raster.colorType == COLOR_PALETTE) {
      trns = raster.paletteAlpha;
    } else if (raster.colorType == COLOR_GRAYSCALE) {
      PutSample(trns, raster.transparentGray);
    } else if (raster.colorType == COLOR_RGB) {
      PutSample(trns, raster.transparentRed);
      PutSample(trns, raster.transparentGreen);
      PutSample(trns, raster.transparentBlue);
    }
    if (!trns.empty()) png::AppendChunk(out, png::Type("tRNS"), trns);
  }
  for (const png::Chunk& chunk : written) {
    if (chunk.type == png::Type("IDAT"))
      out.insert(out.end(), chunk.whole.begin(), chunk.whole.end());
  }
  png::AppendChunk(out, png::Type("IEND"), {});
  return out;
}

}  // namespace vark
