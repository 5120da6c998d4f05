// The parts of JpegCodec.h that read the file's structure by hand, the same
// whichever library decodes the picture.
#include <cstring>
#include <string>

#include "platform/Exceptions.h"
#include "platform/graphics/JpegCodec.h"

namespace vark {

namespace {

[[noreturn]] void Fail(const char* reason) {
  throw EInvalidGraphic(std::string("Invalid JPEG image: ") + reason);
}

}  // namespace

bool IsJpeg(std::span<const uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

void CheckJpegStructure(std::span<const uint8_t> data) {
  if (!IsJpeg(data)) Fail("not a JPEG file");
  const size_t n = data.size();
  size_t pos = 2;
  bool sawFrame = false;
  for (;;) {
    if (pos >= n) Fail("the data ends before the end-of-image marker");
    if (data[pos] != 0xFF) Fail("a segment does not start with a marker");
    while (pos < n && data[pos] == 0xFF)
      ++pos;  // fill bytes
    if (pos >= n) Fail("the data ends before the end-of-image marker");
    const uint8_t marker = data[pos++];
    if (marker == 0xD9) {
      if (!sawFrame) Fail("no image data");
      return;
    }
    if (marker == 0x00 || marker == 0xD8) Fail("a marker is out of place");
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (pos + 2 > n) Fail("the data ends inside a segment");
    const size_t length = (static_cast<size_t>(data[pos]) << 8) | data[pos + 1];
    if (length < 2 || pos + length > n) Fail("the data ends inside a segment");
    if ((marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)) {
      sawFrame = true;
    }
    pos += length;
    if (marker != 0xDA) continue;
    // Entropy-coded data runs to the next marker that is neither a stuffed
    // zero nor a restart marker.
    for (;;) {
      const void* ff = std::memchr(data.data() + pos, 0xFF, n - pos);
      if (ff == nullptr) Fail("the data ends inside the image data");
      pos = static_cast<size_t>(static_cast<const uint8_t*>(ff) - data.data());
      size_t next = pos + 1;
      while (next < n && data[next] == 0xFF)
        ++next;
      if (next >= n) Fail("the data ends inside the image data");
      const uint8_t m = data[next];
      if (m == 0x00 || (m >= 0xD0 && m <= 0xD7)) {
        pos = next + 1;
        continue;
      }
      pos = next - 1;  // at the 0xFF before the marker
      break;
    }
  }
}

}  // namespace vark
