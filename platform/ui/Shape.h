// TShape: a rectangle, rounded rectangle or ellipse (or their square and circle
// forms) drawn with its own pen and brush. Change Pen() or Brush() and call
// Invalidate, or use SetPen/SetBrush, which repaint.
#pragma once

#include "platform/ui/GraphicControl.h"

enum TShapeType : uint8_t {
  stRectangle,
  stSquare,
  stRoundRect,
  stRoundSquare,
  stEllipse,
  stCircle
};

class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* AOwner);

  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType value);
  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  void SetPen(const TPen& value);
  void SetBrush(const TBrush& value);

 protected:
  void Paint() override;

 private:
  TShapeType shape_ = stRectangle;
  TPen pen_;
  TBrush brush_;
};
