#include "platform/ui/GraphicControl.h"

#include "platform/ui/Painter.h"

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  canvas_.SetDamageListener([this](const TRect& r) {
    if (!painting_) NoteDirectDamage(r);
  });
}

TCanvas& TGraphicControl::Canvas() {
  if (!painting_) BindCanvas(canvas_);
  return canvas_;
}

void TGraphicControl::PaintInWindow(TBitmap&, const TRect& clip) {
  struct Flag {
    bool& f;
    explicit Flag(bool& flag) : f(flag) { f = true; }
    ~Flag() { f = false; }
  } flag(painting_);
  BindCanvas(canvas_, clip);
  Paint();
}
