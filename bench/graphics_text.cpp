// Text and pictures: a warm TextOut, the backdrop PNG drawn scaled, the
// background JPEG decoded for display (the pictures are the window's own,
// drawn by the artwork generator at build time, plus a denser photograph made
// here), and the cold start of the font engine
// (every font and fallback glyph the window uses), both in a fresh process
// and after dropping the engine's caches.
//
// Run with --benchmark_filter=... as usual; the program also serves as the
// fresh process of the cold-start benchmark (--cold-fonts-child).
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <span>
#include <string>
#include <vector>

#include "app/Artwork.h"
#include "bench/WindowTexts.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/PngImage.h"
#include "platform/graphics/Scale.h"
#include "platform/graphics/Text.h"

namespace {

using vark::bench::ResolveWindowFonts;

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void BM_TextOutLaunch16Warm(benchmark::State& state) {
  TBitmap bmp(250, 41);
  TCanvas& canvas = bmp.Canvas();
  canvas.Font().SetName("Segoe UI Semibold");
  canvas.Font().SetHeight(-16);
  canvas.Font().SetColor(clWhite);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(90, 10, "Launch");  // warm the caches
  for (auto _ : state) {
    canvas.TextOut(90, 10, "Launch");
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TextOutLaunch16Warm);

// The backdrop: the window's 400 x 600 PNG with alpha (drawn by the artwork
// generator at build time), premultiplied, drawn into 297 x 425 with the
// bilinear filter and the half-pixel offset, as the picture helper does.
struct Backdrop {
  TBitmap picture;
  TBitmap target{794, 571};
  Backdrop() {
    TPngImage png;
    png.LoadFromMemory(BackdropPng());
    png.AssignTo(picture);
    target.SetPixelFormat(pf24bit);
  }
};

void DrawBackdrop(benchmark::State& state, vark::ScaleFilter filter) {
  Backdrop b;
  for (auto _ : state) {
    vark::DrawScaled(b.target, Rect(0, 0, 794, 571), Bounds(464, 64, 297, 425), b.picture,
                     Rect(0, 0, 400, 600), 255, filter, true, vark::EdgeMode::Clamp);
    benchmark::ClobberMemory();
  }
}
void BM_DrawScaledPng400x600To297x425Bilinear(benchmark::State& state) {
  DrawBackdrop(state, vark::ScaleFilter::Bilinear);
}
void BM_DrawScaledPng400x600To297x425HighQuality(benchmark::State& state) {
  DrawBackdrop(state, vark::ScaleFilter::HighQuality);
}
BENCHMARK(BM_DrawScaledPng400x600To297x425Bilinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawScaledPng400x600To297x425HighQuality)->Unit(benchmark::kMicrosecond);

// An edition picture at its own size, half faded (a button's fade), and the
// half-size decode of the background stretched over the whole window.
void BM_DrawScaledPng64x64Unscaled50Percent(benchmark::State& state) {
  TPngImage png;
  png.LoadFromMemory(EditionPng(2));
  TBitmap picture;
  png.AssignTo(picture);
  TBitmap target(250, 41);
  for (auto _ : state) {
    vark::DrawScaled(target, Rect(0, 0, 250, 41), Bounds(8, -11, 64, 64), picture,
                     Rect(0, 0, 64, 64), 128, vark::ScaleFilter::Bilinear, true,
                     vark::EdgeMode::Transparent);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawScaledPng64x64Unscaled50Percent)->Unit(benchmark::kMicrosecond);

void BM_DrawScaledJpeg1250x834To794x577Bilinear(benchmark::State& state) {
  TBitmap half;
  vark::DecodeJpeg(BackgroundJpeg(), 2, half);
  TBitmap target(794, 571);
  for (auto _ : state) {
    vark::DrawScaled(target, Rect(0, 0, 794, 571), Rect(0, -3, 794, 577), half,
                     Rect(0, 0, half.Width(), half.Height()), 255, vark::ScaleFilter::Bilinear,
                     true, vark::EdgeMode::Clamp);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawScaledJpeg1250x834To794x577Bilinear)->Unit(benchmark::kMicrosecond);

// A photograph-like 2500 x 1667 JPEG far denser than the window's own
// background: smooth light, a horizon and grain in every pixel, about 1.2 MB.
// It shows how decoding scales with the entropy-coded data.
std::vector<uint8_t> DensePhotoJpeg() {
  TBitmap bmp(2500, 1667);
  uint32_t seed = 12345;
  for (int y = 0; y < 1667; ++y) {
    Pixel* row = bmp.ScanLine(y);
    for (int x = 0; x < 2500; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>((seed >> 24) % 25) - 12;
      const double hill = 900 + 80 * std::sin(x * 0.003) + 30 * std::sin(x * 0.021);
      int r, g, b;
      if (y < hill) {
        r = 90 + y / 12;
        g = 140 + y / 14;
        b = 230 - y / 20;
      } else {
        r = 60 + static_cast<int>(40 * std::sin(x * 0.05) * std::sin(y * 0.07));
        g = 110 + static_cast<int>(30 * std::sin(x * 0.013 + y * 0.02));
        b = 50;
      }
      auto clamp = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
      row[x] = 0xFF000000u | clamp(r + grain) << 16 | clamp(g + grain) << 8 | clamp(b + grain);
    }
  }
  return vark::EncodeJpeg(bmp, 88);
}

// Load (header and structure walk) and decode for display at 794 x 580: a
// half-size DCT-scaled decode. Argument 0: the window's background; 1: the
// dense photograph.
void BM_JpegDecodeForDisplay2500x1667To794x580(benchmark::State& state) {
  static const std::vector<uint8_t> dense = DensePhotoJpeg();
  const std::span<const uint8_t> data =
      state.range(0) == 0 ? BackgroundJpeg() : std::span<const uint8_t>(dense);
  for (auto _ : state) {
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(data);
    benchmark::DoNotOptimize(jpeg.DecodedFor(794, 580).Width());
  }
  state.counters["file_kB"] = static_cast<double>(data.size()) / 1024;
}
BENCHMARK(BM_JpegDecodeForDisplay2500x1667To794x580)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The backdrop PNG loaded and converted to a bitmap, as a picture does
// before its first draw.
void BM_PngLoadBackdrop400x600(benchmark::State& state) {
  for (auto _ : state) {
    TPngImage png;
    png.LoadFromMemory(BackdropPng());
    TBitmap bitmap;
    png.AssignTo(bitmap);
    benchmark::DoNotOptimize(bitmap.Width());
  }
}
BENCHMARK(BM_PngLoadBackdrop400x600)->Unit(benchmark::kMicrosecond);

// The window's background decoded and drawn as its background picture.
void BM_JpegDrawBackground(benchmark::State& state) {
  TBitmap target(794, 571);
  target.SetPixelFormat(pf24bit);
  for (auto _ : state) {
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(BackgroundJpeg());
    jpeg.Draw(target.Canvas(), Rect(0, -3, 794, 577));
  }
}
BENCHMARK(BM_JpegDrawBackground)->Unit(benchmark::kMillisecond);

// A fresh process per iteration: it times itself from its first text call
// to the last font resolved and reports the time on its standard output (the
// iteration time is the wall-clock time; child_cpu_ms the processor time).
void BM_FontsColdStartFreshProcess(benchmark::State& state) {
  double cpu = 0;
  int runs = 0;
  for (auto _ : state) {
    int fds[2];
    if (pipe(fds) != 0) {
      state.SkipWithError("pipe failed");
      return;
    }
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(fds[1], STDOUT_FILENO);
      close(fds[0]);
      execl("/proc/self/exe", "bench", "--cold-fonts-child", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    char buffer[64] = {};
    const ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the child failed");
      return;
    }
    char* rest = nullptr;
    const double wall = std::strtod(buffer, &rest);
    cpu += std::strtod(rest, nullptr);
    ++runs;
    state.SetIterationTime(wall / 1000.0);
  }
  state.counters["child_cpu_ms"] = runs > 0 ? cpu / runs : 0.0;
}
BENCHMARK(BM_FontsColdStartFreshProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

// In this process, after dropping the engine (fontconfig's configuration,
// every face, run and glyph); the files stay in the system's page cache.
void BM_FontsColdStartDropCaches(benchmark::State& state) {
  for (auto _ : state) {
    vark::text::DropCaches();
    benchmark::DoNotOptimize(ResolveWindowFonts());
  }
}
BENCHMARK(BM_FontsColdStartDropCaches)->Unit(benchmark::kMillisecond);

double CpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Prints the wall-clock and the processor time of the cold start: on a busy
// machine the second shows the work without the waiting for a processor.
int ColdFontsChild() {
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = CpuMilliseconds();
  const int total = ResolveWindowFonts();
  const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
  std::printf("%.4f %.4f\n", ms, CpuMilliseconds() - cpuStart);
  return total > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--cold-fonts-child") == 0) return ColdFontsChild();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
