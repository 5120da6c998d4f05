// TCheckBox: a box that is ticked or not, with a caption. A left click on it or
// Space while it has the focus toggles it (on the release, so a press dragged
// off the box changes nothing), and toggling runs OnClick, as does setting
// Checked from code (but not while the form loads). Alignment taRightJustify
// (the default) puts the caption right of the box, taLeftJustify left of it.
// The focused box shows a dotted focus rectangle around its caption once the
// keyboard has been used in its window.
#pragma once

#include "platform/ui/CustomControl.h"

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TCustomControl {
 public:
  explicit TCheckBox(TComponent* AOwner);

  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value);
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  // The box's rectangle (client coordinates), for tests and hit checks.
  TRect BoxRect() const;
  static constexpr int kBoxSize = 13;  // at 96 pixels per inch
  // The box grows with the display's scale, as the caption does.
  void ChangeScale(int M, int D) override;

  // Space toggles a check box; Return leaves it alone.
  uint16_t PressKey() const override;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseEnter() override;
  void CMMouseLeave() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;
  void Paint() override;
  void TextChanged() override { Invalidate(); }
  // A check box, named by its caption, whose action "toggle" toggles it.
  void DescribeAccessible(vark::a11y::Facts& facts) const override;
  void DoAccessibleAction(std::string_view action) override;
  bool ErasesBackground() const override { return !ParentBackground(); }
  // Moves to the next state (unchecked, checked, grayed when allowed).
  virtual void Toggle();

 private:
  TCheckBoxState state_ = cbUnchecked;
  int boxSize_ = kBoxSize;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
  bool wordWrap_ = false;
  bool hot_ = false;
  bool pressed_ = false;  // the pressed look: mouse held over it or Space down
  bool mouseHeld_ = false;
  bool spaceHeld_ = false;
};
