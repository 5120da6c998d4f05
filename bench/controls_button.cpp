// CButton painting: one paint of the launcher's launch button (250 × 41, a
// 4-pixel border, "Segoe UI Semibold" at 16 pixels, the arrow glyph, the
// gradient, both off-screen bitmaps and the copy to the window), the same
// button with rounded corners and an underline, and a whole fade of ten
// paints, once painted straight and once driven by the fade timer through the
// event loop.
//
// Every benchmark reports the heap allocations per paint: operator new is
// replaced in this program and counts while a benchmark's loop runs.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "controls/Vark.Button.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "tests/controls/LauncherButtons.h"

// The replaced operators pair malloc with free; the compiler, seeing the
// replaced operator delete inlined where a new expression's memory is freed,
// takes it for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

// The launch button on a shown window of the launcher's colour.
struct LaunchButton {
  vark::HeadlessBackend& ui = vark::HeadlessBackend::Install();
  std::unique_ptr<TForm> form;
  CButton* button = nullptr;

  explicit LaunchButton(bool corners) {
    form = MakeForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetClientWidth(400);
    form->SetClientHeight(560);
    form->SetColor(vark::test::kLauncherButtonColor);
    form->Show();
    const vark::test::LauncherButton& params = vark::test::kLauncherButtons[0];
    button = &form->Make<CButton>();
    button->SetParent(form.get());
    vark::test::ApplyLauncherLook(*button, params);
    if (corners) {
      button->SetTransparent(true);
      button->UnderLine().SetUline(true);
      button->UnderLine().SetULRound(true);
    }
    ui.advance(50);
    for (int i = 0; i < 3; ++i)  // warm the caches
      button->Paint();
  }
};

void ReportAllocations(benchmark::State& state, long before, long paints) {
  const long counted = allocations.load() - before;
  state.counters["allocs_per_paint"] =
      benchmark::Counter(static_cast<double>(counted) / static_cast<double>(paints));
}

void BM_PaintLaunchButton(benchmark::State& state) {
  LaunchButton launch(state.range(0) != 0);
  const long before = allocations.load();
  for (auto _ : state)
    launch.button->Paint();
  ReportAllocations(state, before, state.iterations());
}
BENCHMARK(BM_PaintLaunchButton)->Arg(0)->ArgName("corners")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintLaunchButton)->Arg(1)->ArgName("corners")->Unit(benchmark::kMicrosecond);

// Ten paints along a fade from normal to hovered, as the fade timer makes them.
void BM_FadeTenPaints(benchmark::State& state) {
  LaunchButton launch(false);
  CButton& b = *launch.button;
  b.SetState(mbsEnter);
  const long before = allocations.load();
  for (auto _ : state) {
    for (int step = 1; step <= 10; ++step) {
      b.Animations().SetTimeProg(step);
      b.Paint();
    }
  }
  ReportAllocations(state, before, state.iterations() * 10);
}
BENCHMARK(BM_FadeTenPaints)->Unit(benchmark::kMicrosecond);

// A whole fade on the virtual clock: the state change, then the timer's ten
// ticks through the event loop, which also presents each frame.
void BM_FadeThroughTheEventLoop(benchmark::State& state) {
  LaunchButton launch(false);
  CButton& b = *launch.button;
  bool hovered = false;
  const long before = allocations.load();
  for (auto _ : state) {
    hovered = !hovered;
    b.SetState(hovered ? mbsEnter : mbsLeave);
    for (int tick = 0; tick < 11; ++tick)
      launch.ui.advance(1);
  }
  ReportAllocations(state, before, state.iterations() * 11);
}
BENCHMARK(BM_FadeThroughTheEventLoop)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
