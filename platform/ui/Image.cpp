#include "platform/ui/Image.h"

#include "platform/graphics/Graphic.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  picture_.OnChange = [this] {
    scaled_.reset();
    PrepareScaled();
    Invalidate();
  };
  SetBounds(0, 0, 105, 105);
}

void TImage::SetStretch(bool value) {
  if (stretch_ == value) return;
  stretch_ = value;
  PrepareScaled();
  Invalidate();
}

void TImage::PrepareScaled() const {
  const TGraphic* graphic = picture_.Graphic();
  if (graphic == nullptr || graphic->Empty()) return;
  const TRect dest = DestRect();
  if (dest.IsEmpty() || (dest.Width() == graphic->Width() && dest.Height() == graphic->Height())) {
    return;
  }
  graphic->PrepareFor(dest.Width(), dest.Height());
}

void TImage::SetProportional(bool value) {
  if (proportional_ == value) return;
  proportional_ = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  if (center_ == value) return;
  center_ = value;
  Invalidate();
}

TRect TImage::DestRect() const {
  int w = picture_.Width(), h = picture_.Height();
  int cw = ClientWidth(), ch = ClientHeight();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_ && w > 0 && h > 0) {
      // Fit the longer side, then the other one if it still overflows.
      double aspect = static_cast<double>(w) / h;
      if (w > h) {
        w = cw;
        h = static_cast<int>(cw / aspect);
        if (h > ch) {
          h = ch;
          w = static_cast<int>(ch * aspect);
        }
      } else {
        h = ch;
        w = static_cast<int>(ch * aspect);
        if (w > cw) {
          w = cw;
          h = static_cast<int>(cw / aspect);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Rect(0, 0, w, h);
  if (center_) r.Offset((cw - w) / 2, (ch - h) / 2);
  return r;
}

void TImage::Paint() {
  const TGraphic* graphic = picture_.Graphic();
  if (graphic == nullptr || graphic->Empty()) return;
  TRect dest = DestRect();
  if (dest.IsEmpty()) return;
  if (dest.Width() == graphic->Width() && dest.Height() == graphic->Height()) {
    Canvas().Draw(dest.Left, dest.Top, *graphic);
    return;
  }
  if (!scaled_ || scaled_->Width() != dest.Width() || scaled_->Height() != dest.Height()) {
    // Scale once onto a transparent bitmap: compositing that copy later gives
    // what compositing the scaled picture would.
    scaled_ = std::make_unique<TBitmap>(dest.Width(), dest.Height());
    scaled_->SetPixelFormat(pf32bit);
    scaled_->SetAlphaFormat(afPremultiplied);
    scaled_->Canvas().StretchDraw(Rect(0, 0, dest.Width(), dest.Height()), *graphic);
    bool opaque = true;
    const Pixel* p = scaled_->Bits();
    for (size_t i = 0, n = static_cast<size_t>(dest.Width()) * dest.Height(); i < n && opaque;
         ++i) {
      opaque = PixelAlpha(p[i]) == 255;
    }
    // An opaque result is drawn as a plain copy.
    if (opaque) scaled_->SetAlphaFormat(afIgnored);
    // The scaled copy is what gets drawn from now on: the picture's own
    // decoded pixels (a background photo's are megabytes) are not needed.
    graphic->ReleaseDrawCache();
  }
  Canvas().Draw(dest.Left, dest.Top, *scaled_);
}
