// The Windows side of bench/graphics_text.cpp: the same cases under the same
// names, timed by a small loop of its own (there is no Google Benchmark for
// the target), to run under Wine beside the native figures:
//
//   scripts/wine-run.sh build-windows/wine build-windows/bench/bench_graphics_text.exe
//
// Each case runs in batches of growing size until a batch takes 0.2 s, five
// times over; the median time per iteration is printed. The program also
// serves as the fresh process of the cold-start case (--cold-fonts-child).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/Artwork.h"
#include "bench/WindowTexts.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PngImage.h"
#include "platform/graphics/Scale.h"
#include "platform/graphics/Text.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The median over five batches of the time one call of work takes, seconds.
double TimePerCall(const std::function<void()>& work) {
  work();  // warm
  std::vector<double> samples;
  for (int repeat = 0; repeat < 5; ++repeat) {
    for (long n = 1;; n *= 2) {
      const Clock::time_point start = Clock::now();
      for (long i = 0; i < n; ++i)
        work();
      const double elapsed = Seconds(Clock::now() - start);
      if (elapsed >= 0.2 || n >= (1L << 24)) {
        samples.push_back(elapsed / static_cast<double>(n));
        break;
      }
    }
  }
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

void Report(const char* name, double seconds) {
  if (seconds < 1e-3) {
    std::printf("%-48s %10.2f us\n", name, seconds * 1e6);
  } else {
    std::printf("%-48s %10.2f ms\n", name, seconds * 1e3);
  }
  std::fflush(stdout);
}

using vark::bench::ResolveWindowFonts;

volatile int sink = 0;

void Text() {
  TBitmap bmp(250, 41);
  TCanvas& canvas = bmp.Canvas();
  canvas.Font().SetName("Segoe UI Semibold");
  canvas.Font().SetHeight(-16);
  canvas.Font().SetColor(clWhite);
  canvas.Brush().SetStyle(bsClear);
  Report("BM_TextOutLaunch16Warm", TimePerCall([&] { canvas.TextOut(90, 10, "Launch"); }));
  Report("BM_TextWidthLaunch16Warm",
         TimePerCall([&] { sink = vark::text::Measure(canvas.Font(), "Launch").width; }));
  Report("BM_FontsColdStartDropCaches", TimePerCall([] {
           vark::text::DropCaches();
           sink = ResolveWindowFonts();
         }));
}

void DrawBackdrop(const char* name, vark::ScaleFilter filter) {
  TPngImage png;
  png.LoadFromMemory(BackdropPng());
  TBitmap picture;
  png.AssignTo(picture);
  TBitmap target(794, 571);
  target.SetPixelFormat(pf24bit);
  Report(name, TimePerCall([&] {
           vark::DrawScaled(target, Rect(0, 0, 794, 571), Bounds(464, 64, 297, 425), picture,
                            Rect(0, 0, 400, 600), 255, filter, true, vark::EdgeMode::Clamp);
         }));
}

void Scaling() {
  DrawBackdrop("BM_DrawScaledPng400x600To297x425Bilinear", vark::ScaleFilter::Bilinear);
  DrawBackdrop("BM_DrawScaledPng400x600To297x425HighQuality", vark::ScaleFilter::HighQuality);
  TPngImage png;
  png.LoadFromMemory(EditionPng(2));
  TBitmap picture;
  png.AssignTo(picture);
  TBitmap button(250, 41);
  Report("BM_DrawScaledPng64x64Unscaled50Percent", TimePerCall([&] {
           vark::DrawScaled(button, Rect(0, 0, 250, 41), Bounds(8, -11, 64, 64), picture,
                            Rect(0, 0, 64, 64), 128, vark::ScaleFilter::Bilinear, true,
                            vark::EdgeMode::Transparent);
         }));
  TBitmap half;
  vark::DecodeJpeg(BackgroundJpeg(), 2, half);
  TBitmap window(794, 571);
  Report("BM_DrawScaledJpeg1250x834To794x577Bilinear", TimePerCall([&] {
           vark::DrawScaled(window, Rect(0, 0, 794, 571), Rect(0, -3, 794, 577), half,
                            Rect(0, 0, half.Width(), half.Height()), 255,
                            vark::ScaleFilter::Bilinear, true, vark::EdgeMode::Clamp);
         }));
}

void Pictures() {
  Report("BM_JpegDecodeForDisplay2500x1667To794x580/0", TimePerCall([] {
           TJPEGImage jpeg;
           jpeg.LoadFromMemory(BackgroundJpeg());
           sink = jpeg.DecodedFor(794, 580).Width();
         }));
  TBitmap target(794, 571);
  target.SetPixelFormat(pf24bit);
  Report("BM_JpegDrawBackground", TimePerCall([&] {
           TJPEGImage jpeg;
           jpeg.LoadFromMemory(BackgroundJpeg());
           jpeg.Draw(target.Canvas(), Rect(0, -3, 794, 577));
         }));
  Report("BM_PngLoadBackdrop400x600", TimePerCall([] {
           TPngImage png;
           png.LoadFromMemory(BackdropPng());
           TBitmap bitmap;
           png.AssignTo(bitmap);
           sink = bitmap.Width();
         }));
}

// A fresh process resolving every font of the window, timing itself from
// its first text call (Wine's font system starts there).
int ColdFontsChild() {
  const Clock::time_point start = Clock::now();
  const int total = ResolveWindowFonts();
  std::printf("%.4f\n", Seconds(Clock::now() - start) * 1e3);
  return total > 0 ? 0 : 1;
}

void ColdFontsFreshProcess(const char* self) {
  std::vector<double> ms;
  const std::string command = std::string("\"") + self + "\" --cold-fonts-child";
  for (int i = 0; i < 9; ++i) {
    FILE* child = _popen(command.c_str(), "r");
    if (child == nullptr) return;
    double value = 0;
    const bool read = std::fscanf(child, "%lf", &value) == 1;
    if (_pclose(child) == 0 && read) ms.push_back(value);
  }
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  Report("BM_FontsColdStartFreshProcess", ms[ms.size() / 2] / 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--cold-fonts-child") == 0) return ColdFontsChild();
  const std::string filter = argc > 1 ? argv[1] : "";
  const auto wanted = [&](const char* group) {
    return filter.empty() || filter.find(group) != std::string::npos;
  };
  if (wanted("text")) Text();
  if (wanted("text")) ColdFontsFreshProcess(argv[0]);
  if (wanted("scale")) Scaling();
  if (wanted("pictures")) Pictures();
  return 0;
}
