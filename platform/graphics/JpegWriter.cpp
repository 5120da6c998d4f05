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
#include "platform/graphics/PictureFile.h"

namespace vark {

namespace {

struct ErrorState {
  jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to this
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* state = reinterpret_cast<ErrorState*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, state->message);
  std::longjmp(state->jump, 1);
}

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

// The step that may longjmp; it holds nothing with a destructor.
bool Compress(Compressor* c, const TBitmap* bitmap, int quality) {
  if (setjmp(c->error.jump)) return false;
  jpeg_create_compress(&c->cinfo);
  c->created = true;
  jpeg_mem_dest(&c->cinfo, &c->buffer, &c->size);
  c->cinfo.image_width = static_cast<JDIMENSION>(bitmap->Width());
  c->cinfo.image_height = static_cast<JDIMENSION>(bitmap->Height());
  c->cinfo.input_components = 4;
  c->cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&c->cinfo);
  jpeg_set_quality(&c->cinfo, quality, TRUE);
  jpeg_start_compress(&c->cinfo, TRUE);
  while (c->cinfo.next_scanline < c->cinfo.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(
        const_cast<Pixel*>(bitmap->ScanLine(static_cast<int>(c->cinfo.next_scanline))));
    jpeg_write_scanlines(&c->cinfo, &row, 1);
  }
  jpeg_finish_compress(&c->cinfo);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality) {
  if (bitmap.Empty()) throw EInvalidGraphic("Cannot write an empty JPEG image");
  Compressor c;
  c.cinfo.err = jpeg_std_error(&c.error.manager);
  c.error.manager.error_exit = OnError;
  if (!Compress(&c, &bitmap, quality < 1 ? 1 : (quality > 100 ? 100 : quality))) {
    throw EInvalidGraphic(std::string("Cannot write the JPEG image: ") + c.error.message);
  }
  return std::vector<uint8_t>(c.buffer, c.buffer + c.size);
}

void SaveJpeg(const TBitmap& bitmap, const std::string& path, int quality) {
  WritePictureFile(path, EncodeJpeg(bitmap, quality));
}

}  // namespace vark
