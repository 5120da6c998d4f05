#include "platform/graphics/PngImage.h"

#include <utility>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/PictureFile.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/Scale.h"

namespace {

inline uint32_t Div255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}

// A sample at the file's bit depth as an 8-bit level.
inline uint32_t To8(unsigned sample, uint8_t bitDepth) {
  switch (bitDepth) {
    case 16:
      return (sample * 255u + 32767u) / 65535u;
    case 8:
      return sample;
    default:
      return sample * 255u / ((1u << bitDepth) - 1u);
  }
}

inline Pixel MakePixel(uint32_t r, uint32_t g, uint32_t b, uint32_t a, bool opaque) {
  if (opaque) return 0xFF000000u | (r << 16) | (g << 8) | b;
  if (a != 255) {
    r = Div255(r * a);
    g = Div255(g * a);
    b = Div255(b * a);
  }
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace

namespace vark {

void PngRasterToBitmap(const PngRaster& raster, TBitmap& bitmap, bool opaque) {
  bitmap.SetSize(0, 0);
  bitmap.SetPixelFormat(opaque ? pf24bit : pf32bit);
  bitmap.SetAlphaFormat(opaque ? afIgnored : afPremultiplied);
  bitmap.SetSize(raster.width, raster.height);
  const uint8_t depth = raster.bitDepth;
  const bool key = raster.hasTransparency;
  for (int y = 0; y < raster.height; ++y) {
    Pixel* out = bitmap.ScanLine(y);
    const uint8_t* row = raster.Row(y);
    // The common 8-bit colour pictures without the general sample reader.
    if (depth == 8 && raster.colorType == COLOR_RGBALPHA) {
      for (int x = 0; x < raster.width; ++x, row += 4) {
        out[x] = MakePixel(row[0], row[1], row[2], row[3], opaque);
      }
      continue;
    }
    if (depth == 8 && raster.colorType == COLOR_RGB && !key) {
      for (int x = 0; x < raster.width; ++x, row += 3) {
        out[x] = MakePixel(row[0], row[1], row[2], 255, opaque);
      }
      continue;
    }
    for (int x = 0; x < raster.width; ++x) {
      uint32_t r = 0, g = 0, b = 0, a = 255;
      switch (raster.colorType) {
        case COLOR_GRAYSCALE: {
          const unsigned s = raster.Sample(y, x, 0);
          r = g = b = To8(s, depth);
          if (key && s == raster.transparentGray) a = 0;
          break;
        }
        case COLOR_RGB: {
          const unsigned sr = raster.Sample(y, x, 0);
          const unsigned sg = raster.Sample(y, x, 1);
          const unsigned sb = raster.Sample(y, x, 2);
          r = To8(sr, depth);
          g = To8(sg, depth);
          b = To8(sb, depth);
          if (key && sr == raster.transparentRed && sg == raster.transparentGreen &&
              sb == raster.transparentBlue) {
            a = 0;
          }
          break;
        }
        case COLOR_PALETTE: {
          const unsigned index = raster.Sample(y, x, 0);
          // An index past the palette's end draws opaque black.
          if (index < raster.palette.size()) {
            r = raster.palette[index].Red;
            g = raster.palette[index].Green;
            b = raster.palette[index].Blue;
          }
          if (index < raster.paletteAlpha.size()) a = raster.paletteAlpha[index];
          break;
        }
        case COLOR_GRAYSCALEALPHA:
          r = g = b = To8(raster.Sample(y, x, 0), depth);
          a = To8(raster.Sample(y, x, 1), depth);
          break;
        default:
          r = To8(raster.Sample(y, x, 0), depth);
          g = To8(raster.Sample(y, x, 1), depth);
          b = To8(raster.Sample(y, x, 2), depth);
          a = To8(raster.Sample(y, x, 3), depth);
          break;
      }
      out[x] = MakePixel(r, g, b, a, opaque);
    }
  }
}

}  // namespace vark

TPngImage::TPngImage() = default;
TPngImage::~TPngImage() = default;

void TPngImage::LoadFromFile(const std::string& path) {
  LoadFromMemory(vark::ReadPictureFile(path));
}

void TPngImage::LoadFromMemory(std::span<const uint8_t> data) {
  TakeRaster(vark::DecodePng(data));
  encoded_.assign(data.begin(), data.end());
  Changed();
}

void TPngImage::LoadFromRaster(PngRaster raster) {
  TakeRaster(std::move(raster));
  Changed();
}

void TPngImage::TakeRaster(PngRaster raster) {
  raster_ = std::move(raster);
  encoded_.clear();
  samplesReleased_ = false;
  header_ = {};
  header_.Width = raster_.width;
  header_.Height = raster_.height;
  header_.BitDepth = raster_.bitDepth;
  header_.ColorType = raster_.colorType;
  header_.InterlaceMethod = raster_.interlaced ? 1 : 0;
  colorRows_.clear();
  alphaRows_.clear();
  colorRowBytes_ = 0;
  classicRowsBuilt_ = false;
  drawCache_.reset();
}

void TPngImage::SaveToFile(const std::string& path) const {
  vark::WritePictureFile(path, vark::EncodePng(Samples()));
}

void TPngImage::BuildClassicRows() const {
  if (classicRowsBuilt_) return;
  classicRowsBuilt_ = true;
  colorRows_.clear();
  alphaRows_.clear();
  const PngRaster& r = Samples();
  if (r.width <= 0 || r.height <= 0) {
    colorRowBytes_ = 0;
    return;
  }
  if (r.bitDepth < 8 || r.colorType == COLOR_PALETTE) {
    colorRowBytes_ = r.rowBytes;
    colorRows_ = r.data;
    return;
  }
  const bool rgb = r.colorType == COLOR_RGB || r.colorType == COLOR_RGBALPHA;
  const bool alpha = r.colorType == COLOR_GRAYSCALEALPHA || r.colorType == COLOR_RGBALPHA;
  const int colours = rgb ? 3 : 1;
  const int channels = r.Channels();
  const int step = r.bitDepth / 8;  // bytes per sample; the first is the high byte
  colorRowBytes_ = static_cast<size_t>(r.width) * colours;
  colorRows_.resize(colorRowBytes_ * r.height);
  if (alpha) alphaRows_.resize(static_cast<size_t>(r.width) * r.height);
  for (int y = 0; y < r.height; ++y) {
    const uint8_t* src = r.Row(y);
    uint8_t* colour = colorRows_.data() + colorRowBytes_ * y;
    uint8_t* a = alpha ? alphaRows_.data() + static_cast<size_t>(r.width) * y : nullptr;
    for (int x = 0; x < r.width; ++x, src += channels * step) {
      if (rgb) {
        *colour++ = src[2 * step];
        *colour++ = src[step];
        *colour++ = src[0];
      } else {
        *colour++ = src[0];
      }
      if (a != nullptr) *a++ = src[(channels - 1) * step];
    }
  }
}

TPngTransparencyMode TPngImage::TransparencyMode() const {
  if (raster_.colorType == COLOR_RGBALPHA || raster_.colorType == COLOR_GRAYSCALEALPHA) {
    return ptmPartial;
  }
  if (!raster_.hasTransparency) return ptmNone;
  if (raster_.colorType == COLOR_PALETTE) {
    for (uint8_t a : raster_.paletteAlpha) {
      if (a != 0 && a != 255) return ptmPartial;
    }
  }
  return ptmBit;
}

const uint8_t* TPngImage::Scanline(int row) const {
  if (row < 0 || row >= header_.Height) return nullptr;
  BuildClassicRows();
  return colorRows_.data() + colorRowBytes_ * row;
}

const uint8_t* TPngImage::AlphaScanline(int row) const {
  if (row < 0 || row >= header_.Height) return nullptr;
  BuildClassicRows();
  if (alphaRows_.empty()) return nullptr;
  return alphaRows_.data() + static_cast<size_t>(header_.Width) * row;
}

TRGBQuad TPngImage::PaletteEntry(int index) const {
  TRGBQuad q;
  if (index < 0 || index >= PaletteCount()) return q;
  const TPngPaletteEntry& e = raster_.palette[index];
  q.rgbBlue = e.Blue;
  q.rgbGreen = e.Green;
  q.rgbRed = e.Red;
  return q;
}

uint8_t TPngImage::TransparencyAlpha(int index) const {
  if (index < 0 || index >= static_cast<int>(raster_.paletteAlpha.size())) return 255;
  return raster_.paletteAlpha[index];
}

TColor TPngImage::TransparentColor() const {
  const uint8_t depth = raster_.bitDepth;
  if (raster_.colorType == COLOR_GRAYSCALE) {
    const auto v = static_cast<uint8_t>(To8(raster_.transparentGray, depth));
    return RGB(v, v, v);
  }
  return RGB(static_cast<uint8_t>(To8(raster_.transparentRed, depth)),
             static_cast<uint8_t>(To8(raster_.transparentGreen, depth)),
             static_cast<uint8_t>(To8(raster_.transparentBlue, depth)));
}

void TPngImage::ReleaseDrawCache() const {
  drawCache_.reset();
  if (encoded_.empty()) return;
  std::vector<uint8_t>().swap(raster_.data);
  std::vector<uint8_t>().swap(colorRows_);
  std::vector<uint8_t>().swap(alphaRows_);
  classicRowsBuilt_ = false;
  samplesReleased_ = true;
}

const PngRaster& TPngImage::Samples() const {
  if (samplesReleased_) {
    // The same bytes decoded before, so this cannot fail but for memory.
    raster_.data = vark::DecodePng(encoded_).data;
    samplesReleased_ = false;
  }
  return raster_;
}

const TBitmap& TPngImage::Premultiplied() const {
  if (!drawCache_) {
    auto bitmap = std::make_unique<TBitmap>();
    vark::PngRasterToBitmap(Samples(), *bitmap, TransparencyMode() == ptmNone);
    drawCache_ = std::move(bitmap);
  }
  return *drawCache_;
}

void TPngImage::Draw(TCanvas& canvas, const TRect& dest) const {
  TBitmap* target = canvas.Target();
  if (target == nullptr || Empty() || dest.IsEmpty()) return;
  const TPoint origin = canvas.Origin();
  TRect device = dest;
  device.Offset(origin.X, origin.Y);
  TRect clip = canvas.ClipRect();
  clip.Offset(origin.X, origin.Y);
  const TBitmap& source = Premultiplied();
  vark::DrawScaled(
      *target, clip, device, source, Rect(0, 0, source.Width(), source.Height()), 255,
      vark::PictureFilter(source.Width(), source.Height(), device.Width(), device.Height()), true,
      vark::EdgeMode::Clamp);
}

void TPngImage::AssignTo(TBitmap& bitmap) const {
  vark::PngRasterToBitmap(Samples(), bitmap, TransparencyMode() == ptmNone);
}

std::unique_ptr<TGraphic> TPngImage::Clone() const {
  auto copy = std::make_unique<TPngImage>();
  copy->LoadFromRaster(Samples());
  copy->SetTransparent(Transparent());
  return copy;
}
