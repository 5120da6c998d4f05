// Smooth, optionally translucent picture drawing for the controls, and the
// conversion of PNG pictures into 32-bit bitmaps with alpha.
#pragma once

#include <cstdint>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/PngImage.h"

// Draws the whole Bitmap scaled into ARect on the canvas Handle: pixel
// centres sampled (half-pixel offset), bilinear filtering, or a wider
// high-quality filter when shrinking with HighQality; the picture's alpha
// scaled by Opacity / 255. A 32-bit bitmap is read as premultiplied alpha,
// any other as opaque. Pixels beyond the picture's edges are transparent, so
// an enlarged picture fades out at its border, unless EgdeFill mirrors the
// picture there. An empty bitmap draws nothing.
void DrawBitmapHighQuality(TCanvas& Handle, const TRect& ARect, const TBitmap& Bitmap,
                           uint8_t Opacity, bool HighQality, bool EgdeFill);

// The canvas helpers: a bitmap drawn as above without edge fill, or any
// picture, which is first converted into a temporary bitmap
// (GraphicAssignToBitmap) unless it is a bitmap already.
struct TCanvasHelper {
  static void DrawHighQuality(TCanvas& Canvas, const TRect& ARect, const TBitmap& Bitmap,
                              uint8_t Opacity, bool HighQuality);
  static void DrawHighQuality(TCanvas& Canvas, const TRect& ARect, const TGraphic& Graphic,
                              uint8_t Opacity, bool HighQuality);
};

// Fills Bitmap from a PNG picture. A PNG with levels of transparency and 8
// bits per sample becomes a 32-bit bitmap built pixel by pixel, premultiplied
// (v × a div 255) or with straight alpha; any other PNG is assigned as the
// framework converts it; no picture or an empty one leaves a 0 × 0 bitmap.
void PngImageAssignToBitmap(TBitmap& Bitmap, const TPngImage* PngImage, bool IsPremultipledBitmap);

// Fills Bitmap from any picture: a PNG premultiplied as above, anything else
// as the framework assigns it; no picture leaves a 0 × 0 bitmap.
void GraphicAssignToBitmap(TBitmap& Bitmap, const TGraphic* Graphic);
