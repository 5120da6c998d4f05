#include "platform/graphics/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/graphics/Composite.h"
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

using AxisTaps = Resampler::AxisTaps;

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

// A coordinate brought near the source: beyond a step past the edge nothing
// changes any more, and a mirrored picture repeats every 2n pixels.
double Fold(double p, int n, EdgeMode edge) {
  if (edge == EdgeMode::TileFlip) return p - std::floor(p / (2.0 * n)) * 2.0 * n;
  return std::clamp(p, -2.0, n + 1.0);
}

// picksOnly: both axes are nearest, and only the picks are read.
AxisTaps MakeTaps(ResampleAxis axis, int n, int count, EdgeMode edge, bool picksOnly) {
  AxisTaps taps;
  if (picksOnly) {
    taps.pick.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      // A sample point on the border between two pixels takes the first.
      const double u = (i + 0.5) * axis.scale + axis.offset;
      taps.pick.push_back(MapIndex(static_cast<int>(std::ceil(Fold(u, n, edge))) - 1, n, edge));
    }
    return taps;
  }
  taps.first.reserve(static_cast<size_t>(count) + 1);
  std::vector<std::pair<int, double>> real;
  for (int i = 0; i < count; ++i) {
    const size_t begin = taps.index.size();
    taps.first.push_back(static_cast<int>(begin));
    real.clear();
    const double u = (i + 0.5) * axis.scale + axis.offset;
    if (axis.kernel == ResampleKernel::Nearest) {
      real.emplace_back(static_cast<int>(std::ceil(Fold(u, n, edge))) - 1, 1.0);
    } else if (axis.kernel == ResampleKernel::Area && axis.scale > 1.0) {
      AddFootprint(u - axis.scale / 2, u + axis.scale / 2, n, edge, real);
    } else {
      const double p = Fold(u - 0.5, n, edge);
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

// Output pixels of the two-by-two filter: pixel i from the source pixels
// left[i] and left[i] + 1 of two rows, weighted by wyTop and wyBottom (15-bit
// fractions) down and by weights[2i], weights[2i + 1] (14-bit fractions)
// across. orBits is set in every source pixel (an opaque source's alpha).
void FilterPairs(const uint32_t* top, const uint32_t* bottom, const int* left,
                 const int16_t* weights, int n, uint32_t wyTop, uint32_t wyBottom, uint32_t orBits,
                 uint32_t* out) {
  constexpr int kShift = kWeightBits + 7;
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i bits = _mm_set1_epi32(static_cast<int>(orBits));
  const __m128i down0 = _mm_set1_epi16(static_cast<int16_t>(wyTop));
  const __m128i down1 = _mm_set1_epi16(static_cast<int16_t>(wyBottom));
  const __m128i half = _mm_set1_epi32(1 << (kShift - 1));
  const auto load = [&](const uint32_t* row, int k0, int k1) {
    return _mm_or_si128(
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + k0)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + k1))),
        bits);
  };
  // Down: each channel as a byte times 256, times a 15-bit weight, keeps the
  // high half: the channel times 128 at most, with seven bits to spare.
  const auto down = [&](__m128i t, __m128i b) {
    return _mm_add_epi16(_mm_mulhi_epu16(t, down0), _mm_mulhi_epu16(b, down1));
  };
  // Across: the left and right pixel's channels side by side, weighted.
  const auto across = [&](__m128i v, __m128i w) {
    const __m128i sum = _mm_madd_epi16(_mm_unpacklo_epi16(v, _mm_srli_si128(v, 8)), w);
    return _mm_srai_epi32(_mm_add_epi32(sum, half), kShift);
  };
  for (; i + 2 <= n; i += 2) {
    const __m128i t = load(top, left[i], left[i + 1]);
    const __m128i b = load(bottom, left[i], left[i + 1]);
    const __m128i v0 = down(_mm_unpacklo_epi8(zero, t), _mm_unpacklo_epi8(zero, b));
    const __m128i v1 = down(_mm_unpackhi_epi8(zero, t), _mm_unpackhi_epi8(zero, b));
    const __m128i w = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(weights + 2 * i));
    const __m128i words = _mm_packs_epi32(across(v0, _mm_shuffle_epi32(w, 0x00)),
                                          across(v1, _mm_shuffle_epi32(w, 0x55)));
    __m128i* target = reinterpret_cast<__m128i*>(out + i);
    _mm_storel_epi64(target, _mm_packus_epi16(words, words));
  }
#endif
  for (; i < n; ++i) {
    uint32_t pixel = 0;
    for (int c = 0; c < 32; c += 8) {
      const auto channel = [&](const uint32_t* row, int j) {
        return static_cast<int64_t>(((row[j] | orBits) >> c) & 0xFF);
      };
      const int k = left[i];
      const int64_t l = channel(top, k) * wyTop + channel(bottom, k) * wyBottom;
      const int64_t r = channel(top, k + 1) * wyTop + channel(bottom, k + 1) * wyBottom;
      const int64_t sum = l * weights[2 * i] + r * weights[2 * i + 1];
      constexpr int kAll = kShift + 8;  // the vertical weights' 15 bits, not 7
      const int64_t v = (sum + (int64_t{1} << (kAll - 1))) >> kAll;
      pixel |= static_cast<uint32_t>(std::min<int64_t>(v, 255)) << c;
    }
    out[i] = pixel;
  }
}

}  // namespace

Resampler::Resampler(const ResampleSource& src, ResampleAxis x, ResampleAxis y, EdgeMode edge,
                     int outWidth, int outHeight)
    : src_(src), edge_(edge), outWidth_(std::max(0, outWidth)) {
  if (outWidth <= 0 || outHeight <= 0 || src.width <= 0 || src.height <= 0) return;
  const bool gather = x.kernel == ResampleKernel::Nearest && y.kernel == ResampleKernel::Nearest;
  across_ = MakeTaps(x, src.width, outWidth, edge, gather);
  down_ = MakeTaps(y, src.height, outHeight, edge, gather);
  if (gather) {
    mode_ = Mode::Gather;
    consecutive_ = across_.pick.front() >= 0;
    for (size_t i = 1; i < across_.pick.size() && consecutive_; ++i)
      consecutive_ = across_.pick[i] == across_.pick[i - 1] + 1;
    return;
  }
  if (across_.index.empty()) return;
  if (src.width >= 2 && MakePairs()) {
    mode_ = Mode::Pairs;
    return;
  }
  mode_ = Mode::Separable;
  // Only the columns the horizontal taps read are filtered down.
  const auto [low, high] = std::minmax_element(across_.index.begin(), across_.index.end());
  firstColumn_ = *low;
  const size_t channels = static_cast<size_t>(*high - firstColumn_ + 1) * 4;
  columnIndex_ = across_.index;
  for (int& i : columnIndex_)
    i -= firstColumn_;
  sums_.resize(channels);
  column_.resize(channels);
}

bool Resampler::MakePairs() {
  const auto two = [](const AxisTaps& taps, size_t i) {
    return taps.first[i + 1] - taps.first[i] <= 2;
  };
  for (size_t o = 0; o + 1 < down_.first.size(); ++o) {
    if (!two(down_, o)) return false;
  }
  // A pixel with no taps reads the first two pixels with no weight.
  pairLeft_.assign(static_cast<size_t>(outWidth_), 0);
  pairWeights_.assign(2 * static_cast<size_t>(outWidth_), 0);
  for (size_t i = 0; i < static_cast<size_t>(outWidth_); ++i) {
    if (!two(across_, i)) return false;
    const auto t = static_cast<size_t>(across_.first[i]);
    if (across_.first[i + 1] == across_.first[i]) continue;  // nothing: transparent
    int k0 = across_.index[t], k1 = across_.index[t + 1];
    int16_t w0 = across_.weight[t], w1 = across_.weight[t + 1];
    if (k1 == k0) {  // one pixel (an exact sample, or both taps on one edge pixel)
      w0 = static_cast<int16_t>(w0 + w1);
      w1 = 0;
      k1 = k0 + 1;
    }
    if (k1 < k0) {
      std::swap(k0, k1);
      std::swap(w0, w1);
    }
    if (k1 >= src_.width) {  // the right-hand pixel weightless: read from the one before
      k1 = k0;
      k0 -= 1;
      w1 = w0;
      w0 = 0;
    }
    if (k1 != k0 + 1 || k0 < 0) return false;
    pairLeft_[i] = k0;
    pairWeights_[2 * i] = w0;
    pairWeights_[2 * i + 1] = w1;
  }
  return true;
}

const uint32_t* Resampler::DirectRow(int o) const {
  if (!consecutive_) return nullptr;
  const int k = down_.pick[static_cast<size_t>(o)];
  if (k < 0) return nullptr;
  return src_.pixels + static_cast<ptrdiff_t>(k) * src_.stride + across_.pick.front();
}

void Resampler::NearestRow(int o, uint32_t* out) const {
  const int k = down_.pick[static_cast<size_t>(o)];
  if (k < 0) {
    std::fill_n(out, outWidth_, 0u);
    return;
  }
  const uint32_t* row = src_.pixels + static_cast<ptrdiff_t>(k) * src_.stride;
  const uint32_t alpha = src_.opaque ? 0xFF000000u : 0u;
  for (int i = 0; i < outWidth_; ++i) {
    const int j = across_.pick[static_cast<size_t>(i)];
    out[i] = j < 0 ? 0u : row[j] | alpha;
  }
}

void Resampler::PairRow(int o, uint32_t* out) const {
  const auto t = static_cast<size_t>(down_.first[static_cast<size_t>(o)]);
  if (down_.first[static_cast<size_t>(o) + 1] == down_.first[static_cast<size_t>(o)]) {
    std::fill_n(out, outWidth_, 0u);
    return;
  }
  const uint32_t* top = src_.pixels + static_cast<ptrdiff_t>(down_.index[t]) * src_.stride;
  const uint32_t* bottom = src_.pixels + static_cast<ptrdiff_t>(down_.index[t + 1]) * src_.stride;
  // 15-bit vertical weights: the whole pixel is 32768.
  const auto wyTop = static_cast<uint32_t>(down_.weight[t]) * 2;
  const auto wyBottom = static_cast<uint32_t>(down_.weight[t + 1]) * 2;
  FilterPairs(top, bottom, pairLeft_.data(), pairWeights_.data(), outWidth_, wyTop, wyBottom,
              src_.opaque ? 0xFF000000u : 0u, out);
}

void Resampler::CompositeRow(int o, uint32_t* dst, uint8_t opacity) {
  // An opaque source with no transparent edge to fade into covers what lies
  // under it at full opacity: filtered straight into the destination.
  if (src_.opaque && opacity == 255 && edge_ != EdgeMode::Transparent) {
    Row(o, dst);
    return;
  }
  if (const uint32_t* direct = DirectRow(o)) {
    vark::CompositeRow(dst, direct, outWidth_, opacity, src_.opaque ? 0xFF000000u : 0u);
    return;
  }
  row_.resize(static_cast<size_t>(outWidth_));
  Row(o, row_.data());
  vark::CompositeRow(dst, row_.data(), outWidth_, opacity, 0);
}

void Resampler::Row(int o, uint32_t* out) {
  switch (mode_) {
    case Mode::Empty:
      std::fill_n(out, outWidth_, 0u);
      return;
    case Mode::Gather:
      NearestRow(o, out);
      return;
    case Mode::Pairs:
      PairRow(o, out);
      return;
    case Mode::Separable:
      break;
  }
  const auto uo = static_cast<size_t>(o);
  if (down_.first[uo] == down_.first[uo + 1]) {
    std::fill_n(out, outWidth_, 0u);
    return;
  }
  // Down first, whole rows at a time: the source rows of this output row,
  // combined.
  const size_t channels = column_.size();
  const auto row = [&](int t) {
    return reinterpret_cast<const uint8_t*>(
        src_.pixels + static_cast<ptrdiff_t>(down_.index[static_cast<size_t>(t)]) * src_.stride +
        firstColumn_);
  };
  const int firstTap = down_.first[uo];
  const int endTap = down_.first[uo + 1];
  int32_t weightSum = 0;
  for (int t = firstTap; t < endTap; ++t)
    weightSum += down_.weight[static_cast<size_t>(t)];
  // An opaque source's alpha is the weights' share of 255, whatever its alpha
  // bytes hold.
  const int alpha = src_.opaque ? (255 * weightSum + kHalf) >> kWeightBits : -1;
  std::fill(sums_.begin(), sums_.end(), 0);
  for (int t = firstTap; t < endTap; t += 2) {
    AddRowPair(row(t), row(t + 1), down_.weight[static_cast<size_t>(t)],
               down_.weight[static_cast<size_t>(t) + 1], sums_.data(), channels);
  }
  for (size_t c = 0; c < channels; ++c)
    column_[c] = static_cast<int16_t>((sums_[c] + kHalf) >> kWeightBits);
  if (alpha >= 0) {
    for (size_t c = 3; c < channels; c += 4)
      column_[c] = static_cast<int16_t>(alpha);
  }
  // Then across, each output pixel from the pixels its taps name.
  const int* first = across_.first.data();
  for (int i = 0; i < outWidth_; ++i) {
    out[i] = FilterAcross(column_.data(), columnIndex_.data() + first[i],
                          across_.weight.data() + first[i], first[i + 1] - first[i]);
  }
}

void Resample(const ResampleSource& src, ResampleAxis x, ResampleAxis y, EdgeMode edge,
              int outWidth, int outHeight, std::span<uint32_t> out) {
  if (outWidth <= 0 || outHeight <= 0) return;
  if (out.size() < static_cast<size_t>(outWidth) * outHeight) return;
  Resampler resampler(src, x, y, edge, outWidth, outHeight);
  for (int o = 0; o < outHeight; ++o)
    resampler.Row(o, out.data() + static_cast<size_t>(o) * outWidth);
}

}  // namespace vark
