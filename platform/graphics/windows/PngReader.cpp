// The reading half of PngCodec.h on Windows. The chunks are read and checked
// here; WIC inflates the samples. It is handed the image data under a header
// of the same bits per pixel in a grey or RGB type it decodes without any
// conversion (a palette picture's indices as grey levels, grey with alpha as
// 16-bit grey), so its pixels are the file's samples, which are then put back
// in the file's byte order.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/windows/PngChunks.h"
#include "platform/graphics/windows/PngSamples.h"
#include "platform/graphics/windows/Wic.h"

namespace vark {

namespace {

// The samples of the largest picture TBitmap holds, at 8 bits per channel.
constexpr size_t kMaxDataBytes = static_cast<size_t>(TBitmap::kMaxPixels) * 4;
// Deflate cannot expand data by more than this factor (plus a little): image
// data that could not hold the picture's rows is refused before anything is
// allocated for them.
constexpr uint64_t kMaxInflation = 1032;

[[noreturn]] void Fail(const std::string& reason) {
  throw EInvalidGraphic("Invalid PNG image: " + reason);
}

void ReadHeader(std::span<const uint8_t> ihdr, PngRaster& raster) {
  if (ihdr.size() != 13) Fail("IHDR has the wrong length");
  const uint32_t width = png::ReadBigEndian32(ihdr.data());
  const uint32_t height = png::ReadBigEndian32(ihdr.data() + 4);
  const uint8_t depth = ihdr[8];
  const uint8_t colorType = ihdr[9];
  if (width == 0) Fail("Image width is zero in IHDR");
  if (height == 0) Fail("Image height is zero in IHDR");
  if (width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) Fail("Invalid image size in IHDR");
  if (!png::ValidDepth(colorType, depth)) {
    Fail(png::ValidColorType(colorType) ? "Invalid bit depth in IHDR"
                                        : "Invalid color type in IHDR");
  }
  if (ihdr[10] != 0) Fail("Unknown compression method in IHDR");
  if (ihdr[11] != 0) Fail("Unknown filter method in IHDR");
  if (ihdr[12] > 1) Fail("Unknown interlace method in IHDR");
  if (uint64_t{width} * height > static_cast<uint64_t>(TBitmap::kMaxPixels)) {
    throw EInvalidGraphic("The PNG image is too large (" + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels)");
  }
  raster.width = static_cast<int>(width);
  raster.height = static_cast<int>(height);
  raster.bitDepth = depth;
  raster.colorType = colorType;
  raster.interlaced = ihdr[12] == 1;
  raster.rowBytes = PngRowBytes(raster.width, colorType, depth);
  if (raster.rowBytes * raster.height > kMaxDataBytes) {
    throw EInvalidGraphic("The PNG image is too large (" + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels of " + std::to_string(depth) +
                          "-bit samples)");
  }
}

void ReadPalette(std::span<const uint8_t> plte, PngRaster& raster) {
  if (plte.empty() || plte.size() % 3 != 0 || plte.size() > 3 * 256) Fail("Invalid palette");
  for (size_t i = 0; i < plte.size(); i += 3)
    raster.palette.push_back({plte[i], plte[i + 1], plte[i + 2]});
}

// The transparency chunk as the file gives it. One that does not fit the
// colour type is ignored, as decoders do.
void ReadTransparency(std::span<const uint8_t> trns, PngRaster& raster) {
  const auto sample = [&](size_t i) {
    return static_cast<uint16_t>(trns[2 * i] << 8 | trns[2 * i + 1]);
  };
  switch (raster.colorType) {
    case COLOR_PALETTE:
      if (trns.empty() || trns.size() > raster.palette.size()) return;
      raster.paletteAlpha.assign(trns.begin(), trns.end());
      break;
    case COLOR_GRAYSCALE:
      if (trns.size() != 2) return;
      raster.transparentGray = sample(0);
      break;
    case COLOR_RGB:
      if (trns.size() != 6) return;
      raster.transparentRed = sample(0);
      raster.transparentGreen = sample(1);
      raster.transparentBlue = sample(2);
      break;
    default:
      return;
  }
  raster.hasTransparency = true;
}

}  // namespace

bool IsPng(std::span<const uint8_t> data) {
  return data.size() >= 8 && std::memcmp(data.data(), png::kSignature, 8) == 0;
}

PngRaster DecodePng(std::span<const uint8_t> data) {
  if (!IsPng(data)) Fail("not a PNG file");
  const std::vector<png::Chunk> chunks = png::ReadChunks(data);
  PngRaster raster;
  ReadHeader(chunks.front().data, raster);

  std::vector<const png::Chunk*> imageData;
  uint64_t compressed = 0;
  for (const png::Chunk& chunk : chunks) {
    if (chunk.type == png::Type("IDAT")) {
      if (!imageData.empty() && imageData.back() != &chunk - 1) Fail("the image data is split");
      imageData.push_back(&chunk);
      compressed += chunk.data.size();
    } else if (!imageData.empty() && chunk.type != png::Type("IEND")) {
      continue;  // chunks after the image data change nothing the picture keeps
    } else if (chunk.type == png::Type("PLTE")) {
      if (!raster.palette.empty()) Fail("more than one palette");
      ReadPalette(chunk.data, raster);
    } else if (chunk.type == png::Type("tRNS")) {
      if (!raster.hasTransparency) ReadTransparency(chunk.data, raster);
    }
  }
  if (raster.colorType == COLOR_PALETTE && raster.palette.empty()) Fail("no palette");
  if (imageData.empty()) Fail("no image data");
  if (uint64_t{raster.rowBytes} * raster.height > compressed * kMaxInflation + 1024) {
    Fail("the image data is too short for the picture");
  }

  // The stand-in file: the header of the stand-in type, the image data, the end.
  const png::StandIn standIn = png::StandInFor(raster.colorType, raster.bitDepth);
  std::vector<uint8_t> file(png::kSignature, png::kSignature + 8);
  uint8_t header[13];
  std::copy(chunks.front().data.begin(), chunks.front().data.end(), header);
  header[8] = standIn.bitDepth;
  header[9] = standIn.colorType;
  png::AppendChunk(file, png::Type("IHDR"), header);
  for (const png::Chunk* chunk : imageData)
    file.insert(file.end(), chunk->whole.begin(), chunk->whole.end());
  png::AppendChunk(file, png::Type("IEND"), {});

  const std::string what = "Invalid PNG image";
  wic::ComPtr<IWICStream> stream = wic::ReadStream(file);
  wic::ComPtr<IWICBitmapDecoder> decoder;
  wic::Check(wic::Factory().CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Put()), what);
  wic::Check(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand), what);
  wic::ComPtr<IWICBitmapFrameDecode> frame;
  wic::Check(decoder->GetFrame(0, frame.Put()), what);
  WICPixelFormatGUID format{};
  wic::Check(frame->GetPixelFormat(&format), what);
  const png::SampleOrder order = png::OrderOf(format, standIn);
  raster.data.resize(raster.rowBytes * raster.height);
  wic::Check(frame->CopyPixels(nullptr, static_cast<UINT>(raster.rowBytes),
                               static_cast<UINT>(raster.data.size()), raster.data.data()),
             what);
  // Rows are packed, so the whole buffer is pixels.
  png::Reorder(order, raster.data);
  png::ClearPadding(raster.data, raster.rowBytes, raster.width,
                    raster.Channels() * raster.bitDepth);
  return raster;
}

}  // namespace vark
