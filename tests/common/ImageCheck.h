// Pixel checks for drawing tests: a bitmap shown as a small ASCII picture, and
// a comparison of two bitmaps that, on a mismatch, writes the expected and the
// actual image (and their difference) under the build folder and returns a
// picture of the difference for the failure message.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngCodec.h"

namespace vark::testing {

// One character per pixel: legend[colour] or `other`; rows end with '\n'.
inline std::string Ascii(const TBitmap& bmp, const std::map<TColor, char>& legend,
                         char other = '?') {
  std::string out;
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x) {
      auto it = legend.find(bmp.ColorAt(x, y));
      out += it == legend.end() ? other : it->second;
    }
    out += '\n';
  }
  return out;
}

// The folder for failure images: $VARK_BUILD_DIR/test-images, else ./test-images.
inline std::filesystem::path FailureFolder() {
  const char* build = std::getenv("VARK_BUILD_DIR");
  std::filesystem::path dir = build ? std::filesystem::path(build) / "test-images" : "test-images";
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  return dir;
}

// Empty when both bitmaps hold the same colours; otherwise a description with
// a map of the differing pixels ('X'), after writing NAME-expected, NAME-actual
// and NAME-diff images to FailureFolder().
inline std::string CompareImages(const TBitmap& expected, const TBitmap& actual,
                                 const std::string& name) {
  std::ostringstream msg;
  if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
    msg << name << ": size " << actual.Width() << "x" << actual.Height() << ", expected "
        << expected.Width() << "x" << expected.Height();
    return msg.str();
  }
  int differing = 0;
  std::string map;
  TBitmap diff(expected.Width(), expected.Height());
  for (int y = 0; y < expected.Height(); ++y) {
    for (int x = 0; x < expected.Width(); ++x) {
      bool same = expected.ColorAt(x, y) == actual.ColorAt(x, y);
      differing += same ? 0 : 1;
      map += same ? '.' : 'X';
      diff.ScanLine(y)[x] = OpaquePixel(same ? clWhite : clRed);
    }
    map += '\n';
  }
  if (differing == 0) return {};
  const std::filesystem::path dir = FailureFolder();
  vark::SavePng(expected, (dir / (name + "-expected.png")).string());
  vark::SavePng(actual, (dir / (name + "-actual.png")).string());
  vark::SavePng(diff, (dir / (name + "-diff.png")).string());
  msg << name << ": " << differing << " pixels differ (images in " << dir.string() << ")\n";
  if (expected.Width() <= 120 && expected.Height() <= 60) msg << map;
  return msg.str();
}

}  // namespace vark::testing
