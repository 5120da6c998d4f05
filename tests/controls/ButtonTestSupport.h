// Shared pieces of the CButton tests: a fixture with a fresh headless backend,
// a quiet accent-colour service (no desktop accent, so the default one) and the
// global preset switched off, and helpers to place buttons and read what they
// drew.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/Vark.Button.h"
#include "support/Vark.Components.h"
#include "tests/common/FakeSettingsStore.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace vark::test {

class ButtonTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    accent = std::make_shared<vark::testing::FakeSettings>();
    vark::components::SetAccentStoreFactory([settings = accent] {
      return std::make_unique<vark::testing::FakeSettingsStore>(settings);
    });
    LastCheck = 0;
    GlobalSync = false;
    gspreset = cbprFluent;
    gspresetcolor = 0x00FF0000;
  }
  void TearDown() override {
    GlobalSync = false;
    gspreset = cbprFluent;
    gspresetcolor = 0x00FF0000;
    form.reset();
    UiTest::TearDown();
    vark::components::SetAccentStoreFactory(nullptr);
    LastCheck = 0;
  }

  // A shown form of the given colour with a button on it at (10, 10).
  CButton& Place(int width = 110, int height = 40, TColor formColor = 0x00212121) {
    if (!form) {
      form = ShownForm(400, 200);
      form->SetColor(formColor);
    }
    CButton& b = form->Make<CButton>();
    b.SetBounds(10, 10, width, height);
    b.SetParent(form.get());
    ui->surface(*form);  // let the event loop paint
    return b;
  }

  // Lets a running fade finish.
  void Settle() { ui->advance(50); }

  // A pixel of the button (its client coordinates) as the window shows it.
  TColor At(CButton& b, int x, int y) { return ui->pixel(*form, b.Left() + x, b.Top() + y); }

  // Sets the desktop's accent colour (0xAABBGGRR) and makes the service read it.
  void SetDesktopAccent(uint32_t value) {
    accent->keys["Software\\Microsoft\\Windows\\DWM\\"]["AccentColor"] =
        static_cast<int32_t>(value);
    LastCheck = 0;
  }

  std::unique_ptr<TForm> form;
  std::shared_ptr<vark::testing::FakeSettings> accent;
};

// The texts drawn with TextOut, in order.
inline std::vector<std::string> TextsOut(const CanvasRecorder& rec) {
  std::vector<std::string> out;
  for (const CanvasCall& c : rec.Of("TextOut"))
    out.push_back(c.text);
  return out;
}

}  // namespace vark::test
