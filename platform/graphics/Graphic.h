// TGraphic: the base of every picture kind (bitmap, PNG, JPEG).
#pragma once

#include <functional>
#include <memory>

#include "platform/graphics/Types.h"

class TCanvas;
class TBitmap;

class TGraphic {
 public:
  virtual ~TGraphic() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }

  // A transparent graphic lets what lies beneath show through where it has alpha.
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value) { transparent_ = value; }

  // Draws the whole graphic scaled into dest (logical coordinates of the canvas),
  // blending by its alpha. Used by TCanvas::Draw and TCanvas::StretchDraw.
  virtual void Draw(TCanvas& canvas, const TRect& dest) const = 0;

  // The framework's assignment of this graphic to a bitmap: the bitmap takes
  // the graphic's size and pixels.
  virtual void AssignTo(TBitmap& bitmap) const = 0;

  virtual std::unique_ptr<TGraphic> Clone() const = 0;

  // Frees what the graphic keeps only to draw faster (a decoded or converted
  // copy of its pixels); the next draw makes it again. For an owner that keeps
  // its own copy of the drawn result.
  virtual void ReleaseDrawCache() const {}

  // Starts making, on another thread, what drawing into a destWidth x
  // destHeight rectangle needs where that is slow (a JPEG's decode), so it
  // runs while the window is still being built; the draw takes it or waits
  // for it. Nothing for graphics that draw at once.
  virtual void PrepareFor(int /*destWidth*/, int /*destHeight*/) const {}

  // Called after the graphic took new content in place (LoadFromFile and the
  // like); the picture holding it passes the change on to its owner, which
  // may keep a copy made from the old content.
  std::function<void()> OnChange;

 protected:
  void Changed() const {
    if (OnChange) OnChange();
  }

  bool transparent_ = false;
};
