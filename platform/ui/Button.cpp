#include "platform/ui/Button.h"

#include "platform/ui/FocusRect.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Keys.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/a11y/Accessible.h"

namespace {

constexpr TColor kFace = RGB(225, 225, 225);
constexpr TColor kBorder = RGB(173, 173, 173);
constexpr TColor kFaceHot = RGB(229, 241, 251);
constexpr TColor kBorderHot = RGB(0, 120, 215);
constexpr TColor kFacePressed = RGB(204, 228, 247);
constexpr TColor kBorderPressed = RGB(0, 84, 153);
constexpr TColor kFaceDisabled = RGB(204, 204, 204);
constexpr TColor kBorderDisabled = RGB(191, 191, 191);

bool NoModifiers(TShiftState shift) {
  return !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
}

}  // namespace

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
  default_ = value;
  Invalidate();
}

void TButton::Click() {
  TWeakRef<TButton> self(this);
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TCustomControl::Click();
  (void)self;
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus()) SetFocus();
    mouseHeld_ = true;
    pressed_ = true;
    Invalidate();
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseMove(TShiftState Shift, int X, int Y) {
  if (mouseHeld_) {
    bool over = ClientRect().Contains({X, Y});
    if (over != pressed_) {
      pressed_ = over;
      Invalidate();
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    mouseHeld_ = false;
    pressed_ = false;
    Invalidate();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButton::CMMouseEnter() {
  hot_ = true;
  Invalidate();
  TCustomControl::CMMouseEnter();
}

void TButton::CMMouseLeave() {
  hot_ = false;
  Invalidate();
  TCustomControl::CMMouseLeave();
}

void TButton::CMDialogKey(TCMDialogKey& Message) {
  bool answers =
      (Message.CharCode == VK_RETURN && default_) || (Message.CharCode == VK_ESCAPE && cancel_);
  if (answers && NoModifiers(Message.Shift) && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  TCustomControl::CMDialogKey(Message);
}

bool TButton::WantsKey(uint16_t Key, TShiftState) const {
  // The focused button takes Return itself (it is the default while focused).
  return Key == VK_RETURN;
}

void TButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  TWeakRef<TButton> self(this);
  if (Key == VK_RETURN && !Shift.Contains(ssAlt)) {
    Click();
    if (!self) return;
  } else if (Key == VK_SPACE && NoModifiers(Shift)) {
    spaceHeld_ = true;
    pressed_ = true;
    Invalidate();
  }
  TCustomControl::KeyDown(Key, Shift);
}

void TButton::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (Key == VK_SPACE && spaceHeld_) {
    spaceHeld_ = false;
    pressed_ = false;
    Invalidate();
    TWeakRef<TButton> self(this);
    Click();
    if (!self) return;
  }
  TCustomControl::KeyUp(Key, Shift);
}

void TButton::DoEnter() {
  Invalidate();
  TCustomControl::DoEnter();
}

void TButton::DoExit() {
  spaceHeld_ = false;
  pressed_ = false;
  Invalidate();
  TCustomControl::DoExit();
}

void TButton::Paint() {
  TCanvas& c = Canvas();
  bool enabled = EnabledInTree();
  TColor face = !enabled ? kFaceDisabled : pressed_ ? kFacePressed : hot_ ? kFaceHot : kFace;
  TColor border = !enabled                        ? kBorderDisabled
                  : pressed_                      ? kBorderPressed
                  : hot_ || Focused() || default_ ? kBorderHot
                                                  : kBorder;
  c.Pen().SetStyle(psSolid);
  c.Pen().SetWidth(1);
  c.Pen().SetColor(border);
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(face);
  c.Rectangle(0, 0, Width(), Height());
  TFont font;
  font.Assign(Font());
  if (!enabled) font.SetColor(clGrayText);
  c.SetFont(font);
  c.Brush().SetStyle(bsClear);
  TRect r = ClientRect();
  vark::ui::TextBlock block =
      vark::ui::LayoutText(c, vark::ui::StripAccelChars(Caption()), r.Width(), false);
  vark::ui::DrawTextBlock(c, block, r, taCenter, tlCenter);
  TCustomForm* form = GetParentForm(this);
  if (Focused() && form != nullptr && form->Window().keyboardUsed) {
    vark::ui::DrawFocusRect(c, Rect(3, 3, Width() - 3, Height() - 3), clBlack);
  }
}

void TButton::DescribeAccessible(vark::a11y::Facts& facts) const {
  TCustomControl::DescribeAccessible(facts);
  facts.role = vark::a11y::Role::PushButton;
  facts.name = vark::ui::StripAccelChars(Caption());
  facts.actions.emplace_back("click");
}

void TButton::DoAccessibleAction(std::string_view action) {
  if (action == "click") Click();
}
