#include "IconFile.h"

#include <stdexcept>

#include "Encoders.h"

namespace artgen {
namespace {

constexpr int kLargestBitmap = 128;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A BITMAPINFOHEADER of twice the height (colour rows, then the mask's), the
// colour rows bottom-up as BGRA, and the mask: one bit a pixel, set where the
// icon is fully transparent, rows padded to 32 bits.
std::vector<uint8_t> EncodeBitmap(const IconImage& image) {
  const int n = image.size;
  const uint32_t maskRow = (static_cast<uint32_t>(n) + 31) / 32 * 4;
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(n));
  Put32(out, static_cast<uint32_t>(2 * n));
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // uncompressed
  Put32(out, static_cast<uint32_t>(n * n * 4) + maskRow * static_cast<uint32_t>(n));
  for (int i = 0; i < 4; ++i)
    Put32(out, 0);  // resolution and palette: unused
  for (int y = n - 1; y >= 0; --y)
    for (int x = 0; x < n; ++x) {
      const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * n + x) * 4];
      out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskRow, 0);
    for (int x = 0; x < n; ++x)
      if (image.rgba[(static_cast<size_t>(y) * n + x) * 4 + 3] == 0)
        row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
  std::vector<std::vector<uint8_t>> encoded;
  for (const IconImage& image : images) {
    if (image.size < 1 || image.size > 256 ||
        image.rgba.size() != static_cast<size_t>(image.size) * image.size * 4)
      throw std::runtime_error("an icon image of " + std::to_string(image.size) + " pixels");
    encoded.push_back(image.size > kLargestBitmap
                          ? EncodePngRgba(image.size, image.size, image.rgba)
                          : EncodeBitmap(image));
  }
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const auto side = static_cast<uint8_t>(images[i].size == 256 ? 0 : images[i].size);
    out.insert(out.end(), {side, side, 0, 0});  // 0 stands for 256; no palette
    Put16(out, 1);                              // planes
    Put16(out, 32);                             // bits per pixel
    Put32(out, static_cast<uint32_t>(encoded[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(encoded[i].size());
  }
  for (const std::vector<uint8_t>& e : encoded)
    out.insert(out.end(), e.begin(), e.end());
  return out;
}

}  // namespace artgen
