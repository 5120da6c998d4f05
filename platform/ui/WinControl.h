// TWinControl: a control that holds other controls and can take the keyboard
// focus. Its children paint in their order (graphic controls first, beneath
// every windowed child; then the windowed ones, each above the ones made
// before it). It has a tab order and a tab stop, the enter and exit
// notifications of the focus, and the key events.
//
// Keys: a key pressed while a control has the focus is first offered to its
// form as a dialog key when it is Tab, an arrow, Return or Escape and the
// control does not want it itself (WantsKey): Tab moves the focus, and the
// others go to every control of the form (CMDialogKey) until one acts on it.
// Otherwise the key reaches KeyDown (OnKeyDown), its character KeyPress
// (OnKeyPress) and its release KeyUp (OnKeyUp).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/Control.h"

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // Children, bottom of the painting order first.
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(index); }
  const std::vector<TControl*>& ControlList() const { return controls_; }
  // Whether control is this one or lies anywhere inside it.
  bool ContainsControl(const TControl* control) const;
  // The child whose bounds hold p (client coordinates), topmost first; null if none.
  TControl* ControlAtPos(TPoint p, bool AllowDisabled = false, bool AllowWinControls = true) const;

  // Tab order: Tab visits the windowed siblings by increasing TabOrder. A new
  // control comes after its siblings; of two equal orders, the one set last
  // comes first, as inserting at that position would put it.
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }
  // Showing and enabled all the way up, on a form that is shown.
  virtual bool CanFocus() const;
  // Gives this control the keyboard focus; EInvalidOperation when it cannot
  // take it.
  virtual void SetFocus();
  bool Focused() const;
  // The controls inside this one in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The control after (or before) CurControl in the tab order that can take the
  // focus (and has a tab stop, when CheckTabStop); wraps around.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  // Focuses the first control in tab order.
  void SelectFirst();

  // With ParentBackground the control paints no background of its own: what
  // lies beneath it shows.
  bool ParentBackground() const { return parentBackground_; }
  void SetParentBackground(bool value);

  // Alignment of the children (Align, margins, anchors).
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  void Realign();
  // The size message: the framework re-aligns the children, applies their
  // anchors and runs OnResize. A form may handle it itself instead.
  virtual void WMSize(TWMSize& Message);

  void ChangeScale(int M, int D) override;
  TWinControl* AsWinControl() override { return this; }
  const TWinControl* AsWinControl() const override { return this; }

  // The key that presses this control: Return (a button, a list's item) by
  // default. A gamepad's A is this key (PadInput.h).
  virtual uint16_t PressKey() const;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  friend class TControl;
  friend class TCustomForm;

  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  // Offers the key to every control inside this one, in order, until one sets
  // Result.
  void CMDialogKey(TCMDialogKey& Message) override;
  // Keys the control handles itself rather than offering them to the form as
  // dialog keys (the classic dialog code).
  virtual bool WantsKey(uint16_t Key, TShiftState Shift) const;
  // Places the aligned children inside rect (client coordinates).
  virtual void AlignControls(TControl* AControl, TRect& rect);
  // The rectangle aligned children share; the client rectangle by default.
  virtual TRect AlignRect() const { return ClientRect(); }
  // A windowed control is erased with its colour before it paints, unless it
  // lets the background show (ParentBackground or a transparent control).
  virtual bool ErasesBackground() const;

  void FontChanged() override;
  void Loaded() override;
  void SizeChanged() override;
  // Adds whether it takes the focus and has it.
  void DescribeAccessible(vark::a11y::Facts& facts) const override;

 private:
  friend class vark::ui::Dispatch;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void AlignChildren();

  std::vector<TControl*> controls_;
  int tabOrder_ = 0;
  uint64_t tabStamp_ = 0;  // when the tab order was set, to break ties
  bool tabStop_ = false;
  bool parentBackground_ = false;
  int alignDisabled_ = 0;
  bool aligning_ = false;

 protected:
  // While above 0, a size change does not move anchored children (scaling moves
  // them itself).
  int anchorsFrozen_ = 0;
};
