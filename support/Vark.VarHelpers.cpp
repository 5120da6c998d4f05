#include "support/Vark.VarHelpers.h"

#include "platform/graphics/Scale.h"

void DrawBitmapHighQuality(TCanvas& Handle, const TRect& ARect, const TBitmap& Bitmap,
                           uint8_t Opacity, bool HighQality, bool EgdeFill) {
  if (Bitmap.Empty()) return;
  // The normal mode is bilinear, smoothed first when the picture shrinks to
  // less than half its size (where bare bilinear sampling skips most pixels
  // and a small icon turns jagged); the high-quality mode always averages.
  const vark::ScaleFilter filter = HighQality ? vark::ScaleFilter::HighQuality
                                              : vark::PictureFilter(Bitmap.Width(), Bitmap.Height(),
                                                                    ARect.Width(), ARect.Height());
  const vark::EdgeMode edge = EgdeFill ? vark::EdgeMode::TileFlip : vark::EdgeMode::Transparent;
  // The pixels are read in place: a 32-bit bitmap as premultiplied alpha,
  // anything else as opaque colour. Our bitmaps always live in memory, so the
  // classic requirement that such a bitmap be device-independent always holds.
  const TAlphaFormat wanted = Bitmap.PixelFormat() == pf32bit ? afPremultiplied : afIgnored;
  if (Bitmap.AlphaFormat() == wanted) {
    Handle.DrawScaled(ARect, Bitmap, Opacity, filter, edge);
    return;
  }
  // A bitmap that says otherwise (a 32-bit one with straight alpha, or a
  // 24-bit one with an alpha format) is read the same way through a copy.
  TBitmap view;
  view.Assign(Bitmap);
  view.SetAlphaFormat(wanted);
  Handle.DrawScaled(ARect, view, Opacity, filter, edge);
}

void TCanvasHelper::DrawHighQuality(TCanvas& Canvas, const TRect& ARect, const TBitmap& Bitmap,
                                    uint8_t Opacity, bool HighQuality) {
  DrawBitmapHighQuality(Canvas, ARect, Bitmap, Opacity, HighQuality, false);
}

void TCanvasHelper::DrawHighQuality(TCanvas& Canvas, const TRect& ARect, const TGraphic& Graphic,
                                    uint8_t Opacity, bool HighQuality) {
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&Graphic)) {
    DrawHighQuality(Canvas, ARect, *bitmap, Opacity, HighQuality);
    return;
  }
  TBitmap temp;
  GraphicAssignToBitmap(temp, &Graphic);
  DrawHighQuality(Canvas, ARect, temp, Opacity, HighQuality);
}

void PngImageAssignToBitmap(TBitmap& Bitmap, const TPngImage* PngImage, bool IsPremultipledBitmap) {
  if (PngImage == nullptr || PngImage->Empty()) {
    Bitmap.SetSize(0, 0);
    return;
  }
  const TPngHeader& h = PngImage->Header();
  if (!(PngImage->TransparencyMode() == ptmPartial && h.BitDepth == 8)) {
    Bitmap.Assign(*PngImage);
    return;
  }
  Bitmap.SetSize(0, 0);
  Bitmap.SetAlphaFormat(IsPremultipledBitmap ? afPremultiplied : afDefined);
  Bitmap.SetPixelFormat(pf32bit);
  Bitmap.SetSize(h.Width, h.Height);
  auto put = [IsPremultipledBitmap](uint8_t b, uint8_t g, uint8_t r, uint8_t a) -> Pixel {
    if (IsPremultipledBitmap) {
      b = static_cast<uint8_t>(b * a / 255);
      g = static_cast<uint8_t>(g * a / 255);
      r = static_cast<uint8_t>(r * a / 255);
    }
    return Pixel{a} << 24 | Pixel{r} << 16 | Pixel{g} << 8 | b;
  };
  for (int y = 0; y < h.Height; ++y) {
    const uint8_t* colour = PngImage->Scanline(y);
    const uint8_t* alpha = PngImage->AlphaScanline(y);
    Pixel* out = Bitmap.ScanLine(y);
    for (int x = 0; x < h.Width; ++x) {
      switch (h.ColorType) {
        case COLOR_RGBALPHA:  // stored as B, G, R
          out[x] = put(colour[3 * x], colour[3 * x + 1], colour[3 * x + 2], alpha[x]);
          break;
        case COLOR_PALETTE: {
          const TRGBQuad e = PngImage->PaletteEntry(colour[x]);
          out[x] = put(e.rgbBlue, e.rgbGreen, e.rgbRed, PngImage->TransparencyAlpha(colour[x]));
          break;
        }
        default: {  // grey with alpha
          const uint8_t a = alpha != nullptr ? alpha[x] : 255;
          out[x] = put(colour[x], colour[x], colour[x], a);
          break;
        }
      }
    }
  }
}

void GraphicAssignToBitmap(TBitmap& Bitmap, const TGraphic* Graphic) {
  if (const auto* png = dynamic_cast<const TPngImage*>(Graphic)) {
    PngImageAssignToBitmap(Bitmap, png, true);
  } else if (Graphic != nullptr) {
    Bitmap.Assign(*Graphic);
  } else {
    Bitmap.SetSize(0, 0);
  }
}
