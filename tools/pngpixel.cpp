// pngpixel: prints pixels of a PNG file as RRGGBB, for the end-to-end tests.
//
//   pngpixel FILE.png X Y [X Y ...]      one line per point
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Picture.h"
#include "platform/os/CommandLine.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = vark::os::ProgramArguments(argc, argv);
  if (args.size() < 4 || args.size() % 2 != 0) {
    std::fprintf(stderr, "usage: pngpixel FILE.png X Y [X Y ...]\n");
    return 2;
  }
  try {
    TPicture picture;
    picture.LoadFromFile(args[1]);
    TBitmap bitmap;
    bitmap.Assign(*picture.Graphic());
    for (size_t i = 2; i + 1 < args.size(); i += 2) {
      int x = std::atoi(args[i].c_str()), y = std::atoi(args[i + 1].c_str());
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
