#include "platform/graphics/AreaResample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/graphics/Scale.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vark {

namespace {

// Weights are 14-bit fractions, so that two taps' weights times 8-bit
// channels add up within a signed 32-bit lane (SSE2's multiply-add).
constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
constexpr int32_t kHalf = 1 << (kWeightBits - 1);

// The taps of every output pixel of one axis, in pairs: output i reads
// index[first[i] .. first[i + 1]), an even count (the last weight may be 0).
struct AxisTaps {
  std::vector<int> first;
  std::vector<int> index;
  std::vector<int16_t> weight;
};

// Where tap j of a source n pixels long reads, or -1 for nothing.
int MapIndex(int j, int n, EdgeMode edge) {
  if (j >= 0 && j < n) return j;
  switch (edge) {
    case EdgeMode::Clamp:
      return j < 0 ? 0 : n - 1;
    case EdgeMode::TileFlip: {
      const int period = 2 * n;
      int k = j % period;
      if (k < 0) k += period;
      return k < n ? k : period - 1 - k;
    }
    case EdgeMode::Transparent:
    default:
      return -1;
  }
}

// The share of each source pixel in the footprint [lo, hi) of an output pixel
// on a shrunk axis, added to taps as (index before edge mapping, share).
void AddFootprint(double lo, double hi, int n, EdgeMode edge,
                  std::vector<std::pair<int, double>>& taps) {
  const double length = hi - lo;
  if (edge == EdgeMode::TileFlip) {
    if (length >= 2.0 * n) {
      // A footprint wider than a whole mirrored period: the plain average.
      for (int j = 0; j < n; ++j)
        taps.emplace_back(j, 1.0 / n);
      return;
    }
    const double shift = std::floor(lo / (2.0 * n)) * 2.0 * n;
    lo -= shift;
    hi -= shift;
    for (int j = static_cast<int>(std::floor(lo)); j < hi; ++j) {
      const double w = (std::min(hi, j + 1.0) - std::max(lo, static_cast<double>(j))) / length;
      if (w > 0) taps.emplace_back(j, w);
    }
    return;
  }
  // Everything left of the picture counts as index -1, everything right of it
  // as index n: the edge pixel or nothing, by the edge mode.
  const int first = static_cast<int>(std::floor(std::clamp(lo, -1.0, static_cast<double>(n))));
  const int last = std::max(first + 1, static_cast<int>(std::ceil(std::clamp(hi, -1.0, n + 1.0))));
  for (int j = first; j < last; ++j) {
    const double from = j < 0 ? lo : std::max(lo, static_cast<double>(j));
    const double to = j >= n ? hi : std::min(hi, j + 1.0);
    const double w = (to - from) / length;
    if (w > 0) taps.emplace_back(j, w);
  }
}

AxisTaps MakeTaps(ResampleAxis axis, int n, int count, EdgeMode edge) {
  AxisTaps taps;
  taps.first.reserve(static_cast<size_t>(count) + 1);
  std::vector<std::pair<int, double>> real;
  for (int i = 0; i < count; ++i) {
    const size_t begin = taps.index.size();
    taps.first.push_back(static_cast<int>(begin));
    real.clear();
    const double u = (i + 0.5) * axis.scale + axis.offset;
    if (axis.scale > 1.0) {
      AddFootprint(u - axis.scale / 2, u + axis.scale / 2, n, edge, real);
    } else {
      // Beyond a step past the edge nothing changes any more; a mirrored
      // picture repeats every 2n pixels.
      double p = u - 0.5;
      if (edge == EdgeMode::TileFlip) {
        p -= std::floor(p / (2.0 * n)) * 2.0 * n;
      } else {
        p = std::clamp(p, -2.0, n + 1.0);
      }
      const int j0 = static_cast<int>(std::floor(p));
      const double f = p - j0;
      real.emplace_back(j0, 1.0 - f);
      if (f > 0) real.emplace_back(j0 + 1, f);
    }
    // Weights in fixed point whose sum is the rounded sum of the real ones, so
    // that a flat picture stays exactly flat.
    double total = 0;
    int32_t sum = 0;
    size_t largest = SIZE_MAX;
    for (const auto& [j, w] : real) {
      const int k = MapIndex(j, n, edge);
      if (k < 0) continue;
      const auto fixed = static_cast<int32_t>(std::lround(w * kWeightOne));
      if (fixed == 0) continue;
      total += w;
      sum += fixed;
      if (largest == SIZE_MAX || fixed > taps.weight[largest]) largest = taps.index.size();
      taps.index.push_back(k);
      taps.weight.push_back(static_cast<int16_t>(fixed));
    }
    if (largest != SIZE_MAX) {
      const auto target = static_cast<int32_t>(std::lround(std::min(total, 1.0) * kWeightOne));
      taps.weight[largest] = static_cast<int16_t>(taps.weight[largest] + target - sum);
    }
    if ((taps.index.size() - begin) % 2 != 0) {
      // The pair's second half reads a real pixel, with no weight.
      taps.index.push_back(taps.index.back());
      taps.weight.push_back(0);
    }
  }
  taps.first.push_back(static_cast<int>(taps.index.size()));
  return taps;
}

#if defined(__SSE2__)
// Two 16-bit weights side by side in every 32-bit lane, for _mm_madd_epi16.
inline __m128i PairOf(int16_t w0, int16_t w1) {
  return _mm_set1_epi32(
      static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(w0)) |
                           static_cast<uint32_t>(static_cast<uint16_t>(w1)) << 16));
}
#endif

// sums[c] += w0 · a[c] + w1 · b[c] for the n channels of two source rows.
void AddRowPair(const uint8_t* a, const uint8_t* b, int16_t w0, int16_t w1, int32_t* sums,
                size_t n) {
  size_t c = 0;
#if defined(__SSE2__)
  const __m128i weights = PairOf(w0, w1);
  const __m128i zero = _mm_setzero_si128();
  for (; c + 16 <= n; c += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + c));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + c));
    const __m128i xl = _mm_unpacklo_epi8(x, zero), yl = _mm_unpacklo_epi8(y, zero);
    const __m128i xh = _mm_unpackhi_epi8(x, zero), yh = _mm_unpackhi_epi8(y, zero);
    __m128i* s = reinterpret_cast<__m128i*>(sums + c);
    _mm_storeu_si128(s + 0, _mm_add_epi32(_mm_loadu_si128(s + 0),
                                          _mm_madd_epi16(_mm_unpacklo_epi16(xl, yl), weights)));
    _mm_storeu_si128(s + 1, _mm_add_epi32(_mm_loadu_si128(s + 1),
                                          _mm_madd_epi16(_mm_unpackhi_epi16(xl, yl), weights)));
    _mm_storeu_si128(s + 2, _mm_add_epi32(_mm_loadu_si128(s + 2),
                                          _mm_madd_epi16(_mm_unpacklo_epi16(xh, yh), weights)));
    _mm_storeu_si128(s + 3, _mm_add_epi32(_mm_loadu_si128(s + 3),
                                          _mm_madd_epi16(_mm_unpackhi_epi16(xh, yh), weights)));
  }
#endif
  for (; c < n; ++c)
    sums[c] += w0 * a[c] + w1 * b[c];
}

// One output pixel from the filtered row's 16-bit channels (B G R A a pixel):
// the sum over its tap pairs, rounded to 8 bits a channel. A premultiplied
// source stays premultiplied: every channel gets the same non-negative
// weights and rounding keeps order, so no colour exceeds the alpha.
uint32_t FilterAcross(const int16_t* column, const int* index, const int16_t* weight, int taps) {
#if defined(__SSE2__)
  __m128i acc = _mm_set1_epi32(kHalf);
  for (int t = 0; t < taps; t += 2) {
    const __m128i p = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(column + 4 * index[t]));
    const __m128i q = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(column + 4 * index[t + 1]));
    acc = _mm_add_epi32(acc,
                        _mm_madd_epi16(_mm_unpacklo_epi16(p, q), PairOf(weight[t], weight[t + 1])));
  }
  const __m128i words = _mm_packs_epi32(_mm_srai_epi32(acc, kWeightBits), _mm_setzero_si128());
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
#else
  int32_t sum[4] = {kHalf, kHalf, kHalf, kHalf};
  for (int t = 0; t < taps; ++t) {
    for (int c = 0; c < 4; ++c)
      sum[c] += weight[t] * column[4 * index[t] + c];
  }
  uint32_t pixel = 0;
  for (int c = 0; c < 4; ++c)
    pixel |= static_cast<uint32_t>(std::clamp(sum[c] >> kWeightBits, 0, 255)) << (8 * c);
  return pixel;
#endif
}

}  // namespace

void AreaResample(const ResampleSource& src, ResampleAxis x, ResampleAxis y, EdgeMode edge,
                  int outWidth, int outHeight, std::span<uint32_t> out) {
  if (outWidth <= 0 || outHeight <= 0 || src.width <= 0 || src.height <= 0) return;
  if (out.size() < static_cast<size_t>(outWidth) * outHeight) return;
  const AxisTaps across = MakeTaps(x, src.width, outWidth, edge);
  const AxisTaps down = MakeTaps(y, src.height, outHeight, edge);
  std::fill(out.begin(), out.begin() + static_cast<ptrdiff_t>(outWidth) * outHeight, 0u);
  if (across.index.empty() || down.index.empty()) return;
  // Only the columns the horizontal taps read are filtered down.
  const auto [lowColumn, highColumn] =
      std::minmax_element(across.index.begin(), across.index.end());
  const int firstColumn = *lowColumn;
  const size_t channels = static_cast<size_t>(*highColumn - firstColumn + 1) * 4;
  std::vector<int> index(across.index);
  for (int& i : index)
    i -= firstColumn;

  std::vector<int32_t> sums(channels);
  std::vector<int16_t> column(channels);
  for (int o = 0; o < outHeight; ++o) {
    // Down first, whole rows at a time: the source rows of this output row,
    // combined.
    std::fill(sums.begin(), sums.end(), 0);
    int32_t weightSum = 0;
    for (int t = down.first[static_cast<size_t>(o)]; t < down.first[static_cast<size_t>(o) + 1];
         t += 2) {
      const auto row = [&](int k) {
        return reinterpret_cast<const uint8_t*>(
            src.pixels + static_cast<ptrdiff_t>(down.index[static_cast<size_t>(k)]) * src.stride +
            firstColumn);
      };
      const int16_t w0 = down.weight[static_cast<size_t>(t)],
                    w1 = down.weight[static_cast<size_t>(t) + 1];
      weightSum += w0 + w1;
      AddRowPair(row(t), row(t + 1), w0, w1, sums.data(), channels);
    }
    for (size_t c = 0; c < channels; ++c)
      column[c] = static_cast<int16_t>((sums[c] + kHalf) >> kWeightBits);
    if (src.opaque) {
      // An opaque source's alpha is the weights' share of 255, whatever its
      // alpha bytes hold.
      const auto alpha = static_cast<int16_t>((255 * weightSum + kHalf) >> kWeightBits);
      for (size_t c = 3; c < channels; c += 4)
        column[c] = alpha;
    }
    // Then across, each output pixel from the pixels its taps name.
    uint32_t* line = out.data() + static_cast<size_t>(o) * outWidth;
    for (int i = 0; i < outWidth; ++i) {
      const int t = across.first[static_cast<size_t>(i)];
      line[i] = FilterAcross(column.data(), index.data() + t, across.weight.data() + t,
                             across.first[static_cast<size_t>(i) + 1] - t);
    }
  }
}

}  // namespace vark
