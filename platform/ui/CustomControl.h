// TCustomControl: a windowed control that draws itself. Paint draws on Canvas,
// which is bound to the window's back buffer at the control's place and clipped
// to what of the control is visible. The event loop calls Paint when the
// control's area needs painting (after Invalidate); a control may also call
// Paint itself at any time: it draws into the back buffer at once, and the
// window shows it with the next frame.
#pragma once

#include "platform/ui/WinControl.h"

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);

  TCanvas& Canvas();

 protected:
  virtual void Paint() {}
  void PaintInWindow(TBitmap& surface, const TRect& clip) override;

 private:
  TCanvas canvas_;
  bool painting_ = false;
};
