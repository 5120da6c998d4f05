// Figures of the Windows backend's loop, printed for the notes (speed and
// processor time are figures, never test assertions):
//
//   1. how late a 16 ms wait ends, with the high-resolution timer and with
//      the fallback: least, median, 90th percentile and most, in ms;
//   2. the ticks of a 1 ms timer in 2 s (the 16 ms floor allows 125; the
//      animations were tuned for about 64);
//   3. processor time while the loop idles 3 s with a window shown;
//   4. presenting an 800 × 574 back buffer whole, and a button's 250 × 41.
//
//   scripts/wine-run.sh build-windows/wine --start build-windows/tests/DesktopSession.exe
//   scripts/wine-run.sh build-windows/wine build-windows/bench/loop_figures.exe
//   scripts/wine-run.sh build-windows/wine --stop
//
// (bench/windows_figures.sh does the three.)
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/backend/windows/Win32Backend.h"
#include "platform/graphics/Bitmap.h"

namespace {

using vark::win32::Win32Backend;

double Milliseconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double ProcessorMilliseconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (value(kernel) + value(user)) / 10000.0;
}

void Lateness(bool highResolution) {
  Win32Backend backend(highResolution);
  std::vector<double> late;
  vark::Event e;
  for (int i = 0; i < 200; ++i) {
    const double start = Milliseconds();
    backend.WaitEvent(e, 16);
    late.push_back(Milliseconds() - start - 16);
  }
  std::sort(late.begin(), late.end());
  std::printf(
      "16 ms wait, %s timer: late by %.2f / %.2f / %.2f / %.2f ms (least/median/p90/most)\n",
      backend.HighResolutionTimer() ? "high-resolution" : "fallback", late.front(),
      late[late.size() / 2], late[late.size() * 9 / 10], late.back());
}

// A 1 ms timer as the loop ticks it: the backend's floor and its waits.
void Ticks(bool highResolution) {
  Win32Backend backend(highResolution);
  const uint64_t end = backend.Now() + 2000;
  uint64_t next = backend.Now();
  int ticks = 0;
  vark::Event e;
  while (backend.Now() < end) {
    const uint64_t now = backend.Now();
    if (now >= next) {
      ++ticks;
      next = now + static_cast<uint64_t>(backend.TimerFloor());
    }
    backend.WaitEvent(e, static_cast<int>(next > now ? next - now : 0));
  }
  std::printf("1 ms timer, %s timer: %d ticks in 2 s\n",
              highResolution ? "high-resolution" : "fallback", ticks);
}

// A shown window of the launcher's size.
vark::WindowHandle LauncherSizedWindow(Win32Backend& backend) {
  vark::WindowSpec params;
  params.bounds = Bounds(100, 100, 800, 574);
  const vark::WindowHandle window = backend.CreateWindow(params);
  backend.SetVisible(window, true);
  return window;
}

void Idle() {
  Win32Backend backend;
  LauncherSizedWindow(backend);
  vark::Event e;
  while (backend.WaitEvent(e, 100)) {
  }
  const double before = ProcessorMilliseconds();
  const double start = Milliseconds();
  while (Milliseconds() - start < 3000)
    backend.WaitEvent(e, 3000);
  std::printf("idle 3 s with a window: %.1f ms of processor time\n",
              ProcessorMilliseconds() - before);
}

void Presenting() {
  Win32Backend backend;
  const vark::WindowHandle window = LauncherSizedWindow(backend);
  TBitmap surface(800, 574);
  for (int y = 0; y < 574; ++y)
    std::fill(surface.ScanLine(y), surface.ScanLine(y) + 800, 0xFF212121u + (y & 0xFF));
  for (const TRect rect : {Rect(0, 0, 800, 574), Bounds(72, 472, 250, 41)}) {
    backend.Present(window, surface, std::span<const TRect>(&rect, 1));  // warm
    const int frames = 200;
    const double start = Milliseconds();
    for (int i = 0; i < frames; ++i)
      backend.Present(window, surface, std::span<const TRect>(&rect, 1));
    GdiFlush();
    std::printf("present %d x %d: %.3f ms a frame\n", rect.Width(), rect.Height(),
                (Milliseconds() - start) / frames);
  }
}

}  // namespace

int main() {
  Lateness(true);
  Lateness(false);
  Ticks(true);
  Ticks(false);
  Idle();
  Presenting();
  return 0;
}
