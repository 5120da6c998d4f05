// TImage: a picture painted on its parent. At its own size by default; Stretch
// scales it to the control, Proportional scales a picture that does not fit
// down to fit with its aspect kept (never up, unless Stretch is set too), and
// Center centres it. Drawing goes through TCanvas::StretchDraw, so scaled and
// translucent pictures are composited by the picture engine.
//
// A scaled picture is scaled once and kept at the size it is shown at, so that
// repainting the window does not scale a large picture again; the copy is made
// afresh when the picture (through Picture(), which reports its changes) or the
// size shown changes. A picture that will be scaled is asked to prepare for
// the size as soon as both are known (a large JPEG then decodes while the
// window is still being built).
#pragma once

#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/GraphicControl.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);

  TPicture& Picture() { return picture_; }
  const TPicture& Picture() const { return picture_; }
  void SetPicture(const TPicture& value) { picture_.Assign(&value); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);

  // Where the picture lands, in client coordinates.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  TPicture picture_;
  bool stretch_ = false;
  bool proportional_ = false;
  bool center_ = false;
  std::unique_ptr<TBitmap> scaled_;  // the picture at the size shown, while it is scaled
  void PrepareScaled() const;
};
