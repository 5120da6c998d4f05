#include "platform/ui/CustomControl.h"

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  canvas_.SetDamageListener([this](const TRect& r) {
    if (!painting_) NoteDirectDamage(r);
  });
}

TCanvas& TCustomControl::Canvas() {
  if (!painting_) BindCanvas(canvas_);
  return canvas_;
}

void TCustomControl::PaintInWindow(TBitmap&, const TRect& clip) {
  struct Flag {
    bool& f;
    explicit Flag(bool& flag) : f(flag) { f = true; }
    ~Flag() { f = false; }
  } flag(painting_);
  BindCanvas(canvas_, clip);
  if (ErasesBackground()) {
    // The window's own erase, with its colour, on a canvas of its own so the
    // control's canvas (and a recorder on it) sees only what Paint draws.
    TCanvas erase;
    BindCanvas(erase, clip);
    erase.Brush().SetColor(Color());
    erase.FillRect(ClientRect());
  }
  Paint();
}
