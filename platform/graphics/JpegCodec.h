// Reading and writing JPEG files with libjpeg-turbo.
//
// libjpeg reports errors by longjmp. Every libjpeg call that may fail runs in
// a small function that owns no C++ object with a destructor, so the jump
// never skips one; the error then becomes an EInvalidGraphic exception.
// Truncated and corrupt entropy-coded data, which libjpeg only warns about
// and paints grey, count as errors.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TBitmap;

namespace vark {

struct JpegInfo {
  int width = 0;
  int height = 0;
  int components = 0;
  bool progressive = false;
};

// True when data starts with the JPEG start-of-image marker.
bool IsJpeg(std::span<const uint8_t> data);

// The header. EInvalidGraphic for data that is not a JPEG, a broken header or
// a picture larger than TBitmap::kMaxPixels.
JpegInfo ReadJpegHeader(std::span<const uint8_t> data);

// Walks the marker segments and the entropy-coded data between them up to the
// end-of-image marker, without decoding: finds a truncated file or a broken
// segment length in well under a millisecond. EInvalidGraphic names the fault.
void CheckJpegStructure(std::span<const uint8_t> data);

// Decodes at 1/denominator of the full size (1, 2, 4 or 8: libjpeg's DCT
// scaling, far cheaper than decoding in full and shrinking) into an opaque
// 24-bit bitmap, which takes the scaled size (the full size divided and
// rounded up).
void DecodeJpeg(std::span<const uint8_t> data, int denominator, TBitmap& bitmap);

// Made at the start of the work of a thread of its own that decodes pictures,
// and gone at its end: what the system's codecs set up on the thread goes
// with it (on Windows the imaging factory and COM).
class CodecThreadScope {
 public:
  CodecThreadScope() = default;
  ~CodecThreadScope();
  CodecThreadScope(const CodecThreadScope&) = delete;
  CodecThreadScope& operator=(const CodecThreadScope&) = delete;
};

// How a bitmap is encoded. Grey keeps only the luminance; CMYK writes the
// colours as the inverted CMYK with an Adobe marker that print software uses
// (no black ink), which the reader turns back into the same colours.
enum class JpegColorSpace : uint8_t { Color, Gray, Cmyk };
struct JpegWriteOptions {
  int quality = 90;  // 1..100
  bool progressive = false;
  JpegColorSpace colorSpace = JpegColorSpace::Color;
};

// Encodes a bitmap's colours (alpha ignored).
std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, const JpegWriteOptions& options);
inline std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality = 90) {
  return EncodeJpeg(bitmap, JpegWriteOptions{quality});
}
void SaveJpeg(const TBitmap& bitmap, const std::string& path, int quality = 90);

}  // namespace vark
