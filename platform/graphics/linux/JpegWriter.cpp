// The writing half of JpegCodec.h.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// libjpeg's headers need stdio's types declared before them.
#include <jpeglib.h>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/linux/JpegErrorState.h"

namespace vark {

namespace {

using jpeg::ErrorState;
using jpeg::OnError;

// Owns the compressor and the memory libjpeg writes into.
struct Compressor {
  ErrorState error{};
  jpeg_compress_struct cinfo{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  bool created = false;
  ~Compressor() {
    if (created) jpeg_destroy_compress(&cinfo);
    std::free(buffer);
  }
};

// The step that may longjmp; it holds nothing with a destructor. cmykRow,
// when given, holds one row for the CMYK conversion.
bool Compress(Compressor* c, const TBitmap* bitmap, const JpegWriteOptions* options,
              uint8_t* cmykRow) {
  if (setjmp(c->error.jump)) return false;
  jpeg_create_compress(&c->cinfo);
  c->created = true;
  jpeg_mem_dest(&c->cinfo, &c->buffer, &c->size);
  c->cinfo.image_width = static_cast<JDIMENSION>(bitmap->Width());
  c->cinfo.image_height = static_cast<JDIMENSION>(bitmap->Height());
  c->cinfo.input_components = 4;
  c->cinfo.in_color_space = cmykRow != nullptr ? JCS_CMYK : JCS_EXT_BGRX;
  jpeg_set_defaults(&c->cinfo);
  if (options->colorSpace == JpegColorSpace::Gray) jpeg_set_colorspace(&c->cinfo, JCS_GRAYSCALE);
  const int quality = options->quality < 1 ? 1 : (options->quality > 100 ? 100 : options->quality);
  jpeg_set_quality(&c->cinfo, quality, TRUE);
  if (options->progressive) jpeg_simple_progression(&c->cinfo);
  jpeg_start_compress(&c->cinfo, TRUE);
  while (c->cinfo.next_scanline < c->cinfo.image_height) {
    const Pixel* pixels = bitmap->ScanLine(static_cast<int>(c->cinfo.next_scanline));
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<Pixel*>(pixels));
    if (cmykRow != nullptr) {
      // Inverted CMYK without black: the stored inks are the colours themselves.
      for (int x = 0; x < bitmap->Width(); ++x) {
        cmykRow[x * 4] = static_cast<uint8_t>(pixels[x] >> 16);
        cmykRow[x * 4 + 1] = static_cast<uint8_t>(pixels[x] >> 8);
        cmykRow[x * 4 + 2] = static_cast<uint8_t>(pixels[x]);
        cmykRow[x * 4 + 3] = 255;
      }
      row = cmykRow;
    }
    jpeg_write_scanlines(&c->cinfo, &row, 1);
  }
  jpeg_finish_compress(&c->cinfo);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, const JpegWriteOptions& options) {
  if (bitmap.Empty()) throw EInvalidGraphic("Cannot write an empty JPEG image");
  Compressor c;
  c.cinfo.err = jpeg_std_error(&c.error.manager);
  c.error.manager.error_exit = OnError;
  std::vector<uint8_t> cmykRow;
  if (options.colorSpace == JpegColorSpace::Cmyk) cmykRow.resize(bitmap.Width() * size_t{4});
  if (!Compress(&c, &bitmap, &options, cmykRow.empty() ? nullptr : cmykRow.data())) {
    throw EInvalidGraphic(std::string("Cannot write the JPEG image: ") + c.error.message);
  }
  return std::vector<uint8_t>(c.buffer, c.buffer + c.size);
}

}  // namespace vark
