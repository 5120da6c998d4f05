// CButton: construction, the state machine and its notifications, mouse,
// focus and keyboard input, dialog keys, the modal result, and a button freed
// by its own handlers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Keys.h"
#include "tests/controls/ButtonTestSupport.h"

namespace {

using vark::test::ButtonTest;

class ButtonInput : public ButtonTest {
 protected:
  // Logs state notifications ("state N") and clicks ("click") of a button.
  void Watch(CButton& b, std::vector<std::string>& log) {
    b.OnStateChange = [&log](TObject*, CButtonState s) {
      log.push_back("state " + std::to_string(s));
    };
    b.OnClick = [&log](TObject*) { log.push_back("click"); };
  }
};

TEST_F(ButtonInput, ANewButtonHasItsInitialLookAndTheAccentColours) {
  TComponent owner(nullptr);
  CButton& b = owner.Make<CButton>();
  EXPECT_EQ(b.Width(), 110);
  EXPECT_EQ(b.Height(), 40);
  EXPECT_EQ(b.Text(), "Click me");
  EXPECT_EQ(b.State(), mbsLeave);
  EXPECT_EQ(b.Version(), "1.3");
  EXPECT_EQ(b.Author(), "VarkelSoftware");
  EXPECT_TRUE(b.TabStop());
  EXPECT_EQ(b.BSegoeIcon(), "\uE734");
  // Pen.Width is 2 while the groups are made and 0 at the end.
  EXPECT_EQ(b.Pen().Width(), 0);
  EXPECT_EQ(b.Pen().Color(), clWindow);
  EXPECT_TRUE(b.Animations().FadeAnimation());
  EXPECT_EQ(b.Animations().FASpeed(), 10);
  // The literal colours are replaced by the adjusted accent colour, here the
  // default 0x00D77800 shifted by 15: Leave, Enter +40, Down and BLine -40.
  EXPECT_EQ(b.Colors().Leave(), 0x00E6870Fu);
  EXPECT_EQ(b.Colors().Enter(), 0x00FFAF37u);
  EXPECT_EQ(b.Colors().Down(), 0x00BE5F00u);
  EXPECT_EQ(b.Colors().BLine(), 0x00BE5F00u);
  EXPECT_EQ(b.TextColors().Leave(), clWhite);
  EXPECT_EQ(b.Font().Name(), "Segoe UI Semibold");
  EXPECT_EQ(b.Font().Size(), 12);
  EXPECT_EQ(b.SubTextFont().Size(), 10);
  EXPECT_EQ(b.Animations().TimeProg(), 0);
}

TEST_F(ButtonInput, MouseEnterPressReleaseAndLeaveNotifyInOrder) {
  CButton& b = Place();
  std::vector<std::string> log;
  Watch(b, log);
  ui->mouseMove(*form, 20, 20);
  EXPECT_EQ(b.State(), mbsEnter);
  ui->mouseDown(*form, 20, 20);
  EXPECT_EQ(b.State(), mbsDown);
  EXPECT_TRUE(b.Focused());
  ui->mouseUp(*form, 20, 20);
  EXPECT_EQ(b.State(), mbsEnter);
  ui->mouseMove(*form, 300, 150);
  EXPECT_EQ(b.State(), mbsLeave);
  // Taking the focus on the press changes the state without a notification;
  // the click comes before the release's notification.
  EXPECT_EQ(log, (std::vector<std::string>{"state 1", "state 2", "click", "state 1", "state 0"}));
}

TEST_F(ButtonInput, EveryMouseButtonShowsThePressedStateButOnlyTheLeftClicks) {
  for (TMouseButton button : {mbLeft, mbRight, mbMiddle}) {
    SCOPED_TRACE(static_cast<int>(button));
    CButton& b = Place();
    std::vector<std::string> log;
    Watch(b, log);
    ui->mouseMove(*form, 20, 20);
    ui->mouseDown(*form, 20, 20, button);
    EXPECT_EQ(b.State(), mbsDown);
    ui->mouseUp(*form, 20, 20, button);
    EXPECT_EQ(b.State(), mbsEnter);
    const bool clicked = std::find(log.begin(), log.end(), "click") != log.end();
    EXPECT_EQ(clicked, button == mbLeft);
    ui->mouseMove(*form, 300, 150);
    b.Free();
  }
}

TEST_F(ButtonInput, FocusChangesTheStateWithoutNotifying) {
  CButton& b = Place();
  CButton& other = Place();
  other.SetLeft(200);
  std::vector<std::string> log;
  Watch(b, log);
  b.SetFocus();
  EXPECT_EQ(b.State(), mbsEnter);
  other.SetFocus();
  EXPECT_EQ(b.State(), mbsLeave);
  EXPECT_TRUE(log.empty());
}

TEST_F(ButtonInput, ReturnOnTheFocusedButtonNotifiesThePressOnceThenClicks) {
  CButton& b = Place();
  b.SetFocus();
  std::vector<std::string> log;
  Watch(b, log);
  ui->pressKey(VK_RETURN);
  EXPECT_EQ(log, (std::vector<std::string>{"state 2", "click"}));
  EXPECT_EQ(b.State(), mbsEnter);

  // Space does nothing; a key handler that swallows Return stops the click.
  log.clear();
  ui->pressKey(VK_SPACE);
  ui->typeText(" ");
  EXPECT_TRUE(log.empty());
  b.OnKeyPress = [](TObject*, char& key) { key = 0; };
  ui->pressKey(VK_RETURN);
  EXPECT_TRUE(log.empty());
}

TEST_F(ButtonInput, DefaultAndCancelAnswerTheFormsReturnAndEscape) {
  CButton& def = Place();
  CButton& cancel = Place();
  CButton& focused = Place();
  cancel.SetLeft(130);
  focused.SetLeft(250);
  def.SetDefault(true);
  cancel.SetCancel(true);
  int defClicks = 0, cancelClicks = 0, focusedClicks = 0;
  def.OnClick = [&](TObject*) { ++defClicks; };
  cancel.OnClick = [&](TObject*) { ++cancelClicks; };
  focused.OnClick = [&](TObject*) { ++focusedClicks; };
  focused.SetFocus();

  ui->pressKey(VK_RETURN);
  EXPECT_EQ(defClicks, 1);
  EXPECT_EQ(focusedClicks, 0);  // the form took the key: no character follows
  ui->pressKey(VK_ESCAPE);
  EXPECT_EQ(cancelClicks, 1);

  // With a modifier held the form's buttons do not answer; the character still
  // reaches the focused button.
  ui->pressKey(VK_RETURN, {ssShift});
  ui->pressKey(VK_ESCAPE, {ssCtrl});
  EXPECT_EQ(defClicks, 1);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(focusedClicks, 1);

  // A button that cannot take the focus does not answer either.
  def.SetEnabled(false);
  ui->pressKey(VK_RETURN);
  EXPECT_EQ(defClicks, 1);
  EXPECT_EQ(focusedClicks, 2);
}

TEST_F(ButtonInput, EveryClickWritesTheModalResultZeroIncluded) {
  CButton& b = Place();
  form->SetModalResult(mrCancel);
  ui->click(b);
  EXPECT_EQ(form->ModalResult(), mrNone);
  b.SetModalResult(mrYes);
  ui->click(b);
  EXPECT_EQ(form->ModalResult(), mrYes);
}

TEST_F(ButtonInput, AButtonWithAModalResultClosesItsModalForm) {
  CButton& opener = Place();
  auto dialog = MakeForm<TForm>(nullptr);
  dialog->SetBorderStyle(bsNone);
  dialog->SetClientWidth(200);
  dialog->SetClientHeight(100);
  CButton& ok = dialog->Make<CButton>();
  ok.SetParent(dialog.get());
  ok.SetBounds(50, 30, 90, 30);
  ok.SetModalResult(mrOk);
  int result = -1;
  opener.OnClick = [&](TObject*) { result = dialog->ShowModal(); };
  ui->OnIdle = [&] {
    if (dialog->Visible()) ui->click(ok);
  };
  ui->click(opener);
  EXPECT_EQ(result, mrOk);
  ui->OnIdle = nullptr;
}

TEST_F(ButtonInput, AButtonFreedByItsOwnHandlersLeavesTheRestUndone) {
  struct Case {
    const char* what;
    std::function<void(CButton&)> act;
    bool byStateChange;
  };
  const std::vector<Case> cases = {
      {"left click", [this](CButton& b) { ui->click(b); }, false},
      {"Return",
       [this](CButton& b) {
         b.SetFocus();
         ui->pressKey(VK_RETURN);
       },
       false},
      {"default key",
       [this](CButton& b) {
         b.SetDefault(true);
         ui->pressKey(VK_RETURN);
       },
       false},
      {"press notification", [this](CButton& b) { ui->click(b); }, true},
      {"hover notification",
       [this](CButton& b) { ui->mouseMove(*form, b.Left() + 5, b.Top() + 5); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CButton& b = Place();
    ui->mouseMove(*form, 390, 190);
    b.SetModalResult(mrOk);
    b.Animations().SetPressAnimation(true);
    form->SetModalResult(mrNone);
    TWeakRef<CButton> ref(&b);
    if (c.byStateChange) {
      b.OnStateChange = [&b](TObject*, CButtonState) { b.Free(); };
    } else {
      b.OnClick = [&b](TObject*) { b.Free(); };
    }
    c.act(b);
    EXPECT_FALSE(ref);
    // The freed button did not write its modal result.
    EXPECT_EQ(form->ModalResult(), mrNone);
    ui->advance(20);
  }
}

TEST_F(ButtonInput, SettingTheStateItHasRestartsTheFade) {
  CButton& b = Place();
  b.SetState(mbsEnter);
  Settle();
  EXPECT_EQ(b.Animations().TimeProg(), 10);
  b.SetState(mbsEnter);
  EXPECT_EQ(b.Animations().TimeProg(), 0);
  ui->advance(3);
  EXPECT_EQ(b.Animations().TimeProg(), 3);
}

}  // namespace
