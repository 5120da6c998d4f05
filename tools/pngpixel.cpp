// pngpixel: prints pixels of a PNG file as RRGGBB, for the end-to-end tests.
//
//   pngpixel FILE.png X Y [X Y ...]      one line per point
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Picture.h"

int main(int argc, char** argv) {
  if (argc < 4 || (argc - 2) % 2 != 0) {
    std::fprintf(stderr, "usage: pngpixel FILE.png X Y [X Y ...]\n");
    return 2;
  }
  try {
    TPicture picture;
    picture.LoadFromFile(argv[1]);
    TBitmap bitmap;
    bitmap.Assign(*picture.Graphic());
    for (int i = 2; i + 1 < argc; i += 2) {
      int x = std::atoi(argv[i]), y = std::atoi(argv[i + 1]);
      if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) {
        std::fprintf(stderr, "pngpixel: %d,%d lies outside the %dx%d picture\n", x, y,
                     bitmap.Width(), bitmap.Height());
        return 1;
      }
      TColor c = bitmap.ColorAt(x, y);
      std::printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pngpixel: %s\n", e.what());
    return 1;
  }
  return 0;
}
