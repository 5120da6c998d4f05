// TButton: a plain push button. A left click on it, Space while it has the
// focus, or Return while it has the focus clicks it; Return (Escape) pressed
// anywhere on its form clicks a Default (Cancel) button when no Shift, Ctrl or
// Alt is held. A click sets the form's ModalResult to the button's, then runs
// OnClick; a non-zero result ends the form's modal loop. The framework's
// message boxes use it.
#pragma once

#include "platform/ui/CustomControl.h"

class TButton : public TCustomControl {
 public:
  explicit TButton(TComponent* AOwner);

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseEnter() override;
  void CMMouseLeave() override;
  void CMDialogKey(TCMDialogKey& Message) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;
  void TextChanged() override { Invalidate(); }
  // A push button, named by its caption, whose action "click" clicks it.
  void DescribeAccessible(vark::a11y::Facts& facts) const override;
  void DoAccessibleAction(std::string_view action) override;
  bool WantsKey(uint16_t Key, TShiftState Shift) const override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
  bool hot_ = false;
  bool pressed_ = false;
  bool mouseHeld_ = false;
  bool spaceHeld_ = false;
};
