// Shared pieces of the CProgress tests: a fixture with a fresh headless backend
// and a quiet accent-colour service (no desktop accent, so the default one,
// on a clock the test moves), the launcher's bar, and helpers that read what a
// paint drew straight into the window's back buffer.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/Vark.Progress.h"
#include "support/Vark.Components.h"
#include "tests/common/FakeSettingsStore.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace vark::test {

// The accent colour without a desktop accent, as acAccentAdjust gives it.
constexpr TColor kAccent = 0x00D77800;  // RGB (0, 120, 215)
// The launcher's bar background, and the form the tests put bars on.
constexpr TColor kBarBack = 0x00212121;
constexpr TColor kFormColor = 0x00FF00FF;

class ProgressTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    settings = std::make_shared<vark::testing::FakeSettings>();
    vark::components::SetAccentStoreFactory(
        [s = settings] { return std::make_unique<vark::testing::FakeSettingsStore>(s); });
    vark::components::SetAccentClock([this] { return accentClock; });
    LastCheck = 0;
    form = ShownForm(320, 100);
    form->SetColor(kFormColor);
  }
  void TearDown() override {
    form.reset();
    UiTest::TearDown();
    vark::components::SetAccentStoreFactory(nullptr);
    vark::components::SetAccentClock(nullptr);
    LastCheck = 0;
  }

  // A visible bar on the form at (10, 10), painted once by the event loop.
  CProgress& Bar(int width = 250, int height = 9) {
    CProgress& bar = form->Make<CProgress>();
    bar.SetBounds(10, 10, width, height);
    bar.SetParent(form.get());
    ui->surface(*form);
    return bar;
  }

  // The launcher's bar (250 × 9 under its button), shown, with every change
  // of its position recorded.
  CProgress& LauncherBar() {
    CProgress& bar = Bar(250, 9);
    bar.SetTrueTransparency(true);
    bar.SetAccentColor(acAccentAdjust);
    bar.SetPresets(cprNone);
    bar.ProgressbarOptions().SetBorderRadius(0);
    bar.ProgressbarOptions().SetBorderColor(0x00212121);
    bar.Colors().SetForeground(0x00956D4A);
    bar.Colors().SetBackground(kBarBack);
    bar.Colors().SetFormSyncedColor(true);
    bar.AnimateProgress().ChengeALlowANi(true);
    bar.AnimateProgress().SetFadeSizing(100);
    bar.AnimateProgress().ChangeAnimProgSpeed(1);
    bar.AnimateProgress().SetAnimateIncSpeed(2);
    bar.AnimateProgress().SetAnimationSelector(atyFade);
    bar.Animations().SetAnimations(true);
    bar.Animations().SetInterval(1);
    bar.Animations().SetStep(1);
    Record(bar);
    ui->surface(*form);  // let the event loop paint what the setters invalidated
    return bar;
  }

  void Record(CProgress& bar) {
    bar.OnChange = [this](CProgress* sender, int32_t position, int32_t max) {
      reports.push_back(position);
      lastSender = sender;
      lastMax = max;
    };
  }

  // Sets the highlight's column and paints, as a repaint tick does.
  void PaintAt(CProgress& bar, int32_t column) {
    bar.AnimateProgress().currentp = column;
    bar.Paint();
  }

  // A pixel of the bar (its client coordinates) in the window's back buffer,
  // where a paint draws at once.
  TColor At(const CProgress& bar, int x, int y) const {
    const TPoint origin = form->ClientOffset();
    const TBitmap& surface = *form->Surface();
    const int sx = origin.X + bar.Left() + x, sy = origin.Y + bar.Top() + y;
    EXPECT_TRUE(sx >= 0 && sy >= 0 && sx < surface.Width() && sy < surface.Height())
        << "(" << x << "," << y << ") lies outside the window";
    if (sx < 0 || sy < 0 || sx >= surface.Width() || sy >= surface.Height()) return clNone;
    return surface.ColorAt(sx, sy);
  }

  // The bar's pixels as a bitmap of its size.
  void Shot(const CProgress& bar, TBitmap& shot) const {
    shot.SetSize(bar.Width(), bar.Height());
    for (int y = 0; y < bar.Height(); ++y)
      for (int x = 0; x < bar.Width(); ++x)
        shot.ScanLine(y)[x] = OpaquePixel(At(bar, x, y));
  }

  std::unique_ptr<TForm> form;
  std::shared_ptr<vark::testing::FakeSettings> settings;
  TDateTime accentClock = 45000.5;
  std::vector<int32_t> reports;
  CProgress* lastSender = nullptr;
  int32_t lastMax = 0;
};

}  // namespace vark::test
