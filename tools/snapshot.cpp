// snapshot: draws the launcher's main window as it first appears, without a
// display, and writes it as a PNG.
//
//   build/tools/snapshot OUT.png
//
// The window is made as the program makes it (its creation loads the stored
// lists and place, as a start would) on the headless backend, painted once and
// written whole, frame included. Nothing is saved: the program ends without a
// close request. The picture is written with light compression, since this
// runs wherever a quick look at the window is wanted.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/ValdorLaunch.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Application.h"
#include "platform/ui/a11y/PlatformBridge.h"

namespace {

// Writes an opaque BGRA bitmap as an 8-bit RGB PNG. The window is opaque, so
// alpha is left out. Each row is stored as its difference from the row above
// (the picture is mostly smooth) and compressed at zlib's fastest level: a
// quarter of the raw size in a third of the default's time.
bool WriteRgbPng(const TBitmap& bitmap, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<png_byte> row(static_cast<size_t>(w) * 3);
  bool ok = png != nullptr && info != nullptr;
  if (ok && setjmp(png_jmpbuf(png)) != 0) ok = false;
  if (ok) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
      const Pixel* src = bitmap.ScanLine(y);
      png_byte* dst = row.data();
      for (int x = 0; x < w; ++x, dst += 3) {
        dst[0] = static_cast<png_byte>(src[x] >> 16);
        dst[1] = static_cast<png_byte>(src[x] >> 8);
        dst[2] = static_cast<png_byte>(src[x]);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(png != nullptr ? &png : nullptr, info != nullptr ? &info : nullptr);
  return std::fclose(file) == 0 && ok;
}

}  // namespace

namespace vark {

// The snapshot never opens a real window. Standing in for the real windows'
// backend here keeps it out of the link, and with it the windowing and audio
// libraries it would load (and relocate) at every start. Should something
// else pull that backend in, the link fails on this duplicate, not silently.
std::unique_ptr<Backend> CreateSdlBackend() {
  return std::make_unique<HeadlessBackend>();
}

// Nor does it serve a screen reader: the same holds for the session bus
// library that finding out whether one runs would load.
std::unique_ptr<a11y::PlatformBridge> a11y::StartPlatformBridge(Backend&) {
  return nullptr;
}

}  // namespace vark

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(stderr, "usage: snapshot OUT.png\n");
    return 2;
  }
  vark::HeadlessBackend& ui = vark::HeadlessBackend::Install();
  Application->SetMainFormOnTaskBar(true);
  Application->CreateForm(Form1);
  Form1->Show();
  if (!WriteRgbPng(ui.surface(*Form1), argv[1])) {
    std::fprintf(stderr, "snapshot: cannot write %s\n", argv[1]);
    return 1;
  }
  // Done: taking the window, its pictures and the font caches apart piece by
  // piece would only delay the exit.
  std::fflush(nullptr);
  std::_Exit(0);
}
