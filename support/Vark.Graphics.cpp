#include "support/Vark.Graphics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Rounds to the nearest integer, ties to even (the default rounding mode).
int Nearest(double v) {
  return static_cast<int>(std::nearbyint(v));
}

// The text engine renders at most 2048 pixels per em (1536 points); past that
// a text stops growing, and the search upwards would never end on a box
// larger than the text at that size.
constexpr int kMaxFontSize = 1536;

}  // namespace

TRoundRect RoundRect(const TRect& SRect, int RndX, int RndY) {
  return {SRect, RndX, RndY};
}

int GetMaxFontSize(TCanvas& Canvas, std::string_view Text, int MaxWidth, int MaxHeight) {
  if (Text.empty()) return 0;
  TFont& font = Canvas.Font();
  int size = 10;
  font.SetSize(size);
  TSize ext;
  do {
    font.SetSize(++size);
    ext = Canvas.TextExtent(Text);
  } while (ext.cx < MaxWidth && ext.cy < MaxHeight && size < kMaxFontSize);
  // Stopped by the cap, not by the box: the text still fits at that size.
  if (ext.cx < MaxWidth && ext.cy < MaxHeight) return font.Size();
  do {
    font.SetSize(--size);
    ext = Canvas.TextExtent(Text);
  } while (!(ext.cx <= MaxWidth && ext.cy <= MaxHeight) && size > 1);
  return font.Size();
}

void CopyRoundRect(TCanvas& FromCanvas, const TRoundRect& FromRect, TCanvas& DestCanvas,
                   const TRect& DestRect, int shrinkborder) {
  TRoundRect f = FromRect;
  TRect d = DestRect;
  if (shrinkborder != 0) {
    f.Rect = {f.Rect.Left + shrinkborder, f.Rect.Top + shrinkborder, f.Rect.Right - shrinkborder,
              f.Rect.Bottom - shrinkborder};
    d = {d.Left + shrinkborder, d.Top + shrinkborder, d.Right - shrinkborder,
         d.Bottom - shrinkborder};
  }
  f.RoundY = std::min(f.RoundY, f.Height());
  f.RoundX = std::min(f.RoundX, f.Width());
  const int m = std::max({f.Height(), f.Width(), d.Width(), d.Height()});
  // A source shrunk to nothing (or past it: a negative size) has nothing to
  // copy; copying it would mirror pixels from outside the region.
  if (m <= 0 || f.Width() <= 0 || f.Height() <= 0) return;

  const int n = m > 90 ? Nearest(m / 90.0) + 1 : 1;
  const int hx = f.RoundX / 2;
  const int hy = f.RoundY / 2;
  const TRect& F = f.Rect;
  const double fw = F.Width();
  const double fh = F.Height();
  const double dw = d.Width();
  const double dh = d.Height();
  // Where a source strip lands: proportionally inside D.
  auto target = [&](const TRect& s) {
    return TRect{d.Left + Nearest(dw * (s.Left - F.Left) / fw),
                 d.Top + Nearest(dh * (s.Top - F.Top) / fh),
                 d.Left + Nearest(dw * (s.Right - F.Left) / fw),
                 d.Top + Nearest(dh * (s.Bottom - F.Top) / fh)};
  };
  auto arc = [&](int a, int& x, int& y) {
    const double theta = static_cast<double>(a) / n * std::numbers::pi / 180.0;
    x = Nearest(std::cos(theta) * f.RoundX / 2);
    y = Nearest(std::sin(theta) * f.RoundY / 2);
  };

  // The strips reach one pixel past the shrunk rectangles, and more once
  // stretched: nothing may land outside the destination rectangle given.
  TCanvasClip clip(DestCanvas, DestRect);

  // Without rounding every strip is the top or bottom edge of the band, and the
  // band, copied last, covers them all: copying it alone gives the same pixels
  // without hundreds of identical copies (a progress bar does this on every
  // animation frame). Copies within one bitmap read what earlier strips wrote,
  // so they keep the full sequence.
  if (f.RoundX == 0 && f.RoundY == 0 && FromCanvas.Target() != DestCanvas.Target()) {
    const TRect band{F.Left - 1, F.Top - 1, F.Right + 1, F.Bottom + 1};
    DestCanvas.CopyRect(target(band), FromCanvas, band);
    return;
  }
  TPoint bandSrcTopLeft, bandDstTopLeft, bandSrcBottomRight, bandDstBottomRight;
  for (int a = 90 * n; a <= 180 * n; ++a) {
    int x, y;
    arc(a, x, y);
    const TRect s{F.Left + hx + x - 1, F.Top + hy - y - 1, F.Right - hx - x + 1,
                  F.Top + hy - y + 1};
    const TRect t = target(s);
    DestCanvas.CopyRect(t, FromCanvas, s);
    if (a == 180 * n) {
      bandSrcTopLeft = s.TopLeft();
      bandDstTopLeft = t.TopLeft();
    }
  }
  for (int a = 180 * n; a <= 270 * n; ++a) {
    int x, y;
    arc(a, x, y);
    TRect s{F.Left + hx + x - 1, F.Bottom - hy - y - 1, F.Right - hx - x + 1,
            F.Bottom - hy - y + 1};
    s.Bottom = std::min(s.Bottom, F.Bottom + 1);
    const TRect t = target(s);
    DestCanvas.CopyRect(t, FromCanvas, s);
    if (a == 180 * n) {
      bandSrcBottomRight = s.BottomRight();
      bandDstBottomRight = t.BottomRight();
    }
  }
  // The full-width band between the upper and the lower arcs.
  DestCanvas.CopyRect(
      {bandDstTopLeft.X, bandDstTopLeft.Y, bandDstBottomRight.X, bandDstBottomRight.Y}, FromCanvas,
      {bandSrcTopLeft.X, bandSrcTopLeft.Y, bandSrcBottomRight.X, bandSrcBottomRight.Y});
}

void GradHorizontal(TCanvas& Canvas, const TRect& Rect, TColor FromColor, TColor ToColor) {
  const TColor from = ColorToRGB(FromColor);
  const TColor to = ColorToRGB(ToColor);
  const int64_t csize = int64_t{Rect.Right} - Rect.Left;
  if (csize <= 0) return;
  const int r1 = GetRValue(from), g1 = GetGValue(from), b1 = GetBValue(from);
  const double rs = (GetRValue(to) - r1) / static_cast<double>(csize);
  const double gs = (GetGValue(to) - g1) / static_cast<double>(csize);
  const double bs = (GetBValue(to) - b1) / static_cast<double>(csize);
  auto colorAt = [&](int64_t cnt) {
    auto channel = [cnt](int start, double step) {
      return static_cast<uint8_t>(
          (start + static_cast<int64_t>(std::ceil(static_cast<double>(cnt) * step))) & 0xFF);
    };
    return RGB(channel(r1, rs), channel(g1, gs), channel(b1, bs));
  };
  // Only columns whose pen can reach the clip are drawn (a rectangle may be
  // far wider than any surface); cnt still counts from the rectangle's left
  // edge, and the pen is left with the last column's colour either way.
  const TRect clip = Canvas.ClipRect();
  const int reach = std::max(1, Canvas.Pen().Width());
  const int64_t first = std::max<int64_t>(Rect.Left, int64_t{clip.Left} - reach);
  const int64_t last = std::min<int64_t>(Rect.Right, int64_t{clip.Right} + reach);
  for (int64_t x = first; x < last; ++x) {
    Canvas.Pen().SetColor(colorAt(x - Rect.Left));
    Canvas.MoveTo(static_cast<int>(x), Rect.Top);
    Canvas.LineTo(static_cast<int>(x), Rect.Bottom);
  }
  Canvas.Pen().SetColor(colorAt(csize - 1));
}
