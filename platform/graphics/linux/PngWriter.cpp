// The writing half of PngCodec.h.
#include <png.h>

#include <cstring>
#include <string>

#include "platform/Exceptions.h"
#include "platform/graphics/PngCodec.h"

namespace vark {

namespace {

struct WriteState {
  std::vector<uint8_t>* out = nullptr;
  char message[200] = {};
};

void WriteBytes(png_structp png, png_bytep data, size_t length) {
  auto* state = static_cast<WriteState*>(png_get_io_ptr(png));
  bool ok = true;
  try {
    state->out->insert(state->out->end(), data, data + length);
  } catch (...) {
    ok = false;
  }
  if (!ok) png_error(png, "out of memory");
}

void FlushBytes(png_structp) {}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* state = static_cast<WriteState*>(png_get_error_ptr(png));
  std::strncpy(state->message, message != nullptr ? message : "unknown error",
               sizeof state->message - 1);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct WriteStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~WriteStructs() { png_destroy_write_struct(&png, info != nullptr ? &info : nullptr); }
};

// The step that may longjmp; it holds nothing with a destructor.
bool WriteAll(png_structp png, png_infop info, const PngRaster* raster, png_const_bytep* rows,
              png_const_colorp palette, int paletteCount, png_color_16* transparent) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(raster->width),
               static_cast<png_uint_32>(raster->height), raster->bitDepth, raster->colorType,
               raster->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (paletteCount > 0) png_set_PLTE(png, info, palette, paletteCount);
  if (raster->hasTransparency) {
    if (raster->colorType == COLOR_PALETTE) {
      png_set_tRNS(png, info, raster->paletteAlpha.data(),
                   static_cast<int>(raster->paletteAlpha.size()), nullptr);
    } else if (raster->colorType == COLOR_GRAYSCALE || raster->colorType == COLOR_RGB) {
      png_set_tRNS(png, info, nullptr, 0, transparent);
    }
  }
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  png_set_interlace_handling(png);
  png_write_image(png, const_cast<png_bytepp>(rows));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodePng(const PngRaster& raster) {
  if (!raster.Complete()) throw EInvalidGraphic("Cannot write an empty or incomplete PNG image");
  std::vector<uint8_t> out;
  WriteState state;
  state.out = &out;
  WriteStructs s;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
  if (s.png == nullptr) throw EInvalidGraphic("Cannot write the PNG image: out of memory");
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) throw EInvalidGraphic("Cannot write the PNG image: out of memory");
  png_set_write_fn(s.png, &state, WriteBytes, FlushBytes);

  std::vector<png_const_bytep> rows(raster.height);
  for (int y = 0; y < raster.height; ++y)
    rows[y] = raster.Row(y);
  std::vector<png_color> palette;
  for (const TPngPaletteEntry& e : raster.palette)
    palette.push_back({e.Red, e.Green, e.Blue});
  png_color_16 transparent{};
  transparent.gray = raster.transparentGray;
  transparent.red = raster.transparentRed;
  transparent.green = raster.transparentGreen;
  transparent.blue = raster.transparentBlue;
  if (!WriteAll(s.png, s.info, &raster, rows.data(), palette.data(),
                static_cast<int>(palette.size()), &transparent)) {
    throw EInvalidGraphic(std::string("Cannot write the PNG image: ") + state.message);
  }
  return out;
}

}  // namespace vark
