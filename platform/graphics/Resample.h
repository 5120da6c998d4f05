// The resampling under DrawScaled: a separable filter whose taps on each axis
// are the pixel the sample point falls in (nearest), the two pixels around it
// weighted by distance (linear), or, on an axis that shrinks, every source
// pixel a destination pixel covers, weighted by the share it covers (the area
// average). Integer arithmetic with SSE2 where the processor has it; one
// output row at a time, composited over the destination as it is made.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/Types.h"

namespace vark {

enum class EdgeMode : uint8_t;

// A premultiplied 0xAARRGGBB source: width × height pixels, stride in pixels.
// opaque: its alpha bytes are not meaningful and read as 255.
struct ResampleSource {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  bool opaque = false;
};

enum class ResampleKernel : uint8_t {
  Nearest,  // the pixel the sample point falls in (a point on a border: the one before it)
  Linear,   // the two pixels whose centres lie around the sample point
  Area,     // the area average on an axis that shrinks, linear on one that does not
};

// One axis of the mapping: destination pixel i (0-based within the output) has
// its centre at source coordinate (i + 0.5) * scale + offset, where source
// pixel j spans [j, j + 1).
struct ResampleAxis {
  double scale = 1.0;
  double offset = 0.0;
  ResampleKernel kernel = ResampleKernel::Area;
};

// Taps beyond the source follow edge: repeated edge pixels, mirrored pixels,
// or transparent.
class Resampler {
 public:
  Resampler(const ResampleSource& src, ResampleAxis x, ResampleAxis y, EdgeMode edge, int outWidth,
            int outHeight);

  // Writes output row o (0 <= o < the output height): outWidth premultiplied
  // pixels.
  void Row(int o, uint32_t* out);

  // Lays output row o over dst (the output width of premultiplied pixels),
  // source-over at opacity / 255.
  void CompositeRow(int o, uint32_t* dst, uint8_t opacity);

  // The taps of one axis, in pairs: output i reads index[first[i] ..
  // first[i + 1]), an even count (the last weight may be 0). Weights are
  // 14-bit fractions. When both axes are nearest, only pick is made: the one
  // pixel of each output (-1: nothing).
  struct AxisTaps {
    std::vector<int> first;
    std::vector<int> index;
    std::vector<int16_t> weight;
    std::vector<int> pick;
  };

 private:
  // How rows are made: nothing to read; nearest on both axes (a plain
  // gather); at most two taps on each axis, the pixels side by side (the
  // two-by-two filter); anything else (a pass down, then one across).
  enum class Mode : uint8_t { Empty, Gather, Pairs, Separable };

  bool MakePairs();
  void NearestRow(int o, uint32_t* out) const;
  void PairRow(int o, uint32_t* out) const;
  // Where the nearest filter reads a whole output row from consecutive
  // source pixels (a picture at its own size), those pixels as they lie in
  // the source (their alpha bytes unread when it is opaque); else nullptr.
  const uint32_t* DirectRow(int o) const;

  ResampleSource src_;
  EdgeMode edge_;
  int outWidth_;
  Mode mode_ = Mode::Empty;
  bool consecutive_ = false;  // the nearest columns are consecutive source pixels
  AxisTaps across_;
  AxisTaps down_;
  int firstColumn_ = 0;               // the leftmost source column any tap reads
  std::vector<int> columnIndex_;      // across_.index less firstColumn_
  std::vector<int32_t> sums_;         // one row's channels, filtered down
  std::vector<int16_t> column_;       // the same, rounded to 8 bits
  std::vector<int> pairLeft_;         // the two-by-two filter: the left pixel
  std::vector<int16_t> pairWeights_;  // and the weights of it and its right neighbour
  std::vector<uint32_t> row_;         // an output row waiting to be composited
};

// The whole output at once: outWidth × outHeight pixels, rows packed.
void Resample(const ResampleSource& src, ResampleAxis x, ResampleAxis y, EdgeMode edge,
              int outWidth, int outHeight, std::span<uint32_t> out);

}  // namespace vark
