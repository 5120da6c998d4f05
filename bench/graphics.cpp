// The rasteriser on the work the controls give it on every paint: a window's
// worth of fill (against memset of the same bytes, the floor), the corner
// outlines of a button, a gradient face, a full-window copy and the rounded
// copy of the progress bar.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "support/Vark.Graphics.h"

namespace {

constexpr int kW = 794;
constexpr int kH = 571;

void BM_Memset_794x571(benchmark::State& state) {
  std::vector<Pixel> px(size_t(kW) * kH);
  for (auto _ : state) {
    std::memset(px.data(), 0x21, px.size() * sizeof(Pixel));
    benchmark::DoNotOptimize(px.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_Memset_794x571);

void BM_FillRect_794x571(benchmark::State& state) {
  TBitmap b(kW, kH);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(0x00212121);
  for (auto _ : state) {
    c.FillRect(Rect(0, 0, kW, kH));
    benchmark::DoNotOptimize(b.Bits());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_FillRect_794x571);

// A button's rounded corners: outlines of corner size 0..25 on 250 × 41.
void BM_ButtonCorners_250x41(benchmark::State& state) {
  TBitmap b(250, 41);
  TCanvas& c = b.Canvas();
  c.Brush().SetStyle(bsClear);
  for (auto _ : state) {
    for (int i = 0; i <= 25; ++i)
      c.RoundRect(0, 0, 250, 41, i, i);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ButtonCorners_250x41);

void BM_GradHorizontal_250x41(benchmark::State& state) {
  TBitmap b(250, 41);
  for (auto _ : state) {
    GradHorizontal(b.Canvas(), Rect(0, 0, 250, 41), 0x000080FF, 0x0000C0FF);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GradHorizontal_250x41);

void BM_CopyRect_794x571(benchmark::State& state) {
  TBitmap src(kW, kH), dst(kW, kH);
  for (auto _ : state) {
    dst.Canvas().CopyRect(Rect(0, 0, kW, kH), src.Canvas(), Rect(0, 0, kW, kH));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_CopyRect_794x571);

// The progress bar's transparent corners: 361 strips per half at 250 × 9.
void BM_CopyRoundRect_250x9(benchmark::State& state) {
  TBitmap src(250, 9), dst(250, 9);
  for (auto _ : state) {
    CopyRoundRect(src.Canvas(), RoundRect(Rect(0, 0, 250, 9), 16, 16), dst.Canvas(),
                  Rect(0, 0, 250, 9), 1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyRoundRect_250x9);

}  // namespace

BENCHMARK_MAIN();
