// Edition selection and the window's two animations. Both run on 1 ms timers
// and count their length in ticks: the indicator moves a tenth of the way to
// its row per tick (stretched while it moves), and the window's width glides
// a tenth of the way to its target per tick. Each stops once within 2 pixels.
//
// A row's picture, caption and mark forward their clicks to the row.
#include <cstdlib>

#include "app/ValdorLaunch.Store.h"
#include "app/ValdorLaunch.h"
#include "controls/Vark.StandardIcons.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Timer.h"
#include "platform/ui/a11y/AccessibleList.h"
#include "support/Vark.SysUtils.h"

namespace {

// Runs the click handler of the control's parent (the row) as if the row had
// been clicked.
void ForwardClickToParent(TObject* Sender) {
  auto* control = dynamic_cast<TControl*>(Sender);
  if (control == nullptr || control->Parent() == nullptr) return;
  TWinControl* row = control->Parent();
  FireEvent(row->OnClick, row);
}

}  // namespace

void TForm1::Image2Click(TObject* Sender) {
  ForwardClickToParent(Sender);
}

void TForm1::Label3Click(TObject* Sender) {
  ForwardClickToParent(Sender);
}

void TForm1::ValdorOption_1Click(TObject* Sender) {
  auto* row = dynamic_cast<TControl*>(Sender);
  if (row == nullptr) return;
  const int t = row->Tag();
  if (t == selectedindex) return;
  SelectItem(t);
  gotopos = row->Top() + Scaled(6);
  ShapeMove->SetEnabled(true);
}

void TForm1::SelectItem(int index) {
  for (CStandardIcon* mark : marks_)
    mark->SetIcon(ciconNone);
  if (index < 1 || index > kEditionCount) return;
  CStandardIcon* mark = marks_[static_cast<size_t>(index - 1)];
  mark->SetIcon(ciconStar);
  mark->Invalidate();
  selectedindex = index;
  editions_->SelectionChanged();
  // The keyboard in the list stays on the selected edition.
  if (EditionListFocused()) FocusEditionList();
}

void TForm1::ShapeMoveTimer(TObject*) {
  const int T = Indicator->Top();
  const int G = gotopos;
  int step = (G - T) / 10;  // truncates toward zero
  // The direction comes from the step before a short distance is rounded up
  // to one pixel, so the last pixels of a move up keep the bar shorter.
  const int dir = step < 0 ? -1 : 1;
  if (step == 0) step = G - T < 0 ? -1 : 1;
  Indicator->SetTop(T + step);
  const int hold = Indicator->Height();
  Indicator->SetHeight(step * dir * 4 + indicheight);
  // A bar below its target grows upward, toward the target.
  if (Indicator->Top() > G && Indicator->Height() > hold) {
    Indicator->SetTop(Indicator->Top() - (Indicator->Height() - hold));
  }
  if (EqualApprox(Indicator->Top(), G, 2.0)) {
    ShapeMove->SetEnabled(false);
    Indicator->SetHeight(Scaled(25));
  }
}

void TForm1::ChangeSizeMode(TObject*) {
  formsize = formsize == maxs ? mins : maxs;
  SizeSetter->SetEnabled(true);
}

void TForm1::SizeSetterTimer(TObject*) {
  const int W = Width();
  int s = static_cast<int>(std::abs(formsize - W) * 0.1);
  if (s < 1) s = 1;
  if (W - formsize > 0) s = -s;
  SetWidth(W + s);
  PlaceCross();
  if (EqualApprox(Width(), formsize, 2.0)) {
    SetWidth(formsize);
    SizeSetter->SetEnabled(false);
    Xbutton->Repaint();
  }
}
