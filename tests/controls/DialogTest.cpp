// The message dialog, run modally on the headless backend: the window and its
// buttons as a test finds them while the dialog waits, the answers, closing
// without a button, long messages, and that nothing outlives the call.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "controls/Vark.Dialogs.h"
#include "controls/Vark.StandardIcons.h"
#include "platform/graphics/Bitmap.h"
#include "platform/os/Sound.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/Timer.h"
#include "platform/ui/a11y/ControlAccessible.h"
#include "support/Vark.ColorUtilities.h"
#include "tests/common/AccessibleTree.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::UiTest;

template <class T>
std::vector<T*> ControlsOf(const TWinControl& parent) {
  std::vector<T*> found;
  for (TControl* c : parent.ControlList()) {
    if (auto* t = dynamic_cast<T*>(c)) found.push_back(t);
  }
  return found;
}

// The dialog's buttons from right to left.
std::vector<CButton*> ButtonsRightToLeft(const TWinControl& form) {
  std::vector<CButton*> buttons = ControlsOf<CButton>(form);
  std::sort(buttons.begin(), buttons.end(),
            [](CButton* a, CButton* b) { return a->Left() > b->Left(); });
  return buttons;
}

CButton* ButtonWithText(const TWinControl& form, const std::string& text) {
  for (CButton* b : ControlsOf<CButton>(form))
    if (b->Text() == text) return b;
  return nullptr;
}

// The message label is the one with word wrap; the footer the one without.
TLabel* MessageLabel(const TWinControl& form) {
  for (TLabel* l : ControlsOf<TLabel>(form))
    if (l->WordWrap()) return l;
  return nullptr;
}
TLabel* Footer(const TWinControl& form) {
  for (TLabel* l : ControlsOf<TLabel>(form))
    if (!l->WordWrap()) return l;
  return nullptr;
}

struct DialogArgs {
  std::string caption = "Valdor III Launcher";
  std::string text = "The file was saved.";
  CMessageType kind = ctInformation;
  TMsgDlgButtons buttons{mbOK};
  CButtonPreset preset = cbprCustom;
  TColor formColor = clWindow;
  bool footer = true;
  TColor buttonColor = 0x00FFA028;
  bool globalSync = false;
  bool accent = true;
};

class Dialog : public UiTest {
 protected:
  // Runs the dialog. While it waits, `look` gets its window once, then `act`
  // answers it (clicks a button, closes it ...). Returns the dialog's result.
  int Run(const DialogArgs& a, const std::function<void(TCustomForm&)>& look,
          const std::function<void(TCustomForm&)>& act) {
    bool done = false;
    ui->OnIdle = [&] {
      TCustomForm* form = Application->ModalForm();
      if (form == nullptr || done) return;
      done = true;
      if (look) look(*form);
      act(*form);
    };
    int result = VarkDialog(a.caption, a.text, a.kind, a.buttons, a.preset, a.formColor, a.footer,
                            a.buttonColor, a.globalSync, a.accent);
    ui->OnIdle = nullptr;
    EXPECT_TRUE(done) << "the dialog never waited for an answer";
    return result;
  }

  std::function<void(TCustomForm&)> Click(const std::string& text) {
    return [this, text](TCustomForm& form) {
      CButton* b = ButtonWithText(form, text);
      ASSERT_NE(b, nullptr) << text;
      ui->click(*b);
    };
  }

  // The outer width of a one-button dialog with a short message.
  int BaseWidth() {
    int width = 0;
    Run(
        {}, [&](TCustomForm& f) { width = f.Width(); }, Click("Ok"));
    return width;
  }
};

TEST_F(Dialog, OneOkButtonInTheBottomRightCornerReturnsOk) {
  int formsBefore = Screen->FormCount();
  TWeakRef<TCustomForm> window;
  int result = Run(
      {},
      [&](TCustomForm& f) {
        window = &f;
        EXPECT_EQ(f.Caption(), "Valdor III Launcher");
        EXPECT_TRUE(ui->isVisible(f));
        std::vector<CButton*> buttons = ButtonsRightToLeft(f);
        ASSERT_EQ(buttons.size(), 1u);
        CButton& ok = *buttons[0];
        EXPECT_EQ(ok.Text(), "Ok");
        EXPECT_EQ(ok.Width(), 90);
        EXPECT_EQ(ok.Height(), 30);
        EXPECT_EQ(ok.Left(), f.Width() - 110);
        EXPECT_EQ(ok.Top(), f.ClientHeight() - 35);
        EXPECT_EQ(ok.ModalResult(), mrOk);
        EXPECT_EQ(ok.ButtonIcon(), cicTrueYes);
        EXPECT_TRUE(ok.Anchors().Contains(akRight) && ok.Anchors().Contains(akBottom));
        EXPECT_GE(f.Height(), 135);
      },
      Click("Ok"));
  EXPECT_EQ(result, mrOk);
  // The window and everything on it are gone.
  EXPECT_FALSE(window);
  EXPECT_EQ(Screen->FormCount(), formsBefore);
}

// To a screen reader: an alert named by its caption, with its message as a
// label and its answers as push buttons, the first of them focused.
TEST_F(Dialog, AScreenReaderMeetsAnAlertWithTheFocusOnItsFirstAnswer) {
  DialogArgs args;
  args.buttons = {mbYes, mbNo};
  Run(
      args,
      [&](TCustomForm& f) {
        EXPECT_EQ(vark::test::Tree(f.Accessibility()),
                  (std::vector<std::string>{
                      "alert 'Valdor III Launcher' enabled visible showing active modal",
                      "  label 'The file was saved.' enabled visible showing",
                      "  push button 'Yes' [click] enabled visible showing focusable focused",
                      "  push button 'No' [click] enabled visible showing focusable",
                  }));
        EXPECT_EQ(f.Accessibility().Parent(), &vark::a11y::Root());
      },
      Click("No"));
}

TEST_F(Dialog, AnswersRunRightToLeftInButtonOrder) {
  DialogArgs a;
  a.buttons = {mbNo, mbYes};
  auto look = [](TCustomForm& f) {
    std::vector<CButton*> b = ButtonsRightToLeft(f);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0]->Text(), "Yes");
    EXPECT_EQ(b[1]->Text(), "No");
    EXPECT_EQ(b[0]->Left(), f.Width() - 110);
    EXPECT_EQ(b[1]->Left(), b[0]->Left() - 95);
    EXPECT_EQ(b[1]->Top(), b[0]->Top());
  };
  EXPECT_EQ(Run(a, look, Click("Yes")), mrYes);
  EXPECT_EQ(Run(a, nullptr, Click("No")), mrNo);
}

TEST_F(Dialog, EveryAnswerHasItsCaptionResultAndGlyph) {
  struct Case {
    TMsgDlgBtn button;
    const char* text;
    TModalResult result;
    CButtonIcon icon;
  };
  const Case cases[] = {
      {mbYes, "Yes", 6, cicYes},
      {mbNo, "No", 7, cicNo},
      {mbOK, "Ok", 1, cicTrueYes},
      {mbCancel, "Cancel", 2, cicNoAllow},
      {mbAbort, "Abort", 3, cicNoAllow},
      {mbRetry, "Retry", 4, cicRetry},
      {mbIgnore, "Ignore", 5, cicNoAllow},
      {mbAll, "All", 12, cicTrueYes},
      {mbNoToAll, "No to All", 13, cicYes},   // the reverse of "No"
      {mbYesToAll, "Yes to All", 14, cicNo},  // the reverse of "Yes"
      {mbHelp, "Help", 9, cicQuestion},
      {mbClose, "Close", 8, cicNo},
  };
  DialogArgs a;
  a.buttons = {};
  for (const Case& c : cases)
    a.buttons.Include(c.button);
  Run(
      a,
      [&](TCustomForm& f) {
        std::vector<CButton*> b = ButtonsRightToLeft(f);
        ASSERT_EQ(b.size(), std::size(cases));
        EXPECT_EQ(f.Width(), 1200);  // 100 pixels a button
        for (size_t i = 0; i < b.size(); ++i) {
          SCOPED_TRACE(cases[i].text);
          EXPECT_EQ(b[i]->Text(), cases[i].text);
          EXPECT_EQ(b[i]->ModalResult(), cases[i].result);
          EXPECT_EQ(b[i]->ButtonIcon(), cases[i].icon);
          EXPECT_EQ(b[i]->Left(), f.Width() - 95 * static_cast<int>(i + 1) - 15);
        }
      },
      Click("Yes to All"));
  a.buttons = {mbYesToAll, mbNoToAll};
  EXPECT_EQ(Run(a, nullptr, Click("Yes to All")), mrYesToAll);
}

TEST_F(Dialog, ManyButtonsAndLongTextsWidenTheWindow) {
  const int base = BaseWidth();
  ASSERT_GT(base, 300);
  // Words of one letter, n characters in all.
  auto text = [](int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
      s += i % 2 == 0 ? 'x' : ' ';
    return s;
  };
  const int longText = base / 8 + 1;  // characters whose eightfold exceeds the width
  struct Case {
    const char* name;
    TMsgDlgButtons buttons;
    std::string text;
    int width;
  };
  const Case cases[] = {
      {"three buttons keep the width", {mbYes, mbNo, mbCancel}, "Sure?", base},
      {"four buttons", {mbYes, mbNo, mbCancel, mbHelp}, "Sure?", 400},
      {"five buttons", {mbYes, mbNo, mbCancel, mbHelp, mbRetry}, "Sure?", 500},
      {"long text", {mbOK}, text(longText), base + 100},
      {"long text, four buttons", {mbYes, mbNo, mbCancel, mbHelp}, text(51), 500},
      {"just short enough", {mbOK}, text(base / 8), base},
      // Characters beyond the basic plane count twice, as UTF-16 counts them:
      // three units a word here, two characters.
      {"wide characters",
       {mbOK},
       [&] {
         std::string s;
         for (int i = 0; i < base / 24 + 1; ++i)
           s += "\xF0\x9F\x98\x80 ";
         return s;
       }(),
       base + 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DialogArgs a;
    a.buttons = c.buttons;
    a.text = c.text;
    Run(
        a,
        [&](TCustomForm& f) {
          EXPECT_EQ(f.Width(), c.width);
          for (CButton* b : ControlsOf<CButton>(f))
            EXPECT_GE(b->Left(), 0) << b->Text();
        },
        [&](TCustomForm& f) { ui->click(*ButtonsRightToLeft(f)[0]); });
  }
}

TEST_F(Dialog, ClosingWithoutAButtonAnswersCancel) {
  DialogArgs a;
  a.buttons = {};
  int result = Run(
      a, [](TCustomForm& f) { EXPECT_TRUE(ControlsOf<CButton>(f).empty()); },
      [this](TCustomForm& f) { ui->requestClose(f); });
  EXPECT_EQ(result, mrCancel);
  // Return is no answer of its own: no button is a default button.
  a.buttons = {mbYes, mbNo};
  result = Run(
      a,
      [](TCustomForm& f) {
        for (CButton* b : ControlsOf<CButton>(f))
          EXPECT_FALSE(b->Default());
      },
      [this](TCustomForm& f) { ui->requestClose(f); });
  EXPECT_EQ(result, mrCancel);
}

// Escape answers as the cancel button: Cancel, else No, else Close, else the
// only button; among answers that are none of these it answers nothing, and
// the window's close still gives mrCancel.
TEST_F(Dialog, EscapeAnswersAsTheCancelButton) {
  const struct {
    TMsgDlgButtons buttons;
    int result;
  } rows[] = {
      {{mbOK}, mrOk},
      {{mbRetry}, mrRetry},
      {{mbYes, mbNo}, mrNo},
      {{mbOK, mbCancel}, mrCancel},
      {{mbYes, mbNo, mbCancel}, mrCancel},
      {{mbOK, mbClose}, mrClose},
      {{mbAbort, mbRetry, mbIgnore}, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.result);
    DialogArgs a;
    a.buttons = row.buttons;
    bool stayed = false;
    const int result = Run(a, nullptr, [&](TCustomForm& f) {
      ui->pressKey(VK_ESCAPE);
      stayed = f.ModalResult() == mrNone;
      if (stayed) ui->requestClose(f);
    });
    EXPECT_EQ(stayed, row.result == -1);
    EXPECT_EQ(result, row.result == -1 ? mrCancel : row.result);
  }
}

TEST_F(Dialog, FooterAndButtonBorderColours) {
  struct Case {
    const char* name;
    TColor formColor;
    bool footer;
    TColor window;  // the window's colour
    TColor text;    // the message's colour
    TColor title;   // the title's colour
  };
  const Case cases[] = {
      {"default background", clWindow, true, 0x00F0F0F0, clBlack, clBlack},
      {"default background, no footer", clWindow, false, 0x00F0F0F0, clBlack, clBlack},
      {"dark", 0x00302010, true, 0x00302010, clWhite, clWhite},
      {"dark, no footer", 0x00302010, false, 0x00302010, clWhite, clWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DialogArgs a;
    a.formColor = c.formColor;
    a.footer = c.footer;
    Run(
        a,
        [&](TCustomForm& f) {
          EXPECT_EQ(f.Color(), c.window);
          EXPECT_EQ(MessageLabel(f)->Font().Color(), c.text);
          const TCustomTitleBar& bar = f.CustomTitleBar();
          EXPECT_TRUE(bar.Enabled());
          EXPECT_FALSE(bar.SystemButtons());
          EXPECT_EQ(bar.BackgroundColor(), c.window);
          EXPECT_EQ(bar.ForegroundColor(), c.title);
          TLabel* footer = Footer(f);
          ASSERT_NE(footer, nullptr);
          EXPECT_EQ(footer->Visible(), c.footer);
          CButton& ok = *ControlsOf<CButton>(f)[0];
          const TColor strip = ChangeColorSat(c.window, -20);
          EXPECT_EQ(footer->Color(), strip);
          EXPECT_EQ(ok.Pen().Color(), c.footer ? strip : c.window);
          // The strip runs from 5 pixels above the buttons to the bottom.
          EXPECT_EQ(footer->Top(), ok.Top() - 5);
          const TColor below = ui->pixel(f, 4, f.ClientHeight() - 2);
          EXPECT_EQ(below, c.footer ? strip : c.window);
          EXPECT_EQ(ui->pixel(f, 4, ok.Top() - 7), c.window);
          // The button's corners take its border colour.
          EXPECT_EQ(ui->pixel(f, ok.Left(), ok.Top()), ok.Pen().Color());
        },
        Click("Ok"));
  }
}

TEST_F(Dialog, IconSoundAndMessageByKind) {
  struct Case {
    CMessageType kind;
    VarkIconType icon;
    uint32_t beep;
  };
  const Case cases[] = {
      {ctInformation, ciconInformation, 0}, {ctError, ciconError, 20},
      {ctQuestion, ciconQuestion, 70},      {ctSucess, ciconCheckmark, 50},
      {ctWarning, ciconWarning, 50},        {ctStar, ciconStar, 0},
  };
  std::vector<uint32_t> beeps;
  vark::os::SetBeepListener([&](uint32_t type) { beeps.push_back(type); });
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    DialogArgs a;
    a.kind = c.kind;
    a.text = "Save & exit";
    beeps.clear();
    Run(
        a,
        [&](TCustomForm& f) {
          std::vector<CStandardIcon*> icons = ControlsOf<CStandardIcon>(f);
          ASSERT_EQ(icons.size(), 1u);
          const CStandardIcon& icon = *icons[0];
          EXPECT_EQ(icon.SelectedIcon(), c.icon);
          const int band = f.CustomTitleBar().Height();
          EXPECT_EQ(icon.BoundsRect(), Bounds(10, band + 10, 40, 40));
          TLabel& label = *MessageLabel(f);
          EXPECT_EQ(label.Caption(), "Save & exit");
          EXPECT_FALSE(label.ShowAccelChar());  // the "&" shows as it is
          EXPECT_EQ(label.Width(), f.Width() - 80);
          EXPECT_GT(label.Top(), band);
          EXPECT_GE(label.Height(), 30);
        },
        Click("Ok"));
    EXPECT_EQ(beeps, std::vector<uint32_t>{c.beep});
  }
  vark::os::SetBeepListener(nullptr);
}

TEST_F(Dialog, LayoutNumbersAtTheDefaultFont) {
  // The form's default font: an average letter 6 pixels wide and 17 high,
  // under a title band 30 high. Client width 260 * 6 / 4; the message at
  // 8 * 6 / 4 + 50 across and 17 + 30 down, 80 narrower than the window; the
  // window at its least height of 135, the button 35 above the client's foot.
  Run(
      {},
      [&](TCustomForm& f) {
        TLabel& label = *MessageLabel(f);
        CButton& ok = *ButtonWithText(f, "Ok");
        const CStandardIcon& icon = *ControlsOf<CStandardIcon>(f)[0];
        EXPECT_EQ(f.ClientWidth(), 390);
        EXPECT_EQ(label.BoundsRect(), Bounds(62, 47, 316, 30));
        EXPECT_EQ(f.ClientHeight(), 132);
        EXPECT_EQ(ok.BoundsRect(), Bounds(286, 97, 90, 30));
        EXPECT_EQ(icon.BoundsRect(), Bounds(10, 40, 40, 40));
      },
      Click("Ok"));
}

TEST_F(Dialog, LongMessagesGrowTheWindowAndStayReadable) {
  std::string words;
  for (int i = 0; i < 120; ++i)
    words += "word" + std::to_string(i) + " ";
  const std::string path = "C:\\Users\\player\\AppData\\Local\\VarkelSoftware\\" +
                           std::string(60, 'v') + "\\FolderLocations.txt";
  std::string huge;
  for (int i = 0; i < 20000; ++i)
    huge += "lorem ipsum ";
  struct Case {
    const char* name;
    std::string text;
    bool shortened;
  };
  const Case cases[] = {
      {"many lines", words, false},
      {"a word wider than the window", path, false},
      {"more than the screen holds", huge, true},
      {"a word wider than the screen", std::string(3000, 'w'), false},
  };
  ui->setScreenSize(1280, 720);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DialogArgs a;
    a.text = c.text;
    int result = Run(
        a,
        [&](TCustomForm& f) {
          TLabel& label = *MessageLabel(f);
          CButton& ok = *ControlsOf<CButton>(f)[0];
          // The text lies wholly above the footer strip and inside the window.
          EXPECT_LE(label.Top() + label.Height(), ok.Top() - 5);
          EXPECT_LE(label.Left() + label.Width(), f.ClientWidth());
          // Every line as the label wraps it fits its width, and all lines its height.
          TCanvas measure;
          measure.SetFont(label.Font());
          const std::string& shown = label.Caption();
          vark::ui::TextBlock block = vark::ui::LayoutText(measure, shown, label.Width(), true);
          EXPECT_LE(block.width, label.Width());
          EXPECT_LE(block.height, label.Height());
          if (c.shortened) {
            EXPECT_EQ(shown.substr(shown.size() - 3), "\xE2\x80\xA6");  // "…" marks the cut
            EXPECT_LT(shown.size(), c.text.size());
          } else {
            // Broken into lines where it must be, but nothing is lost.
            std::string joined = shown;
            std::erase(joined, '\n');
            EXPECT_EQ(joined, c.text);
          }
          // The window stays on the screen, so its buttons can be clicked.
          EXPECT_LE(f.Height(), 720);
          EXPECT_LE(f.Width(), 1280);
          EXPECT_GE(f.Top(), 0);
        },
        Click("Ok"));
    EXPECT_EQ(result, mrOk);
  }
}

TEST_F(Dialog, TimersOfOtherWindowsKeepTickingWhileItWaits) {
  auto main = ShownForm();
  TTimer& timer = main->Make<TTimer>();
  timer.SetInterval(16);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  uint64_t shownAt = 0;
  bool clicked = false;
  ui->OnIdle = [&] {
    TCustomForm* f = Application->ModalForm();
    if (f == nullptr || clicked) return;
    if (shownAt == 0) shownAt = ui->now() + 1;
    if (ui->now() + 1 - shownAt >= 500) {
      clicked = true;
      ui->click(*ButtonWithText(*f, "Ok"));
    }
  };
  int result = VarkDialog("Info", "Waiting", ctInformation, {mbOK}, cbprCustom, clWindow, true,
                          0x00FFA028, false, false);
  ui->OnIdle = nullptr;
  EXPECT_EQ(result, mrOk);
  EXPECT_GE(ticks, 500 / 16);
}

TEST_F(Dialog, TheWindowIsFreedWhenShowingFails) {
  // With no button and nothing else to happen the headless modal loop gives
  // up by throwing: the dialog must not leave its window behind.
  int formsBefore = Screen->FormCount();
  EXPECT_THROW(VarkDialog("Info", "Nothing will answer", ctWarning, {}, cbprCustom, clWindow, true,
                          0x00FFA028, false, true),
               vark::HeadlessStall);
  EXPECT_EQ(Screen->FormCount(), formsBefore);
  EXPECT_EQ(Application->ModalForm(), nullptr);
}

TEST_F(Dialog, ButtonsCopyTheDesignButtonAndShareItsGroups) {
  CDialog dialog;
  dialog.SetButtons({mbYes, mbNo});
  CButton& design = dialog.ButtonDesign();
  design.SetRoundVal(4);
  design.Font().SetName("Tahoma");
  design.UnderLine().SetUline(false);
  design.TextColors().SetLeave(0x00112233);
  design.SetAccentColor(acNone);
  bool looked = false;
  ui->OnIdle = [&] {
    TCustomForm* f = Application->ModalForm();
    if (f == nullptr || looked) return;
    looked = true;
    for (CButton* b : ControlsOf<CButton>(*f)) {
      SCOPED_TRACE(b->Text());
      EXPECT_EQ(b->RoundAmount(), 4);
      EXPECT_EQ(b->Font().Name(), "Tahoma");
      EXPECT_FALSE(b->UnderLine().Enable());
      EXPECT_EQ(b->TextColors().Leave(), 0x00112233u);
      EXPECT_EQ(b->UseAccentColor(), acNone);
      EXPECT_TRUE(b->Preset().IgnoreGlobalSync());
      EXPECT_EQ(b->GradientOptions().get(), design.GradientOptions().get());
      EXPECT_EQ(b->FontAutoSize().get(), design.FontAutoSize().get());
    }
    ui->click(*ButtonWithText(*f, "No"));
  };
  EXPECT_EQ(dialog.Execute(), mrNo);
  ui->OnIdle = nullptr;
  EXPECT_TRUE(looked);
  // The shared groups outlive the buttons; the design button still uses them.
  design.GradientOptions()->SetEnabled(true);
  EXPECT_TRUE(design.GradientOptions()->Enabled());
}

TEST_F(Dialog, APresetOfTheDesignButtonIsAppliedWhileItsLookIsCopied) {
  // The buttons sit on the window while they take the design button's look,
  // so each copied setting paints and applies the preset copied so far; the
  // border colour is set after that. The Fluent kinds end as custom buttons
  // that follow the form's colour, which a Fluent preset turned on.
  constexpr TColor kWindow = 0x00F0F0F0, kStrip = 0x00DCDCDC;
  struct Case {
    const char* name;
    CButtonPreset kind;
    bool applyOnce;
    TColor border;
  };
  const Case cases[] = {
      {"custom", cbprCustom, false, kStrip},
      {"Metro, once", cbprMetro, true, kStrip},
      {"Fluent", cbprFluent, false, kWindow},
      {"Fluent round", cbprFluentRound, false, kWindow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDialog dialog;
    dialog.ButtonDesign().SetAccentColor(acNone);
    dialog.ButtonDesign().Preset().SetKind(c.kind);
    dialog.ButtonDesign().Preset().SetApplyOnce(c.applyOnce);
    ui->OnIdle = [&] {
      TCustomForm* f = Application->ModalForm();
      if (f == nullptr) return;
      CButton& ok = *ButtonWithText(*f, "Ok");
      EXPECT_EQ(ok.Preset().Kind(), cbprCustom);
      EXPECT_EQ(ok.Pen().Color(), c.border);
      EXPECT_EQ(ui->pixel(*f, ok.Left(), ok.Top()), c.border);
      ui->click(ok);
    };
    EXPECT_EQ(dialog.Execute(), mrOk);
    ui->OnIdle = nullptr;
  }
}

}  // namespace
