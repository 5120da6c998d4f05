// The window for a player who does not use the mouse or the screen.
//
// What a screen reader is told beyond what each control says of itself: the
// eight rows form the list "Editions", each row a list item named by its
// caption, the selected edition selected, "select" doing what a click on the
// row does; the gear button is "Change window width"; the cross label is a
// push button "Close" whose "click" closes the window.
//
// The keyboard: Up and Down select the previous and the next edition, Home
// and End the first and the last, exactly as a click on that row would (the
// star, the indicator's slide, selectedindex), wherever the focus is, unless
// the focused control uses those keys itself. Left and Right still move the
// focus among the controls, Tab and Shift+Tab through the tab order.
#include <algorithm>

#include "app/ValdorLaunch.Store.h"
#include "app/ValdorLaunch.h"
#include "platform/ui/Keys.h"
#include "platform/ui/a11y/AccessibleList.h"
#include "platform/ui/a11y/ControlAccessible.h"

void TForm1::DescribeForAssistiveTechnology() {
  using vark::a11y::Role;
  vark::a11y::ControlAccessible& cross = Xbutton->Accessibility();
  cross.SetRole(Role::PushButton);
  cross.SetName("Close");
  cross.AddAction("click", [this] { Xbutton->Click(); });
  CButton2->Accessibility().SetName("Change window width");

  editions_ = std::make_unique<vark::a11y::AccessibleList>(
      *this, "Editions", [](const TControl& row) { return row.Tag() == selectedindex; });
  const TLabel* captions[] = {Label3, Label5, Label6, Label7, Label8, Label9, Label10, Label11};
  for (size_t i = 0; i < rows_.size(); ++i) {
    editions_->Add(*rows_[i]);
    rows_[i]->Accessibility().SetName(captions[i]->Caption());
  }
}

void TForm1::CMDialogKey(TCMDialogKey& Message) {
  const bool plain = !Message.Shift.Contains(ssShift) && !Message.Shift.Contains(ssCtrl) &&
                     !Message.Shift.Contains(ssAlt);
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
  Message.Result = 1;
}
