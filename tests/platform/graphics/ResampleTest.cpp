// The hand-written resampling against plain floating-point filters of the same
// mapping (nearest, linear, area average): fixed-point weights, the two passes
// and the vector code must agree with them to within rounding, for every edge
// mode and for axes that shrink, stretch or stay.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/graphics/Resample.h"
#include "platform/graphics/Scale.h"

namespace {

using vark::EdgeMode;
using vark::ResampleAxis;
using vark::ResampleKernel;

// Taps (source index, weight) of one output pixel, exactly.
std::vector<std::pair<int, double>> Taps(ResampleAxis axis, int i, int n, EdgeMode edge) {
  std::vector<std::pair<int, double>> taps;
  const double u = (i + 0.5) * axis.scale + axis.offset;
  auto add = [&](int j, double w) {
    if (j < 0 || j >= n) {
      if (edge == EdgeMode::Transparent) return;
      if (edge == EdgeMode::Clamp) {
        j = j < 0 ? 0 : n - 1;
      } else {
        j = ((j % (2 * n)) + 2 * n) % (2 * n);
        if (j >= n) j = 2 * n - 1 - j;
      }
    }
    taps.emplace_back(j, w);
  };
  if (axis.kernel == ResampleKernel::Nearest) {
    add(static_cast<int>(std::ceil(u)) - 1, 1);
  } else if (axis.kernel == ResampleKernel::Area && axis.scale > 1) {
    const double lo = u - axis.scale / 2, hi = u + axis.scale / 2;
    for (int j = static_cast<int>(std::floor(lo)); j < hi; ++j)
      add(j, (std::min(hi, j + 1.0) - std::max(lo, 1.0 * j)) / axis.scale);
  } else {
    const double p = u - 0.5;
    const int j = static_cast<int>(std::floor(p));
    add(j, 1 - (p - j));
    add(j + 1, p - j);
  }
  return taps;
}

struct Case {
  int srcW, srcH, outW, outH;
  ResampleAxis x, y;
};

TEST(Resample, MatchesExactFilters) {
  const int w = 41, h = 29;
  std::vector<uint32_t> src(static_cast<size_t>(w) * h);
  uint32_t seed = 7;
  for (uint32_t& p : src) {
    seed = seed * 1103515245u + 12345u;
    const uint32_t a = (seed >> 24) | 0x20;
    auto channel = [&](int shift) { return ((seed >> shift) & 0xFF) * a / 255; };
    p = a << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
  }
  const Case cases[] = {
      {w, h, 30, 21, {w / 30.0, 0}, {h / 21.0, 0}},  // the backdrop's 1.35
      {w, h, 8, 5, {w / 8.0, 0}, {h / 5.0, 0}},      // fivefold
      {w, h, 16, 58, {w / 16.0, 0.3}, {0.5, -0.2}},  // shrink across, stretch down
      {w, h, 41, 9, {1.0, 0}, {h / 9.0, 0}},         // one axis untouched
      {w, h, 20, 14, {2.2, -3.0}, {2.2, 1.5}},       // reaching past the edges
  };
  const ResampleKernel kernels[] = {ResampleKernel::Nearest, ResampleKernel::Linear,
                                    ResampleKernel::Area};
  for (ResampleKernel kernel : kernels) {
    for (EdgeMode edge : {EdgeMode::Clamp, EdgeMode::Transparent, EdgeMode::TileFlip}) {
      for (Case c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "kernel " << static_cast<int>(kernel) << ", edge " << static_cast<int>(edge)
                     << ", " << c.outW << "x" << c.outH);
        c.x.kernel = c.y.kernel = kernel;
        std::vector<uint32_t> out(static_cast<size_t>(c.outW) * c.outH, 0xDEADBEEF);
        vark::Resample({src.data(), w, h, w, false}, c.x, c.y, edge, c.outW, c.outH, out);
        int worst = 0;
        for (int oy = 0; oy < c.outH; ++oy) {
          for (int ox = 0; ox < c.outW; ++ox) {
            double sum[4] = {0, 0, 0, 0};
            for (auto [j, wy] : Taps(c.y, oy, h, edge))
              for (auto [i, wx] : Taps(c.x, ox, w, edge))
                for (int k = 0; k < 4; ++k)
                  sum[k] += wx * wy * ((src[static_cast<size_t>(j) * w + i] >> (8 * k)) & 0xFF);
            const uint32_t got = out[static_cast<size_t>(oy) * c.outW + ox];
            for (int k = 0; k < 4; ++k)
              worst = std::max(worst, std::abs(static_cast<int>((got >> (8 * k)) & 0xFF) -
                                               static_cast<int>(std::lround(sum[k]))));
            EXPECT_LE((got >> 16) & 0xFF, got >> 24) << "premultiplied at " << ox << "," << oy;
          }
        }
        EXPECT_LE(worst, 1);
      }
    }
  }
}

TEST(Resample, AnOpaqueSourceIgnoresItsAlphaBytes) {
  // Alpha bytes of 0 in an opaque picture: shrunk, it is still opaque inside
  // and fades only where transparent edges are averaged in.
  std::vector<uint32_t> src(16 * 16, 0x00C08040);
  std::vector<uint32_t> out(4 * 4);
  vark::Resample({src.data(), 16, 16, 16, true}, {4, 0}, {4, 0}, EdgeMode::Clamp, 4, 4, out);
  for (uint32_t p : out)
    EXPECT_EQ(p, 0xFFC08040u);
  vark::Resample({src.data(), 16, 16, 16, true}, {4, -2}, {4, 0}, EdgeMode::Transparent, 4, 4, out);
  EXPECT_EQ(out[0] >> 24, 128u);  // half of its footprint lies left of the picture
  EXPECT_EQ(out[1], 0xFFC08040u);
}

TEST(Resample, AFootprintFarWiderThanThePictureCostsNoMore) {
  // A 4 x 4 flat picture seen through footprints of 20000 pixels, far off to
  // one side: the edge pixel repeated, the mirrored picture averaged, or
  // nothing at all, each without walking the 20000 pixels of every footprint.
  std::vector<uint32_t> src(16, 0xFF204060);
  std::vector<uint32_t> out(3 * 3);
  for (EdgeMode edge : {EdgeMode::Clamp, EdgeMode::TileFlip, EdgeMode::Transparent}) {
    SCOPED_TRACE(static_cast<int>(edge));
    vark::Resample({src.data(), 4, 4, 4, false}, {20000, -1e6}, {20000, 3e5}, edge, 3, 3, out);
    for (uint32_t p : out)
      EXPECT_EQ(p, edge == EdgeMode::Transparent ? 0u : 0xFF204060u);
  }
}

}  // namespace
