// A gamepad on the main window (through the headless backend, which reports
// pad buttons as the real backends do): its directions select and move the
// focus as the arrows do, a held direction repeats on the virtual clock, A
// presses the focused control, B backs out of a dialog only, Start launches
// and Back changes the width. The backends' side (SDL's pads, XInput) is
// tested with each backend.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/FormWindow.h"
#include "platform/ui/Keys.h"
#include "platform/ui/PadInput.h"
#include "tests/app/LauncherTestSupport.h"

namespace {

using vark::test::LauncherTest;
using vark::ui::PadInput;

class Gamepad : public LauncherTest {};

TEST_F(Gamepad, TheFirstPressShowsTheFocusAndDirectionsActAsTheArrows) {
  Open();
  ASSERT_FALSE(form->Window().keyboardUsed);
  ui->pressPad(pbDown);
  EXPECT_TRUE(form->Window().keyboardUsed);
  ui->pressPad(pbDown);
  EXPECT_EQ(selectedindex, 3);
  EXPECT_EQ(StarredRows(), std::vector<int>{3});
  EXPECT_TRUE(form->EditionListFocused());
  // Each direction from a few places ends where its arrow key ends.
  struct Case {
    TPadButton pad;
    uint16_t key;
  };
  const Case cases[] = {{pbUp, VK_UP}, {pbDown, VK_DOWN}, {pbLeft, VK_LEFT}, {pbRight, VK_RIGHT}};
  for (TWinControl* start :
       {static_cast<TWinControl*>(form->CButton1), static_cast<TWinControl*>(form->CheckBox1),
        static_cast<TWinControl*>(form->CButton6)}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(start->Name() + " " + std::to_string(c.key));
      form->SelectItem(4);
      start->SetFocus();
      ui->pressPad(c.pad);
      const std::pair<int, TWinControl*> byPad{selectedindex, form->ActiveControl()};
      form->SelectItem(4);
      start->SetFocus();
      ui->pressKey(c.key);
      EXPECT_EQ(byPad, std::make_pair(selectedindex, form->ActiveControl()));
      EXPECT_TRUE(byPad.first != 4 || byPad.second != start) << "nothing moved";
    }
  }
}

TEST_F(Gamepad, AHeldDirectionRepeatsAfter400MsThenEvery100UntilReleased) {
  Open();
  ui->padDown(pbDown);
  EXPECT_EQ(selectedindex, 2);
  ui->advance(PadInput::kRepeatDelayMs - 1);
  EXPECT_EQ(selectedindex, 2);
  ui->advance(1);
  EXPECT_EQ(selectedindex, 3);
  ui->advance(PadInput::kRepeatIntervalMs * 3);
  EXPECT_EQ(selectedindex, 6);
  ui->padUp(pbDown);
  ui->advance(1000);
  EXPECT_EQ(selectedindex, 6);
  // A new hold counts its delay afresh.
  ui->padDown(pbUp);
  ui->advance(PadInput::kRepeatDelayMs - 1);
  EXPECT_EQ(selectedindex, 5);
  ui->padUp(pbUp);
  ui->advance(1000);
  EXPECT_EQ(selectedindex, 5);
}

TEST_F(Gamepad, APressesTheFocusedControlStartAndBackPressTheirButtons) {
  Open();
  // A on the cheat switch toggles it, as Space does.
  form->CheckBox1->SetFocus();
  ui->pressPad(pbA);
  EXPECT_TRUE(form->CheckBox1->Checked());
  // A on the width button presses it, as Return does.
  form->CButton2->SetFocus();
  ui->pressPad(pbA);
  EXPECT_EQ(formsize, 794);
  ui->advance(1000);
  // Back is the width button wherever the focus is.
  form->CheckBox1->SetFocus();
  ui->pressPad(pbBack);
  EXPECT_EQ(formsize, mins);
  ui->advance(1000);
  // Start is Launch; A in the list starts the selected edition's game. No
  // edition is installed: each says so.
  ui->pressPad(pbStart);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Executable not found");
  ui->advance(1000);
  ui->pressPad(pbDown);
  ui->pressPad(pbA);
  EXPECT_EQ(dialogs.size(), 2u);
}

TEST_F(Gamepad, BClosesADialogAndDoesNothingInTheMainWindow) {
  Open();
  ui->pressPad(pbB);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(dialogs.empty());
  // The dialog is left open for the pad: B answers it.
  int closedByB = 0;
  onDialog = [&](TCustomForm& dialog) {
    ui->pressPad(pbB);
    if (dialog.ModalResult() == mrOk) ++closedByB;  // its only answer
    return false;
  };
  ui->pressPad(pbStart);
  EXPECT_EQ(closedByB, 1);
  EXPECT_EQ(Application->ModalForm(), nullptr);
}

}  // namespace
