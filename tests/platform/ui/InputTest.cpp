// Mouse and keyboard: enter and leave, capture, clicks, focus and tab order,
// dialog keys.
#include <gtest/gtest.h>

#include "platform/Exceptions.h"
#include "platform/ui/Button.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Label.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::Log;
using vark::test::TProbe;
using vark::test::UiTest;
using Input = UiTest;

TEST_F(Input, PointerMovingAcrossOverlappingControlsLeavesBeforeItEnters) {
  auto form = ShownForm();
  Log log;
  Place<TProbe>(*form, *form, 10, 10, 60, 60, "A", clBlue, &log);
  Place<TProbe>(*form, *form, 40, 40, 60, 60, "B", clLime, &log);  // above A where they overlap
  ui->mouseMove(*form, 5, 5);                                      // the form
  ui->mouseMove(*form, 20, 20);                                    // A only
  ui->mouseMove(*form, 50, 50);                                    // overlap: B is on top
  ui->mouseMove(*form, 20, 20);                                    // back to A
  ui->mouseMove(*form, 150, 140);                                  // the form again
  ui->mouseMove(*form, 80, 80);                                    // B only
  ui->mouseLeave();                                                // out of the window
  EXPECT_EQ(log, (Log{"enter A", "leave A", "enter B", "leave B", "enter A", "leave A", "enter B",
                      "leave B"}));
}

TEST_F(Input, PressCapturesTheMouseUntilTheRelease) {
  auto form = ShownForm();
  Log log;
  auto& a = Place<TProbe>(*form, *form, 10, 10, 30, 30, "A", clBlue, &log);
  Place<TProbe>(*form, *form, 100, 10, 30, 30, "B", clLime, &log);
  a.logMoves = true;
  ui->mouseDown(*form, 20, 20);
  EXPECT_TRUE(ui->mouseCaptured());
  log.clear();
  ui->mouseMove(*form, 110, 20);   // over B: the moves still go to A
  ui->mouseMove(*form, 500, 400);  // outside the window entirely
  ui->mouseUp(*form, 500, 400);
  EXPECT_FALSE(ui->mouseCaptured());
  // B is entered and left by position, but the moves and the release are A's;
  // no click, since the release was not over A.
  EXPECT_EQ(log, (Log{"leave A", "enter B", "move 100,10 A", "leave B", "move 490,390 A",
                      "up 490,390 A"}));
}

TEST_F(Input, ClickOnlyWhenTheLeftButtonIsReleasedOverThePressedControl) {
  struct Case {
    const char* name;
    TPoint down, up;
    TMouseButton button;
    bool clicks;
  };
  const Case cases[] = {
      {"press and release on A", {20, 20}, {25, 25}, mbLeft, true},
      {"release on the adjacent B", {20, 20}, {110, 20}, mbLeft, false},
      {"release outside the window", {20, 20}, {400, 400}, mbLeft, false},
      {"press on B, release on A", {110, 20}, {20, 20}, mbLeft, false},
      {"right button", {20, 20}, {20, 20}, mbRight, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = ShownForm();
    Log log;
    auto& a = Place<TProbe>(*form, *form, 10, 10, 30, 30, "A", clBlue, &log);
    Place<TProbe>(*form, *form, 100, 10, 30, 30, "B", clLime, &log);
    int clicks = 0;
    a.OnClick = [&](TObject* sender) {
      EXPECT_EQ(sender, &a);
      ++clicks;
    };
    ui->mouseDown(*form, c.down.X, c.down.Y, c.button);
    ui->mouseUp(*form, c.up.X, c.up.Y, c.button);
    EXPECT_EQ(clicks, c.clicks ? 1 : 0);
  }
}

TEST_F(Input, ADialogOpeningMidPressEndsThePressWithoutAClick) {
  // A timer's dialog takes the input while the button is held down.
  auto form = ShownForm();
  Log log;
  Place<TProbe>(*form, *form, 10, 10, 30, 30, "A", clBlue, &log);
  ui->mouseMove(*form, 20, 20);
  ui->mouseDown(*form, 20, 20);
  log.clear();
  auto dialog = MakeForm<TForm>(nullptr);
  ui->OnIdle = [&] { dialog->SetModalResult(mrOk); };
  dialog->ShowModal();
  ui->OnIdle = nullptr;
  EXPECT_FALSE(ui->mouseCaptured());
  ui->mouseUp(*form, 20, 20);
  // Released outside itself and left, as at rest; the later release is no click.
  EXPECT_EQ(log, (Log{"up -1,-1 A", "leave A", "up 10,10 A"}));
}

TEST_F(Input, ClickComesBeforeTheReleaseEvent) {
  auto form = ShownForm();
  Log log;
  Place<TProbe>(*form, *form, 10, 10, 30, 30, "A", clBlue, &log);
  ui->click(*form, 15, 15);
  EXPECT_EQ(log, (Log{"enter A", "down 5,5 A", "click A", "up 5,5 A"}));
}

TEST_F(Input, TransparentControlPassesTheMouseThroughUnlessItIntercepts) {
  struct TGlass : TCustomTransparentControl {
    using TCustomTransparentControl::TCustomTransparentControl;
  };
  auto form = ShownForm();
  Log log;
  Place<TProbe>(*form, *form, 10, 10, 50, 50, "below", clBlue, &log);
  auto& glass = Place<TGlass>(*form, *form, 0, 0, 100, 100);
  int glassClicks = 0;
  glass.OnClick = [&](TObject*) { ++glassClicks; };
  ui->click(*form, 20, 20);
  EXPECT_EQ(glassClicks, 0);
  EXPECT_NE(std::find(log.begin(), log.end(), "click below"), log.end());
  log.clear();
  glass.SetInterceptMouse(true);
  ui->click(*form, 20, 20);
  EXPECT_EQ(glassClicks, 1);
  EXPECT_EQ(std::find(log.begin(), log.end(), "click below"), log.end());
}

TEST_F(Input, DisabledControlsLetTheMouseGoToTheirParent) {
  auto form = ShownForm();
  Log log;
  auto& a = Place<TProbe>(*form, *form, 10, 10, 30, 30, "A", clBlue, &log);
  a.SetEnabled(false);
  int formClicks = 0;
  form->OnClick = [&](TObject*) { ++formClicks; };
  ui->click(*form, 20, 20);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(formClicks, 1);
}

TEST_F(Input, TheCursorFollowsTheControlUnderThePointer) {
  auto form = ShownForm();
  auto& hand = form->Make<TLabel>();
  hand.SetAutoSize(false);
  hand.SetBounds(10, 10, 30, 30);
  hand.SetParent(form.get());
  hand.SetCursor(crHandPoint);
  ui->mouseMove(*form, 20, 20);
  EXPECT_EQ(ui->cursor(), crHandPoint);
  ui->mouseMove(*form, 100, 100);
  EXPECT_EQ(ui->cursor(), crDefault);

  // A fresh backend starts from its own default cursor, whatever the last one showed.
  ui->mouseMove(*form, 20, 20);
  form.reset();
  ui = &vark::HeadlessBackend::Install();
  auto again = ShownForm();
  auto& hand2 = again->Make<TLabel>();
  hand2.SetAutoSize(false);
  hand2.SetBounds(10, 10, 30, 30);
  hand2.SetParent(again.get());
  hand2.SetCursor(crHandPoint);
  ui->mouseMove(*again, 20, 20);
  EXPECT_EQ(ui->cursor(), crHandPoint);
}

TEST_F(Input, TabAndShiftTabFollowTheTabOrderAndSkipWhatCannotTakeTheFocus) {
  auto form = ShownForm(300, 100);
  Log log;
  auto& a = Place<TProbe>(*form, *form, 0, 0, 20, 20, "A", clBlue, &log);
  auto& b = Place<TProbe>(*form, *form, 30, 0, 20, 20, "B", clBlue, &log);
  auto& c = Place<TProbe>(*form, *form, 60, 0, 20, 20, "C", clBlue, &log);
  auto& d = Place<TProbe>(*form, *form, 90, 0, 20, 20, "D", clBlue, &log);
  auto& e = Place<TProbe>(*form, *form, 120, 0, 20, 20, "E", clBlue, &log);
  // Tab orders as a stored form gives them: gaps and numbers past the count.
  c.SetTabOrder(0);
  a.SetTabOrder(10);
  e.SetTabOrder(11);
  b.SetTabOrder(12);
  d.SetTabOrder(19);
  b.SetEnabled(false);
  e.SetTabStop(false);
  form->FocusControl(&c);
  std::vector<TWinControl*> seen;
  for (int i = 0; i < 4; ++i) {
    ui->pressKey(VK_TAB);
    seen.push_back(form->ActiveControl());
  }
  EXPECT_EQ(seen, (std::vector<TWinControl*>{&a, &d, &c, &a}));
  ui->pressKey(VK_TAB, {ssShift});
  EXPECT_EQ(form->ActiveControl(), &c);
  ui->pressKey(VK_TAB, {ssShift});
  EXPECT_EQ(form->ActiveControl(), &d);
  // The focus moves with exit before enter, and Tab types nothing.
  EXPECT_EQ(std::count(log.begin(), log.end(), "char 9 D"), 0);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "blur C");
  EXPECT_EQ(log.back(), "focus D");
}

TEST_F(Input, ShownFormFocusesTheFirstControlInTabOrder) {
  auto form = MakeForm<TForm>(nullptr);
  Log log;
  auto& a = form->Make<TProbe>("A", clBlue, &log);
  a.SetParent(form.get());
  auto& b = form->Make<TProbe>("B", clBlue, &log);
  b.SetParent(form.get());
  b.SetTabOrder(0);
  form->Show();
  EXPECT_EQ(form->ActiveControl(), &b);
  EXPECT_EQ(log, (Log{"focus B"}));
}

TEST_F(Input, ReturnAndEscapeReachTheDefaultAndCancelButtonsOnlyWithoutModifiers) {
  struct Case {
    uint16_t key;
    TShiftState shift;
    int okClicks, cancelClicks;
  };
  const Case cases[] = {
      {VK_RETURN, {}, 1, 0},       {VK_ESCAPE, {}, 0, 1},      {VK_RETURN, {ssShift}, 0, 0},
      {VK_RETURN, {ssCtrl}, 0, 0}, {VK_RETURN, {ssAlt}, 0, 0}, {VK_ESCAPE, {ssShift}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.key) + " with shift bits " + std::to_string(c.shift.ToBits()));
    auto form = ShownForm(300, 100);
    Log log;
    auto& focused = Place<TProbe>(*form, *form, 0, 0, 20, 20, "edit", clBlue, &log);
    auto& ok = Place<TButton>(*form, *form, 100, 0, 75, 25);
    ok.SetDefault(true);
    auto& cancel = Place<TButton>(*form, *form, 200, 0, 75, 25);
    cancel.SetCancel(true);
    int okClicks = 0, cancelClicks = 0;
    ok.OnClick = [&](TObject*) { ++okClicks; };
    cancel.OnClick = [&](TObject*) { ++cancelClicks; };
    form->FocusControl(&focused);
    ui->pressKey(c.key, c.shift);
    EXPECT_EQ(okClicks, c.okClicks);
    EXPECT_EQ(cancelClicks, c.cancelClicks);
    // A key a button answered goes no further; one it did not reaches the
    // focused control.
    bool handled = c.okClicks + c.cancelClicks > 0;
    bool reached = std::find(log.begin(), log.end(),
                             "keydown " + std::to_string(c.key) + " edit") != log.end();
    EXPECT_EQ(reached, !handled);
  }
}

TEST_F(Input, KeysGoToTheFocusedControlWithTheirCharacters) {
  auto form = ShownForm();
  Log log;
  auto& a = Place<TProbe>(*form, *form, 0, 0, 20, 20, "A", clBlue, &log);
  form->FocusControl(&a);
  log.clear();
  ui->pressKey('X');
  ui->pressKey(VK_SPACE);
  EXPECT_EQ(log, (Log{"keydown 88 A", "char 120 A", "keydown 32 A", "char 32 A"}));
}

TEST_F(Input, ArrowsMoveTheFocusAmongSiblings) {
  auto form = ShownForm();
  auto& a = Place<TProbe>(*form, *form, 0, 0, 20, 20, "A", clBlue, nullptr);
  auto& b = Place<TProbe>(*form, *form, 30, 0, 20, 20, "B", clBlue, nullptr);
  form->FocusControl(&a);
  ui->pressKey(VK_RIGHT);
  EXPECT_EQ(form->ActiveControl(), &b);
  ui->pressKey(VK_UP);
  EXPECT_EQ(form->ActiveControl(), &a);
}

TEST_F(Input, FocusingWhatCannotTakeTheFocusFails) {
  auto form = ShownForm();
  auto& a = Place<TProbe>(*form, *form, 0, 0, 20, 20, "A", clBlue, nullptr);
  a.Hide();
  EXPECT_THROW(a.SetFocus(), EInvalidOperation);
  TProbe orphan(nullptr, "orphan", clBlue, nullptr);
  EXPECT_THROW(orphan.SetFocus(), EInvalidOperation);
}

TEST_F(Input, HidingOrDisablingTheFocusedControlDropsTheFocus) {
  auto form = ShownForm();
  auto& a = Place<TProbe>(*form, *form, 0, 0, 20, 20, "A", clBlue, nullptr);
  form->FocusControl(&a);
  a.SetEnabled(false);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  a.SetEnabled(true);
  form->FocusControl(&a);
  a.Hide();
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

}  // namespace
