#include "Encoders.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace artgen {
namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

File OpenForWriting(const std::string& path) {
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) throw std::runtime_error("cannot create " + path);
  return f;
}

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// libpng reports errors by jumping back to the setjmp here.
std::vector<uint8_t> EncodePng(int width, int height, int colorType,
                               const std::vector<png_color>& palette,
                               const std::vector<uint8_t>& alphas, const uint8_t* data,
                               size_t rowBytes) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    throw std::runtime_error("out of memory encoding a PNG");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("cannot encode a PNG");
  }
  png_set_write_fn(png, &out, AppendToVector, nullptr);
  png_set_IHDR(png, info, width, height, 8, colorType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!alphas.empty())
      png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
  }
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, data + static_cast<size_t>(y) * rowBytes);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  File f = OpenForWriting(path);
  if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size() ||
      std::fflush(f.get()) != 0)
    throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> EncodePngRgba(int width, int height, const std::vector<uint8_t>& rgba) {
  return EncodePng(width, height, PNG_COLOR_TYPE_RGBA, {}, {}, rgba.data(),
                   static_cast<size_t>(width) * 4);
}

void WritePngRgba(const std::string& path, int width, int height,
                  const std::vector<uint8_t>& rgba) {
  WriteBytes(path, EncodePngRgba(width, height, rgba));
}

void WritePngPalette(const std::string& path, const IndexedImage& image) {
  std::vector<png_color> colors;
  std::vector<uint8_t> alphas;
  for (const auto& e : image.palette)
    colors.push_back({e[0], e[1], e[2]});
  // tRNS holds the alphas of the first entries; the quantizer puts every entry
  // that is not opaque first, so the chunk stops at the last of them.
  size_t count = 0;
  for (size_t i = 0; i < image.palette.size(); ++i)
    if (image.palette[i][3] != 255) count = i + 1;
  for (size_t i = 0; i < count; ++i)
    alphas.push_back(image.palette[i][3]);
  WriteBytes(path, EncodePng(image.width, image.height, PNG_COLOR_TYPE_PALETTE, colors, alphas,
                             image.indices.data(), static_cast<size_t>(image.width)));
}

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

}  // namespace

void WriteJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
               int quality) {
  File f = OpenForWriting(path);
  jpeg_compress_struct cinfo{};
  JpegError error{};
  cinfo.err = jpeg_std_error(&error.mgr);
  error.mgr.error_exit = OnJpegError;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&cinfo);
    throw std::runtime_error("cannot write " + path);
  }
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f.get());
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<size_t>(cinfo.next_scanline) * width * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  if (std::fflush(f.get()) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace artgen
