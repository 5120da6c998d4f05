#include "platform/ui/CheckBox.h"

#include "platform/ui/FocusRect.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Keys.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace {

// The flat box of the current desktop look.
constexpr TColor kBorder = RGB(51, 51, 51);
constexpr TColor kBorderHot = RGB(0, 120, 215);
constexpr TColor kBorderPressed = RGB(0, 84, 153);
constexpr TColor kFillPressed = RGB(204, 228, 247);
constexpr TColor kDisabled = RGB(204, 204, 204);
constexpr int kGap = 4;  // between the box and the caption

}  // namespace

TCheckBox::TCheckBox(TComponent* AOwner) : TCustomControl(AOwner) {
  // Clicks come from toggling, not from the framework's release rule.
  TControlStyle style = ControlStyle();
  style.Exclude(csClickEvents);
  SetControlStyle(style);
  SetParentBackground(true);
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool value) {
  SetState(value ? cbChecked : cbUnchecked);
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (state_ == value) return;
  state_ = value;
  Invalidate();
  vark::a11y::Announce(*this, vark::a11y::Change::States);
  if (!ComponentState().Contains(csLoading)) Click();
}

void TCheckBox::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TCheckBox::SetWordWrap(bool value) {
  wordWrap_ = value;
  Invalidate();
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(allowGrayed_ ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

TRect TCheckBox::BoxRect() const {
  int top = (Height() - boxSize_) / 2;
  int left = alignment_ == taLeftJustify ? Width() - boxSize_ : 0;
  return Bounds(left, top, boxSize_, boxSize_);
}

void TCheckBox::ChangeScale(int M, int D) {
  TCustomControl::ChangeScale(M, D);
  if (M != D && D != 0) boxSize_ = std::max(kBoxSize, MulDiv(boxSize_, M, D));
}

void TCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus()) SetFocus();
    mouseHeld_ = true;
    pressed_ = true;
    Invalidate();
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCheckBox::MouseMove(TShiftState Shift, int X, int Y) {
  if (mouseHeld_) {
    bool over = ClientRect().Contains({X, Y});
    if (over != pressed_) {
      pressed_ = over;
      Invalidate();
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && mouseHeld_) {
    mouseHeld_ = false;
    pressed_ = false;
    Invalidate();
    TWeakRef<TCheckBox> self(this);
    if (ClientRect().Contains({X, Y})) Toggle();
    if (!self) return;
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCheckBox::CMMouseEnter() {
  hot_ = true;
  Invalidate();
  TCustomControl::CMMouseEnter();
}

void TCheckBox::CMMouseLeave() {
  hot_ = false;
  Invalidate();
  TCustomControl::CMMouseLeave();
}

uint16_t TCheckBox::PressKey() const {
  return VK_SPACE;
}

void TCheckBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (Key == VK_SPACE && !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl)) {
    spaceHeld_ = true;
    pressed_ = true;
    Invalidate();
  }
  TCustomControl::KeyDown(Key, Shift);
}

void TCheckBox::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (Key == VK_SPACE && spaceHeld_) {
    spaceHeld_ = false;
    pressed_ = false;
    Invalidate();
    TWeakRef<TCheckBox> self(this);
    Toggle();
    if (!self) return;
  }
  TCustomControl::KeyUp(Key, Shift);
}

void TCheckBox::DoEnter() {
  Invalidate();
  TCustomControl::DoEnter();
}

void TCheckBox::DoExit() {
  spaceHeld_ = false;
  pressed_ = false;
  Invalidate();
  TCustomControl::DoExit();
}

void TCheckBox::DescribeAccessible(vark::a11y::Facts& facts) const {
  using vark::a11y::State;
  TCustomControl::DescribeAccessible(facts);
  facts.role = vark::a11y::Role::CheckBox;
  facts.name = vark::ui::StripAccelChars(Caption());
  facts.states.Include(State::Checkable);
  if (state_ == cbChecked) facts.states.Include(State::Checked);
  if (state_ == cbGrayed) facts.states.Include(State::Indeterminate);
  facts.actions.emplace_back("toggle");
}

void TCheckBox::DoAccessibleAction(std::string_view action) {
  if (action == "toggle") Toggle();
}

void TCheckBox::Paint() {
  TCanvas& c = Canvas();
  bool enabled = EnabledInTree();
  TRect box = BoxRect();
  TColor border = !enabled ? kDisabled : pressed_ ? kBorderPressed : hot_ ? kBorderHot : kBorder;
  c.Pen().SetStyle(psSolid);
  c.Pen().SetWidth(1);
  c.Pen().SetColor(border);
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(pressed_ && enabled ? kFillPressed : clWhite);
  c.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
  TColor mark = enabled ? kBorder : kDisabled;
  if (state_ == cbChecked) {
    c.Pen().SetColor(mark);
    // The tick, drawn for a 13-pixel box and scaled with it.
    auto at = [&](int x, int y) {
      return TPoint{box.Left + MulDiv(x, boxSize_, kBoxSize),
                    box.Top + MulDiv(y, boxSize_, kBoxSize)};
    };
    c.Pen().SetWidth(MulDiv(2, boxSize_, kBoxSize));
    c.MoveTo(at(3, 6).X, at(3, 6).Y);
    c.LineTo(at(5, 9).X, at(5, 9).Y);
    c.LineTo(at(10, 3).X, at(10, 3).Y);
    c.Pen().SetWidth(1);
  } else if (state_ == cbGrayed) {
    c.Brush().SetColor(mark);
    const int inset = MulDiv(3, boxSize_, kBoxSize);
    c.FillRect(Rect(box.Left + inset, box.Top + inset, box.Right - inset, box.Bottom - inset));
  }

  TFont font;
  font.Assign(Font());
  if (!enabled) font.SetColor(clGrayText);
  c.SetFont(font);
  c.Brush().SetStyle(bsClear);
  TRect text = alignment_ == taLeftJustify ? Rect(0, 0, box.Left - kGap, Height())
                                           : Rect(box.Right + kGap, 0, Width(), Height());
  vark::ui::TextBlock block =
      vark::ui::LayoutText(c, vark::ui::StripAccelChars(Caption()), text.Width(), wordWrap_);
  vark::ui::DrawTextBlock(c, block, text, taLeftJustify, tlCenter);

  TCustomForm* form = GetParentForm(this);
  if (Focused() && form != nullptr && form->Window().keyboardUsed && !Caption().empty()) {
    int top = text.Top + (text.Height() - block.height) / 2;
    TRect focus = Rect(text.Left - 1, top - 1, text.Left + block.width + 1, top + block.height + 1);
    vark::ui::DrawFocusRect(c, IntersectRect(focus, ClientRect()), font.Color());
  }
}
