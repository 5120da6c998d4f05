// The launcher's main window in-process, on the headless backend: making it
// (every widget, the pictures, the start-up load), its first frame, a full
// repaint, one tick of each animation with the repaint it causes, one tick of
// the progress bar while it fills, and a scan tick while nothing changed. The
// heap in use after the first frame is reported beside the first frame's time.
// Whole-process figures (start to PNG, resident memory of the real program,
// idle and launch CPU) come from bench/launcher_figures.sh.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "app/ValdorLaunch.Store.h"
#include "app/ValdorLaunch.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Application.h"
#include "tests/common/TempProfile.h"

namespace {

// A profile of its own and the module state as at program start.
class Session {
 public:
  Session() : ui(vark::HeadlessBackend::Install()) {
    RestoreStartState();
    RestoreAnimationStartState();
    ui.setTimerFloor(16);  // as the real backend ticks
  }
  ~Session() {
    form.reset();
    vark::HeadlessBackend::Install();
    RestoreStartState();
  }
  TForm1& Open() {
    form = MakeForm<TForm1>(nullptr);
    form->Show();
    ui.surface(*form);
    return *form;
  }

  vark::testing::TempProfile profile;
  vark::HeadlessBackend& ui;
  std::unique_ptr<TForm1> form;
};

void BM_MakeWindow(benchmark::State& state) {
  Session s;
  for (auto _ : state) {
    auto form = MakeForm<TForm1>(nullptr);
    benchmark::DoNotOptimize(form.get());
  }
}
BENCHMARK(BM_MakeWindow)->Unit(benchmark::kMillisecond);

void BM_FirstFrame(benchmark::State& state) {
  Session s;
  size_t heap = 0;
  for (auto _ : state) {
    s.form.reset();
    s.Open();
    state.PauseTiming();
    heap = mallinfo2().uordblks + mallinfo2().hblkhd;
    state.ResumeTiming();
  }
  state.counters["heap_MB"] = static_cast<double>(heap) / (1 << 20);
}
BENCHMARK(BM_FirstFrame)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State& state) {
  Session s;
  TForm1& form = s.Open();
  for (auto _ : state) {
    form.Invalidate();
    benchmark::DoNotOptimize(s.ui.surface(form).Bits());
  }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

// One tick of the indicator's slide from row 1 to row 8 and back, with the
// repaint of what it uncovered and covered.
void BM_IndicatorSlideTick(benchmark::State& state) {
  Session s;
  TForm1& form = s.Open();
  int row = 7;
  for (auto _ : state) {
    if (!form.ShapeMove->Enabled()) {
      state.PauseTiming();
      s.ui.click(*form.Rows()[row]);
      row = 7 - row;
      state.ResumeTiming();
    }
    s.ui.tick(*form.ShapeMove);
  }
}
BENCHMARK(BM_IndicatorSlideTick)->Unit(benchmark::kMicrosecond);

// One tick of the width glide between full and compact, with the repaint of
// the resized window.
void BM_WidthGlideTick(benchmark::State& state) {
  Session s;
  TForm1& form = s.Open();
  for (auto _ : state) {
    if (!form.SizeSetter->Enabled()) {
      state.PauseTiming();
      s.ui.click(*form.CButton2);
      state.ResumeTiming();
    }
    s.ui.tick(*form.SizeSetter);
  }
}
BENCHMARK(BM_WidthGlideTick)->Unit(benchmark::kMicrosecond);

// The launch sequence's cost per 16 ms of the bar filling (its glide step and
// its highlight's repaint), as the real backend ticks them. No edition is
// installed: the dialog that says so is answered at once.
void BM_LaunchSequencePer16ms(benchmark::State& state) {
  Session s;
  TForm1& form = s.Open();
  s.ui.OnIdle = [&] {
    if (TCustomForm* modal = Application->ModalForm()) modal->Close();
  };
  for (auto _ : state) {
    if (!form.StartProgress->Visible()) {
      state.PauseTiming();
      s.ui.click(*form.CButton1);
      state.ResumeTiming();
    }
    s.ui.advance(16);
  }
}
BENCHMARK(BM_LaunchSequencePer16ms)->Unit(benchmark::kMicrosecond);

void BM_ScanTickUnchanged(benchmark::State& state) {
  Session s;
  TForm1& form = s.Open();
  form.ProgramSettings(false);
  form.ProgramSettings(true);
  for (auto _ : state)
    form.ScanFileTimer(form.ScanFile);
}
BENCHMARK(BM_ScanTickUnchanged)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
