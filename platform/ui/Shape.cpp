#include "platform/ui/Shape.h"

#include <algorithm>

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 65);
}

void TShape::SetShape(TShapeType value) {
  if (shape_ == value) return;
  shape_ = value;
  Invalidate();
}

void TShape::SetPen(const TPen& value) {
  pen_ = value;
  Invalidate();
}

void TShape::SetBrush(const TBrush& value) {
  brush_ = value;
  Invalidate();
}

void TShape::Paint() {
  // The classic shape's geometry: the outline sits inside the bounds, half the
  // pen in from each edge; square kinds centre a square of the shorter side.
  TCanvas& c = Canvas();
  c.Pen() = pen_;
  c.Brush() = brush_;
  int x = pen_.Width() / 2;
  int y = x;
  int w = Width() - pen_.Width() + 1;
  int h = Height() - pen_.Width() + 1;
  if (pen_.Width() == 0) {
    --w;
    --h;
  }
  int s = std::min(w, h);
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = s;
    h = s;
  }
  switch (shape_) {
    case stRectangle:
    case stSquare:
      c.Rectangle(x, y, x + w, y + h);
      break;
    case stRoundRect:
    case stRoundSquare:
      c.RoundRect(x, y, x + w, y + h, s / 4, s / 4);
      break;
    case stEllipse:
    case stCircle:
      c.Ellipse(x, y, x + w, y + h);
      break;
  }
}
