// The reading half of JpegCodec.h.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// libjpeg's headers need stdio's types declared before them.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/linux/JpegErrorState.h"

namespace vark {

namespace {

// Progressive files with more scans than this are refused: a crafted file can
// hold thousands of tiny scans that each cost a pass over the image.
constexpr int kMaxScans = 1000;
constexpr long kMaxMemory = 512L << 20;

using jpeg::ErrorState;
using jpeg::OnError;

// Warnings that mean the picture data is cut short or damaged are errors;
// the others (unknown markers, stray bytes between segments) are harmless.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level != -1) return;
  switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_NOT_SEQUENTIAL:
      OnError(cinfo);
    default:
      break;
  }
}

void OnProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
      cinfo->err->msg_code = JERR_NOTIMPL;
      std::strcpy(reinterpret_cast<ErrorState*>(cinfo->err)->message, "too many scans");
      std::longjmp(reinterpret_cast<ErrorState*>(cinfo->err)->jump, 1);
    }
  }
}

// Owns the decompressor; destroyed on every way out.
struct Decompressor {
  ErrorState error{};
  jpeg_progress_mgr progress{};
  jpeg_decompress_struct cinfo{};
  bool created = false;
  ~Decompressor() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

// The steps that may longjmp. They hold nothing with a destructor.
bool Start(Decompressor* d, const uint8_t* data, size_t size) {
  if (setjmp(d->error.jump)) return false;
  jpeg_create_decompress(&d->cinfo);
  d->created = true;
  d->cinfo.mem->max_memory_to_use = kMaxMemory;
  d->cinfo.progress = &d->progress;
  jpeg_mem_src(&d->cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d->cinfo, TRUE);
  return true;
}

bool CalculateSize(Decompressor* d) {
  if (setjmp(d->error.jump)) return false;
  jpeg_calc_output_dimensions(&d->cinfo);
  return true;
}

inline uint8_t Mul255(unsigned a, unsigned b) {
  unsigned v = a * b + 128;
  return static_cast<uint8_t>((v + (v >> 8)) >> 8);
}

// CMYK as Adobe writes it (inverted): each colour is its ink times black.
void CmykRowToBgra(const uint8_t* cmyk, Pixel* out, unsigned width) {
  for (unsigned x = 0; x < width; ++x, cmyk += 4) {
    const unsigned k = cmyk[3];
    out[x] = 0xFF000000u | (static_cast<uint32_t>(Mul255(cmyk[0], k)) << 16) |
             (static_cast<uint32_t>(Mul255(cmyk[1], k)) << 8) | Mul255(cmyk[2], k);
  }
}

bool Decode(Decompressor* d, TBitmap* bitmap, uint8_t* cmykRow) {
  if (setjmp(d->error.jump)) return false;
  jpeg_start_decompress(&d->cinfo);
  while (d->cinfo.output_scanline < d->cinfo.output_height) {
    const unsigned y = d->cinfo.output_scanline;
    if (cmykRow != nullptr) {
      JSAMPROW row = cmykRow;
      jpeg_read_scanlines(&d->cinfo, &row, 1);
      CmykRowToBgra(cmykRow, bitmap->ScanLine(static_cast<int>(y)), d->cinfo.output_width);
    } else {
      JSAMPROW row = reinterpret_cast<JSAMPROW>(bitmap->ScanLine(static_cast<int>(y)));
      jpeg_read_scanlines(&d->cinfo, &row, 1);
    }
  }
  jpeg_finish_decompress(&d->cinfo);
  return true;
}

[[noreturn]] void Fail(const char* reason) {
  throw EInvalidGraphic(std::string("Invalid JPEG image: ") + reason);
}

void Open(Decompressor& d, std::span<const uint8_t> data) {
  if (!IsJpeg(data)) Fail("not a JPEG file");
  d.cinfo.err = jpeg_std_error(&d.error.manager);
  d.error.manager.error_exit = OnError;
  d.error.manager.emit_message = OnMessage;
  d.progress.progress_monitor = OnProgress;
  if (!Start(&d, data.data(), data.size())) Fail(d.error.message);
  const uint64_t pixels = static_cast<uint64_t>(d.cinfo.image_width) * d.cinfo.image_height;
  if (pixels > static_cast<uint64_t>(TBitmap::kMaxPixels)) {
    throw EInvalidGraphic("The JPEG image is too large (" + std::to_string(d.cinfo.image_width) +
                          " x " + std::to_string(d.cinfo.image_height) + " pixels)");
  }
}

}  // namespace

JpegInfo ReadJpegHeader(std::span<const uint8_t> data) {
  Decompressor d;
  Open(d, data);
  JpegInfo info;
  info.width = static_cast<int>(d.cinfo.image_width);
  info.height = static_cast<int>(d.cinfo.image_height);
  info.components = d.cinfo.num_components;
  info.progressive = d.cinfo.progressive_mode != 0;
  return info;
}

void DecodeJpeg(std::span<const uint8_t> data, int denominator, TBitmap& bitmap) {
  Decompressor d;
  Open(d, data);
  const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
  d.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  d.cinfo.scale_num = 1;
  d.cinfo.scale_denom = static_cast<unsigned>(
      denominator == 2 || denominator == 4 || denominator == 8 ? denominator : 1);
  d.cinfo.dct_method = JDCT_ISLOW;
  if (!CalculateSize(&d)) Fail(d.error.message);

  bitmap.SetSize(0, 0);
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetAlphaFormat(afIgnored);
  bitmap.SetSize(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height));
  std::vector<uint8_t> cmykRow(cmyk ? static_cast<size_t>(d.cinfo.output_width) * 4 : 0);
  if (!Decode(&d, &bitmap, cmyk ? cmykRow.data() : nullptr)) {
    bitmap.SetSize(0, 0);
    Fail(d.error.message);
  }
}

// libjpeg keeps nothing on a thread.
CodecThreadScope::~CodecThreadScope() = default;

}  // namespace vark
