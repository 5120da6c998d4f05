#include "platform/ui/CustomTransparentControl.h"

TCustomTransparentControl::TCustomTransparentControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetParentBackground(true);
}

bool TCustomTransparentControl::HitTest(int, int) const {
  return interceptMouse_;
}
