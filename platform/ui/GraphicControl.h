// TGraphicControl: a control without a window of its own (a label, a picture,
// a shape). It paints on its parent, beneath the parent's windowed children,
// through its own canvas, which is bound to the window at the control's place
// and clipped to what of it is visible.
#pragma once

#include "platform/ui/Control.h"

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);

  TCanvas& Canvas();

 protected:
  virtual void Paint() {}
  void PaintInWindow(TBitmap& surface, const TRect& clip) override;

 private:
  TCanvas canvas_;
  bool painting_ = false;
};
