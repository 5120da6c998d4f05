// The reading half of JpegCodec.h on Windows: the header is read by hand,
// WIC decodes. A picture shown much smaller is decoded at 1/2, 1/4 or 1/8 of
// its size by the codec's own scaling where it offers it
// (IWICBitmapSourceTransform, as the system's JPEG codec does); where it does
// not (Wine's codec), the picture is decoded whole and averaged down to the
// same size.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/Resample.h"
#include "platform/graphics/Scale.h"
#include "platform/graphics/windows/Wic.h"
#include "platform/os/windows/Com.h"

// The codec's scaled decoding. MinGW's headers lack the interface; its
// layout is the system's.
struct IWICBitmapSourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                               WICPixelFormatGUID* format,
                                               WICBitmapTransformOptions transform, UINT stride,
                                               UINT bufferSize, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                         BOOL* supported) = 0;
};

namespace vark {

namespace {

constexpr IID kIidSourceTransform = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

[[noreturn]] void Fail(const std::string& reason) {
  throw EInvalidGraphic("Invalid JPEG image: " + reason);
}

// The pixels WIC gives and how they become an opaque 24-bit bitmap.
enum class Layout : uint8_t { Gray, Bgr, Bgrx, Cmyk };

Layout LayoutOf(const WICPixelFormatGUID& format) {
  if (format == GUID_WICPixelFormat8bppGray) return Layout::Gray;
  if (format == GUID_WICPixelFormat24bppBGR) return Layout::Bgr;
  if (format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppBGRA) {
    return Layout::Bgrx;
  }
  if (format == GUID_WICPixelFormat32bppCMYK) return Layout::Cmyk;
  Fail("the system's decoder gives pixels of another kind");
}

UINT BytesPerPixel(Layout layout) {
  switch (layout) {
    case Layout::Gray:
      return 1;
    case Layout::Bgr:
      return 3;
    default:
      return 4;
  }
}

inline uint32_t Mul255(uint32_t a, uint32_t b) {
  const uint32_t v = a * b + 128;
  return (v + (v >> 8)) >> 8;
}

void ToBitmapRow(Layout layout, const uint8_t* in, Pixel* out, int width) {
  for (int x = 0; x < width; ++x) {
    switch (layout) {
      case Layout::Gray:
        out[x] = 0xFF000000u | in[x] * 0x010101u;
        break;
      case Layout::Bgr:
        out[x] = 0xFF000000u | static_cast<uint32_t>(in[3 * x + 2]) << 16 |
                 static_cast<uint32_t>(in[3 * x + 1]) << 8 | in[3 * x];
        break;
      case Layout::Bgrx:
        out[x] = 0xFF000000u | static_cast<uint32_t>(in[4 * x + 2]) << 16 |
                 static_cast<uint32_t>(in[4 * x + 1]) << 8 | in[4 * x];
        break;
      case Layout::Cmyk: {
        // The codec's CMYK counts ink, none being white (it turns the
        // inverted samples of an Adobe file round, as libjpeg's readers do).
        const uint8_t* p = in + 4 * x;
        const uint32_t white = 255 - p[3];
        out[x] = 0xFF000000u | Mul255(255 - p[0], white) << 16 | Mul255(255 - p[1], white) << 8 |
                 Mul255(255 - p[2], white);
        break;
      }
    }
  }
}

}  // namespace

JpegInfo ReadJpegHeader(std::span<const uint8_t> data) {
  if (!IsJpeg(data)) Fail("not a JPEG file");
  // The markers up to the frame header, which holds the size.
  size_t pos = 2;
  const size_t n = data.size();
  for (;;) {
    while (pos < n && data[pos] != 0xFF)
      ++pos;  // stray bytes between segments are skipped, as decoders do
    while (pos < n && data[pos] == 0xFF)
      ++pos;
    if (pos >= n) Fail("the data ends before the frame header");
    const uint8_t marker = data[pos++];
    if (marker == 0xD9 || marker == 0xDA) Fail("no frame header before the image data");
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
    if (pos + 2 > n) Fail("the data ends before the frame header");
    const size_t length = static_cast<size_t>(data[pos]) << 8 | data[pos + 1];
    if (length < 2 || pos + length > n) Fail("the data ends inside a segment");
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (!frame) {
      pos += length;
      continue;
    }
    if (length < 8) Fail("the frame header is too short");
    JpegInfo info;
    info.height = data[pos + 3] << 8 | data[pos + 4];
    info.width = data[pos + 5] << 8 | data[pos + 6];
    info.components = data[pos + 7];
    info.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    if (info.width == 0 || info.height == 0) Fail("the picture has no size");
    if (info.components != 1 && info.components != 3 && info.components != 4) {
      Fail("unsupported number of colour components");
    }
    if (length < 8 + 3 * static_cast<size_t>(info.components))
      Fail("the frame header is too short");
    if (int64_t{info.width} * info.height > TBitmap::kMaxPixels) {
      throw EInvalidGraphic("The JPEG image is too large (" + std::to_string(info.width) + " x " +
                            std::to_string(info.height) + " pixels)");
    }
    return info;
  }
}

void DecodeJpeg(std::span<const uint8_t> data, int denominator, TBitmap& bitmap) {
  const JpegInfo info = ReadJpegHeader(data);
  bitmap.SetSize(0, 0);
  const std::string what = "Invalid JPEG image";
  const int d = denominator == 2 || denominator == 4 || denominator == 8 ? denominator : 1;
  const auto width = static_cast<UINT>((info.width + d - 1) / d);
  const auto height = static_cast<UINT>((info.height + d - 1) / d);

  wic::ComPtr<IWICStream> stream = wic::ReadStream(data);
  wic::ComPtr<IWICBitmapDecoder> decoder;
  wic::Check(wic::Factory().CreateDecoder(GUID_ContainerFormatJpeg, nullptr, decoder.Put()), what);
  wic::Check(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand), what);
  wic::ComPtr<IWICBitmapFrameDecode> frame;
  wic::Check(decoder->GetFrame(0, frame.Put()), what);
  WICPixelFormatGUID format{};
  wic::Check(frame->GetPixelFormat(&format), what);
  const Layout layout = LayoutOf(format);
  const UINT bytes = BytesPerPixel(layout);

  // The codec's own scaling, when it gives exactly the reduced size.
  std::vector<uint8_t> pixels;
  UINT decodedWidth = static_cast<UINT>(info.width);
  UINT decodedHeight = static_cast<UINT>(info.height);
  wic::ComPtr<IWICBitmapSourceTransform> transform;
  if (d > 1 && SUCCEEDED(frame->QueryInterface(kIidSourceTransform, transform.PutVoid()))) {
    UINT w = width, h = height;
    if (SUCCEEDED(transform->GetClosestSize(&w, &h)) && w == width && h == height) {
      pixels.resize(size_t{w} * h * bytes);
      wic::Check(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, w * bytes,
                                       static_cast<UINT>(pixels.size()), pixels.data()),
                 what);
      decodedWidth = w;
      decodedHeight = h;
    }
  }
  if (pixels.empty()) {
    pixels.resize(size_t{decodedWidth} * decodedHeight * bytes);
    wic::Check(frame->CopyPixels(nullptr, decodedWidth * bytes, static_cast<UINT>(pixels.size()),
                                 pixels.data()),
               what);
  }

  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetAlphaFormat(afIgnored);
  if (decodedWidth == width && decodedHeight == height) {
    bitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
    for (UINT y = 0; y < height; ++y) {
      ToBitmapRow(layout, pixels.data() + size_t{y} * width * bytes,
                  bitmap.ScanLine(static_cast<int>(y)), static_cast<int>(width));
    }
    return;
  }
  // Decoded whole: each pixel of the reduced picture is the average of the
  // block of d × d pixels it stands for, as the codec's scaling gives it.
  TBitmap full(static_cast<int>(decodedWidth), static_cast<int>(decodedHeight));
  for (UINT y = 0; y < decodedHeight; ++y) {
    ToBitmapRow(layout, pixels.data() + size_t{y} * decodedWidth * bytes,
                full.ScanLine(static_cast<int>(y)), static_cast<int>(decodedWidth));
  }
  pixels = {};
  bitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
  Resample({full.Bits(), full.Width(), full.Height(), full.Width(), true},
           {static_cast<double>(d), 0, ResampleKernel::Area},
           {static_cast<double>(d), 0, ResampleKernel::Area}, EdgeMode::Clamp,
           static_cast<int>(width), static_cast<int>(height),
           std::span<uint32_t>(bitmap.Bits(), size_t{width} * height));
}

CodecThreadScope::~CodecThreadScope() {
  wic::ReleaseFactory();
  os::win32::UninitializeCom();
}

}  // namespace vark
