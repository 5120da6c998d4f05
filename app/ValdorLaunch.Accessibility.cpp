// The window for a player who does not use the mouse or the screen.
//
// What a screen reader is told beyond what each control says of itself: the
// eight rows form the list "Editions", each row a list item named by its
// caption, the selected edition selected, "select" doing what a click on the
// row does; the gear button is "Change window width"; the cross label is a
// push button "Close" whose "click" closes the window; the progress bar says
// what it shows; the cheat note describes the check box; the list-file
// buttons say which list they open. A caption misspelled on screen is spelled
// right in its name: a speech synthesiser reads a misspelling as noise.
//
// The keyboard: Up and Down select the previous and the next edition, Home
// and End the first and the last, exactly as a click on that row would (the
// star, the indicator's slide, selectedindex), wherever the focus is, unless
// the focused control uses those keys itself; and the focus goes to the list.
// There it is on the selected edition's row, which shows it. Return and Space
// in the list start the selected edition's game as the launch button does.
// The list stands just before the launch button: Tab leaves it to the launch
// button, Shift+Tab to the control before the launch button (the last one,
// around the end). It is no tab stop: Tab and Shift+Tab go round the buttons
// and the check box as they always have. Left and Right move the focus among
// the controls, and do nothing in the list, which has one column.
//
// A gamepad goes the keyboard's way (platform/ui/PadInput.h): its directions
// are the arrows, A presses the focused control (in the list: starts the
// game, as Return does), B backs out of a dialog. The window gives the two
// buttons in the pad's middle a meaning of their own: Start presses Launch,
// wherever the focus is, and Back changes the window's width as the gear does.
#include <algorithm>

#include "app/ValdorLaunch.Store.h"
#include "app/ValdorLaunch.h"
#include "platform/ui/Keys.h"
#include "platform/ui/a11y/AccessibleList.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace {

bool NoModifiers(TShiftState shift) {
  return !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
}

}  // namespace

void TForm1::DescribeForAssistiveTechnology() {
  using vark::a11y::Role;
  vark::a11y::ControlAccessible& cross = Xbutton->Accessibility();
  cross.SetRole(Role::PushButton);
  cross.SetName("Close");
  cross.AddAction("click", [this] { Xbutton->Click(); });
  CButton2->Accessibility().SetName("Change window width");
  StartProgress->Accessibility().SetName("Starting the game");

  Label2->Accessibility().SetName("Additional");
  BtLauncher->Accessibility().SetName("Open launcher if available");
  Label13->Accessibility().SetName(
      "To access this menu you need to be in 16 bit color mode and in windowed mode. (F4)");
  CheckBox1->Accessibility().SetDescribedBy(*Label13);
  const struct {
    CButton* button;
    const char* description;
  } lists[] = {
      {CButton5, "Opens the list of the editions' folders"},
      {CButton6, "Opens the list of the editions' game programs"},
      {CButton7, "Opens the list of the editions' launchers"},
      {CButton8, "Opens the list of the editions' map editors"},
  };
  for (const auto& list : lists)
    list.button->Accessibility().SetDescription(list.description);

  editions_ = std::make_unique<vark::a11y::AccessibleList>(
      *this, "Editions", [](const TControl& row) { return row.Tag() == selectedindex; });
  const TLabel* captions[] = {Label3, Label5, Label6, Label7, Label8, Label9, Label10, Label11};
  for (size_t i = 0; i < rows_.size(); ++i) {
    editions_->Add(*rows_[i]);
    rows_[i]->Accessibility().SetName(captions[i]->Caption());
    rows_[i]->OnEnter = [this](TObject* Sender) { EditionRowEnter(Sender); };
    rows_[i]->OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState Shift) {
      EditionListKeyDown(Key, Shift);
    };
    rows_[i]->OnKeyUp = [this](TObject*, uint16_t& Key, TShiftState) { EditionListKeyUp(Key); };
  }
}

TPanel* TForm1::SelectedRow() const {
  if (selectedindex < 1 || selectedindex > kEditionCount) return nullptr;
  return rows_[static_cast<size_t>(selectedindex - 1)];
}

bool TForm1::EditionListFocused() const {
  return std::find(rows_.begin(), rows_.end(), ActiveControl()) != rows_.end();
}

void TForm1::FocusEditionList() {
  TPanel* row = SelectedRow();
  if (row != nullptr && row != ActiveControl() && row->CanFocus()) row->SetFocus();
}

void TForm1::EditionRowEnter(TObject* Sender) {
  // A row reached another way (Left, Right, a screen reader's request) hands
  // the focus on to the selected one: the list's focused item is its selection.
  spaceHeld_ = false;
  if (Sender != SelectedRow()) FocusEditionList();
}

void TForm1::EditionListKeyDown(uint16_t& Key, TShiftState Shift) {
  if (Key == VK_SPACE && NoModifiers(Shift)) {
    spaceHeld_ = true;
    Key = 0;
  }
}

void TForm1::EditionListKeyUp(uint16_t& Key) {
  // Like a button, on the release: a held key's repeats start nothing more.
  if (Key != VK_SPACE || !spaceHeld_) return;
  spaceHeld_ = false;
  Key = 0;
  CButton1->Click();
}

void TForm1::CMDialogKey(TCMDialogKey& Message) {
  const bool plain = NoModifiers(Message.Shift);
  if (EditionListFocused() && LeaveOrUseEditionList(Message)) return;
  int edition;
  switch (Message.CharCode) {
    case VK_UP:
      edition = selectedindex - 1;
      break;
    case VK_DOWN:
      edition = selectedindex + 1;
      break;
    case VK_HOME:
      edition = 1;
      break;
    case VK_END:
      edition = kEditionCount;
      break;
    default:
      TForm::CMDialogKey(Message);
      return;
  }
  if (!plain) {
    TForm::CMDialogKey(Message);
    return;
  }
  // Past either end the selection stays where it is.
  rows_[static_cast<size_t>(std::clamp(edition, 1, kEditionCount) - 1)]->Click();
  FocusEditionList();
  Message.Result = 1;
}

bool TForm1::PadButtonDown(TPadButton Button) {
  switch (Button) {
    case pbStart:
      // The launch button's own path: the cheat switch, the bar, the dialogs.
      CButton1->Click();
      return true;
    case pbBack:
      CButton2->Click();
      return true;
    default:
      return false;
  }
}

bool TForm1::LeaveOrUseEditionList(TCMDialogKey& Message) {
  const TShiftState shift = Message.Shift;
  switch (Message.CharCode) {
    case VK_TAB:
      if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return false;
      // The list's place is just before the launch button.
      if (!shift.Contains(ssShift) && CButton1->TabStop() && CButton1->CanFocus()) {
        CButton1->SetFocus();
      } else {
        SelectNext(CButton1, !shift.Contains(ssShift), true);
      }
      break;
    case VK_RETURN:
      if (!NoModifiers(shift)) return false;
      // The launch button's own path: the cheat switch, the bar, the dialogs.
      CButton1->Click();
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (!NoModifiers(shift)) return false;
      break;
    default:
      return false;
  }
  Message.Result = 1;
  return true;
}
