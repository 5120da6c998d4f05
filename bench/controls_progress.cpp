// One paint of the launcher's progress bar (250 × 9, range 0..100 at 50, the
// fade band 100 pixels either side moving 2 per paint, square corners copied
// through the rounded-shape copy, the accent colour, the border synced with the
// form), straight into its window's back buffer as a repaint tick does it; and
// the same bar with the features the launcher leaves off (caption, rounded
// corners, a custom resolution).
//
// Every allocation of the program goes through the counting operator new
// below: the paint must allocate nothing once its bitmaps exist, and the
// benchmark fails if it does.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "controls/Vark.Progress.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

namespace {

std::atomic<uint64_t> g_allocations{0};

}  // namespace

// Kept out of line: inlined into their callers, the compiler would see new
// paired with free and warn.
[[gnu::noinline]] void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void* operator new[](std::size_t size) {
  return operator new(size);
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
  std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p) noexcept {
  std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

struct Scene {
  std::unique_ptr<TForm> form;
  CProgress* bar = nullptr;
};

// The launcher's bar on a shown 400 × 100 form, at 50 %.
Scene LauncherScene() {
  vark::HeadlessBackend& ui = vark::HeadlessBackend::Install();
  Scene s;
  s.form = MakeForm<TForm>(nullptr);
  s.form->SetBorderStyle(bsNone);
  s.form->SetClientWidth(400);
  s.form->SetClientHeight(100);
  s.form->SetColor(0x00212121);
  s.form->Show();
  CProgress& bar = s.form->Make<CProgress>();
  bar.SetBounds(72, 40, 250, 9);
  bar.SetParent(s.form.get());
  bar.SetTrueTransparency(true);
  bar.SetAccentColor(acAccentAdjust);
  bar.ProgressbarOptions().SetBorderRadius(0);
  bar.Colors().SetBackground(0x00212121);
  bar.Colors().SetFormSyncedColor(true);
  bar.AnimateProgress().SetFadeSizing(100);
  bar.AnimateProgress().SetAnimateIncSpeed(2);
  bar.AnimateProgress().SetAnimationSelector(atyFade);
  bar.SetValue(50, true);
  ui.surface(*s.form);
  s.bar = &bar;
  return s;
}

void RunPaints(benchmark::State& state, CProgress& bar) {
  for (int i = 0; i < 300; ++i)
    bar.Paint();  // a full lap of the band, bitmaps made
  const uint64_t before = g_allocations.load();
  for (auto _ : state) {
    bar.Paint();
    benchmark::ClobberMemory();
  }
  const uint64_t allocations = g_allocations.load() - before;
  state.counters["allocs_per_paint"] = benchmark::Counter(static_cast<double>(allocations) /
                                                          static_cast<double>(state.iterations()));
  if (allocations != 0 && state.range(0) == 0) {
    state.SkipWithError("the launcher's bar allocated while painting");
  }
}

void BM_LauncherBarPaint(benchmark::State& state) {
  Scene s = LauncherScene();
  RunPaints(state, *s.bar);
}

// Rounded corners (16) with the parent showing through them.
void BM_RoundedBarPaint(benchmark::State& state) {
  Scene s = LauncherScene();
  s.bar->ProgressbarOptions().SetBorderRadius(16);
  RunPaints(state, *s.bar);
}

// The caption "Loading 50%" over the bar, cut to its width.
void BM_CaptionBarPaint(benchmark::State& state) {
  Scene s = LauncherScene();
  s.bar->SetBounds(72, 40, 250, 20);
  s.bar->TextOverlay().SetEnableSText(true);
  RunPaints(state, *s.bar);
}

// Composed at 50 × 5 and scaled up to 250 × 9.
void BM_CustomResolutionBarPaint(benchmark::State& state) {
  Scene s = LauncherScene();
  s.bar->AnimateProgress().SetCustomRezolution(true);
  s.bar->AnimateProgress().SetCustomRezX(50);
  s.bar->AnimateProgress().SetCustomRezY(5);
  RunPaints(state, *s.bar);
}

}  // namespace

// Argument 0: allocations are an error; 1: they are only reported.
BENCHMARK(BM_LauncherBarPaint)->Arg(0)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RoundedBarPaint)->Arg(1);
BENCHMARK(BM_CaptionBarPaint)->Arg(1);
BENCHMARK(BM_CustomResolutionBarPaint)->Arg(1);

BENCHMARK_MAIN();
