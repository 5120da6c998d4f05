// Centring a window on the primary screen.
#include <gtest/gtest.h>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/ui/Form.h"
#include "support/Vark.SysUtils.h"

namespace {

TEST(CenterFormOnScreen, HalvesTheScreenAndTheOuterWindowSeparately) {
  struct Case {
    int screenW, screenH, clientW, clientH;
    int left, top;
  };
  // The form has the custom title bar's frame: outer = client + 6 wide, + 3 high.
  const Case cases[] = {
      {1920, 1080, 795, 571, 960 - 400, 540 - 287},  // 801 wide: 400 by truncation
      {1366, 768, 794, 571, 683 - 400, 384 - 287},   // odd half of the screen
      {1000, 700, 1195, 800, 500 - 600, 350 - 401},  // larger than the screen: negative
  };
  for (const Case& c : cases) {
    vark::HeadlessBackend& ui = vark::HeadlessBackend::Install();
    ui.setScreenSize(c.screenW, c.screenH);
    auto form = MakeForm<TForm>(nullptr);
    form->SetBorderStyle(bsSingle);
    form->CustomTitleBar().SetEnabled(true);
    form->SetClientWidth(c.clientW);
    form->SetClientHeight(c.clientH);
    form->SetBounds(7, 9, form->Width(), form->Height());
    CenterFormOnScreen(form.get());
    EXPECT_EQ(form->Left(), c.left) << c.screenW;
    EXPECT_EQ(form->Top(), c.top) << c.screenH;
    EXPECT_EQ(form->ClientWidth(), c.clientW);  // the size stays
  }
  CenterFormOnScreen(nullptr);
  vark::HeadlessBackend::Install();
}

TEST(CenterFormOnScreen, APrimaryScreenRightOfAnotherOneIsFoundWhereItIs) {
  // A laptop screen on the left, the primary screen beside it on the right.
  vark::HeadlessBackend& ui = vark::HeadlessBackend::Install();
  ui.setScreenSize(1920, 1080);
  ui.setPrimaryOrigin(1366, 0);
  ui.setExtraScreens({Bounds(0, 312, 1366, 768)});
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 800, 574);
  CenterFormOnScreen(form.get());
  EXPECT_EQ(form->BoundsRect(), Bounds(1366 + 960 - 400, 540 - 287, 800, 574));
  form.reset();
  vark::HeadlessBackend::Install();
}

}  // namespace
