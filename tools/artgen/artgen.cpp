// artgen: draws every picture of the launcher into a folder.
//
//   artgen OUTDIR
//
// Writes background.jpg (2500 × 1667), backdrop.png (400 × 600, alpha),
// edition1.png … edition8.png (the sizes and kinds the edition rows expect),
// mapeditor.png (64 × 64, alpha), icon-SIZE.png for the Linux desktop and
// valdor-launcher.ico (16, 32, 48 and 256 pixels) for the Windows program. Everything
// comes from one fixed seed, so every build makes the same pictures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "Encoders.h"
#include "IconFile.h"
#include "Pictures.h"
#include "Quantizer.h"

namespace {

using namespace artgen;

constexpr uint32_t kSeed = 0x5A1D0E3;

struct EditionPicture {
  int size;
  bool palette;  // colour type 3 with a transparency chunk, else RGBA
};
// Row pictures by edition: their sizes and kinds differ on purpose, so the rows
// exercise every way a picture can come in.
constexpr EditionPicture kEditions[8] = {{128, false}, {64, false}, {256, false}, {128, false},
                                         {64, false},  {48, true},  {64, true},   {64, false}};
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
// The sizes Windows shows a program's icon at (with 150 % and 200 % picked
// from the nearest larger one).
constexpr int kWindowsIconSizes[] = {16, 32, 48, 256};

void WriteRgba(const std::string& path, const Image& image) {
  WritePngRgba(path, image.Width(), image.Height(), image.ToRgba8(false));
}

void WriteOpaqueJpeg(const std::string& path, const Image& image) {
  const std::vector<uint8_t> rgba = image.ToRgba8(true);
  std::vector<uint8_t> rgb;
  rgb.reserve(rgba.size() / 4 * 3);
  for (size_t i = 0; i < rgba.size(); i += 4)
    rgb.insert(rgb.end(), &rgba[i], &rgba[i] + 3);
  WriteJpeg(path, image.Width(), image.Height(), rgb, 90);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: artgen OUTDIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const auto start = std::chrono::steady_clock::now();
  try {
    WriteOpaqueJpeg(dir + "background.jpg", RenderBackground(2500, 1667, kSeed));
    WriteRgba(dir + "backdrop.png", RenderBackdrop(400, 600, kSeed + 1));
    for (int i = 0; i < 8; ++i) {
      const EditionPicture& kind = kEditions[i];
      const Image image = RenderEdition(i + 1, kind.size);
      const std::string path = dir + "edition" + std::to_string(i + 1) + ".png";
      if (kind.palette)
        WritePngPalette(path, Quantize(image.ToRgba8(false), kind.size, kind.size));
      else
        WriteRgba(path, image);
    }
    WriteRgba(dir + "mapeditor.png", RenderMapEditor(64));
    std::vector<IconImage> windowsIcon;
    for (int size : kIconSizes) {
      const Image icon = RenderAppIcon(size);
      WriteRgba(dir + "icon-" + std::to_string(size) + ".png", icon);
      if (std::find(std::begin(kWindowsIconSizes), std::end(kWindowsIconSizes), size) !=
          std::end(kWindowsIconSizes))
        windowsIcon.push_back({size, icon.ToRgba8(false)});
    }
    WriteBytes(dir + "valdor-launcher.ico", EncodeIco(windowsIcon));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "artgen: %s\n", e.what());
    return 1;
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  std::printf("artgen: pictures written to %s in %lld ms\n", dir.c_str(),
              static_cast<long long>(ms));
  return 0;
}
