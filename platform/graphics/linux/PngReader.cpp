// The reading half of PngCodec.h.
#include <png.h>

#include <cstring>
#include <string>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngCodec.h"

namespace vark {

namespace {

// The samples of the largest picture TBitmap holds, at 8 bits per channel.
constexpr size_t kMaxDataBytes = static_cast<size_t>(TBitmap::kMaxPixels) * 4;

struct ReadState {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  char message[200] = {};
};

void SetMessage(ReadState& state, const char* text) {
  std::strncpy(state.message, text != nullptr ? text : "unknown error", sizeof state.message - 1);
  state.message[sizeof state.message - 1] = '\0';
}

void ReadBytes(png_structp png, png_bytep out, size_t length) {
  auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
  if (length > state->size - state->pos) png_error(png, "the data ends too early");
  std::memcpy(out, state->data + state->pos, length);
  state->pos += length;
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  SetMessage(*static_cast<ReadState*>(png_get_error_ptr(png)), message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The two steps that may longjmp. They hold nothing with a destructor.
bool ReadInfo(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  return true;
}

bool PrepareRows(png_structp png, png_infop info, size_t* rowBytes) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *rowBytes = png_get_rowbytes(png, info);
  return true;
}

bool ReadInterlaced(png_structp png, png_bytep* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

// Rows of a plain picture are read one by one into reserved memory, so a
// header that promises far more rows than the data holds costs only what
// really arrives.
bool ReadSequential(png_structp png, std::vector<uint8_t>* data, size_t rowBytes, int height) {
  if (setjmp(png_jmpbuf(png))) return false;
  for (int y = 0; y < height; ++y) {
    data->resize(rowBytes * static_cast<size_t>(y + 1));
    png_read_row(png, data->data() + rowBytes * static_cast<size_t>(y), nullptr);
  }
  png_read_end(png, nullptr);
  return true;
}

// Frees libpng's structures on every path out of DecodePng.
struct ReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~ReadStructs() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
};

[[noreturn]] void Fail(const std::string& reason) {
  throw EInvalidGraphic("Invalid PNG image: " + reason);
}

}  // namespace

bool IsPng(std::span<const uint8_t> data) {
  return data.size() >= 8 && png_sig_cmp(data.data(), 0, 8) == 0;
}

PngRaster DecodePng(std::span<const uint8_t> data) {
  if (!IsPng(data)) Fail("not a PNG file");
  ReadState state;
  state.data = data.data();
  state.size = data.size();

  ReadStructs s;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
  if (s.png == nullptr) Fail("out of memory");
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) Fail("out of memory");
  png_set_read_fn(s.png, &state, ReadBytes);
  // Ancillary chunks the picture code never reads are skipped unread.
  png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);

  if (!ReadInfo(s.png, s.info)) Fail(state.message);

  PngRaster raster;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  int interlace = 0;
  png_get_IHDR(s.png, s.info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (static_cast<uint64_t>(width) * height > static_cast<uint64_t>(TBitmap::kMaxPixels)) {
    throw EInvalidGraphic("The PNG image is too large (" + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels)");
  }
  raster.width = static_cast<int>(width);
  raster.height = static_cast<int>(height);
  raster.bitDepth = static_cast<uint8_t>(bitDepth);
  raster.colorType = static_cast<uint8_t>(colorType);
  raster.interlaced = interlace != PNG_INTERLACE_NONE;

  if (colorType == COLOR_PALETTE) {
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(s.png, s.info, &palette, &count) == 0 || count <= 0) Fail("no palette");
    for (int i = 0; i < count; ++i) {
      raster.palette.push_back({palette[i].red, palette[i].green, palette[i].blue});
    }
  }
  png_bytep trnsAlpha = nullptr;
  int trnsCount = 0;
  png_color_16p trnsColor = nullptr;
  if (png_get_tRNS(s.png, s.info, &trnsAlpha, &trnsCount, &trnsColor) != 0) {
    raster.hasTransparency = true;
    if (colorType == COLOR_PALETTE && trnsAlpha != nullptr) {
      raster.paletteAlpha.assign(trnsAlpha, trnsAlpha + trnsCount);
    } else if (trnsColor != nullptr) {
      raster.transparentGray = trnsColor->gray;
      raster.transparentRed = trnsColor->red;
      raster.transparentGreen = trnsColor->green;
      raster.transparentBlue = trnsColor->blue;
    }
  }

  raster.rowBytes = PngRowBytes(raster.width, raster.colorType, raster.bitDepth);
  size_t rowBytes = 0;
  if (!PrepareRows(s.png, s.info, &rowBytes)) Fail(state.message);
  // No transformation is asked for, so libpng's rows are the file's rows.
  if (rowBytes != raster.rowBytes) Fail("unexpected row length");
  if (raster.rowBytes * raster.height > kMaxDataBytes) {
    throw EInvalidGraphic("The PNG image is too large (" + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels of " + std::to_string(bitDepth) +
                          "-bit samples)");
  }
  if (raster.interlaced) {
    raster.data.resize(raster.rowBytes * raster.height);
    std::vector<png_bytep> rows(raster.height);
    for (int y = 0; y < raster.height; ++y)
      rows[y] = raster.Row(y);
    if (!ReadInterlaced(s.png, rows.data())) Fail(state.message);
  } else {
    raster.data.reserve(raster.rowBytes * raster.height);
    if (!ReadSequential(s.png, &raster.data, raster.rowBytes, raster.height)) Fail(state.message);
  }
  return raster;
}

}  // namespace vark
