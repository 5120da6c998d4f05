// TCustomTransparentControl: a custom-drawn control through which what lies
// beneath shows: the event loop paints the parent and the sibling controls
// beneath it first, and the control draws only where it wants to. The mouse
// passes through it to what lies beneath unless InterceptMouse is set.
#pragma once

#include "platform/ui/CustomControl.h"

class TCustomTransparentControl : public TCustomControl {
 public:
  explicit TCustomTransparentControl(TComponent* AOwner);

  bool InterceptMouse() const { return interceptMouse_; }
  void SetInterceptMouse(bool value) { interceptMouse_ = value; }

 protected:
  bool HitTest(int X, int Y) const override;
  bool ErasesBackground() const override { return false; }

 private:
  bool interceptMouse_ = false;
};
