// CProgress: the paint, the caption's truncation and the preset table.
//
// A paint composes the whole bar in a work bitmap (possibly at a resolution of
// its own), scales it into an output bitmap of the control's size, paints the
// corners there in the border colour and copies the result onto the window,
// whole or only inside the rounded shape. Every paint that draws a highlight
// moves it on by AnimateIncSpeed, which is what makes the repaint timer an
// animation.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <exception>
#include <string>

#include "controls/Vark.Progress.h"
#include "platform/ui/Form.h"
#include "platform/ui/StyleManager.h"
#include "support/Vark.CPSharedLib.h"
#include "support/Vark.ColorUtilities.h"
#include "support/Vark.Graphics.h"

namespace {

int ClampInt(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

// Whether a bitmap of this size can be made; anything larger is treated as an
// empty bitmap rather than failing every paint.
bool Allocatable(int width, int height) {
  return int64_t{std::max(width, 0)} * std::max(height, 0) <= TBitmap::kMaxPixels;
}

// A canvas as a freshly made bitmap has it: the paint reuses its bitmaps, and
// the caption leaves the pen and the brush clear.
void ResetCanvas(TCanvas& canvas) {
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(clBlack);
  canvas.Brush().SetColor(clWhite);
}

// Drops the last code point of a UTF-8 string.
void PopCodePoint(std::string& s) {
  while (!s.empty()) {
    const auto byte = static_cast<unsigned char>(s.back());
    s.pop_back();
    if ((byte & 0xC0) != 0x80) break;
  }
}

size_t CodePoints(const std::string& s) {
  size_t n = 0;
  for (char c : s)
    n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

struct PresetValues {
  bool setsForeground;
  TColor foreground;
  TColor background;
  CProgressAnimTypes animation;
  int32_t fadeSizing;
  int32_t incSpeed;
  int32_t timerSpeed;
  bool glides;
  int32_t borderRadius;
};

// Indexed by CProgressPreset; cprNone writes nothing.
constexpr std::array<PresetValues, 8> kPresets{{
    {false, 0, 0, atyNone, 0, 0, 0, false, 0},                     // cprNone
    {true, 0x0000D500, clWhite, atyFade, 100, 2, 1, true, 16},     // cprStandard
    {true, 0x000000FF, clWhite, atyFade, 100, 2, 1, true, 16},     // cprError
    {true, 0x00BE5210, clWhite, atyFade, 100, 2, 1, true, 16},     // cprBlue
    {true, 0x0000D500, clWhite, atySolid, 100, 5, 1, true, 16},    // cprMarble
    {true, 0x00BE5210, 0x003F3F3F, atyFade, 100, 2, 1, true, 16},  // cprModern
    {false, 0, clWhite, atyFade, 200, 2, 10, false, 0},            // cprBeacon
    {true, 0x0000D500, clWhite, atyFade, 100, 2, 1, true, 1},      // cprWindows
}};

}  // namespace

// ---- Presets ---------------------------------------------------------------------------

void CProgress::SetPresets(CProgressPreset Value) {
  FPreset = Value;
  if (Value == cprNone || Value >= kPresets.size()) return;
  const PresetValues& p = kPresets[Value];
  FProgAnim->FCustomRez = false;
  FProgAnim->FCustomX = 0;
  FProgAnim->FCustomY = 0;
  // The fields only: the repaint timer keeps its interval and its state.
  FProgAnim->FAllowProgressAnimate = true;
  FProgAnim->timerspeed = p.timerSpeed;
  if (p.setsForeground) FColors->FForeground = p.foreground;
  FColors->FBackground = p.background;
  FProgAnim->FSelectAnimation = p.animation;
  FProgAnim->fadesize = p.fadeSizing;
  FProgAnim->aincspeed = p.incSpeed;
  FAnimation->FAnimations = p.glides;
  FProgOptions->FRoundInt = p.borderRadius;
  // The beacon is always full: a wide band runs over the whole bar.
  if (Value == cprBeacon) FPosition = 100;
}

// ---- Colour and caption helpers --------------------------------------------------------

TColor CProgress::ChangeColorSat(TColor clr, int perc) const {
  return ::ChangeColorSat(clr, perc);
}

std::string CProgress::PercentSuffix(int64_t value) const {
  std::string s(1, ' ');
  s.append(std::to_string(value));
  s.push_back('%');
  return s;
}

std::string CProgress::TruncToLimit(const std::string& tx) {
  const std::string suffix = FProgressText->FIncludePerc ? PercentSuffix(FPosition) : "";
  const int64_t limit = FProgressText->FWidLimit == -2 ? Width() : FProgressText->FWidLimit;
  TCanvas& canvas = Canvas();
  std::string text = tx;
  const size_t n = CodePoints(tx);
  // At most n + 1 removals; once the text fits (or is empty) nothing more
  // changes, so the measuring can stop there.
  for (size_t i = 0; i <= n && !text.empty(); ++i) {
    if (canvas.TextWidth(text + suffix) <= limit - 10) break;
    PopCodePoint(text);
  }
  if (CodePoints(text) != n) text += "...";
  return text;
}

// ---- Paint ------------------------------------------------------------------------------

void CProgress::Paint() {
  ApplyAccentColor();
  if (FColors->FSyncBgColor) {
    TCustomStyleServices* style = TStyleManager::ActiveStyle();
    if (StrInArray(style->Name(), nothemes)) {
      // A bar on no form keeps the border colour it has.
      if (const TCustomForm* form = GetParentForm(this)) FProgOptions->FBordColor = form->Color();
    } else {
      FProgOptions->FBordColor = style->GetSystemColor(clBtnFace);
    }
  }
  // The preset wins over the accent colour applied above.
  SetPresets(FPreset);

  int BW = Width();
  int BH = Height();
  if (FProgAnim->FCustomRez) {
    BW = FProgAnim->FCustomX;
    BH = FProgAnim->FCustomY;
  }
  if (!Allocatable(BW, BH)) BW = BH = 0;
  FWork.SetSize(BW, BH);
  try {
    ComposeWork(FWork.Width(), FWork.Height());
  } catch (const std::exception&) {
    // Whatever was composed is still shown below.
  }

  // The caption may have changed the width: read the size again.
  const int W = Width();
  const int H = Height();
  if (!Allocatable(W, H)) return;
  FOutput.SetSize(W, H);
  if (FOutput.Empty()) return;
  TCanvas& out = FOutput.Canvas();
  ResetCanvas(out);
  if (FWork.Empty()) {
    // Nothing composed: a fresh bitmap is black.
    out.Brush().SetColor(clBlack);
    out.FillRect(out.ClipRect());
  } else {
    out.CopyRect(out.ClipRect(), FWork.Canvas(), FWork.Canvas().ClipRect());
  }
  DrawCorners(out, W, H);

  TCanvas& canvas = Canvas();
  // The destination is the whole control, not the canvas's clip: when only a
  // part of the bar is being repainted, the clip is that part, and mapping the
  // bar into it would squeeze the picture.
  const TRect client = Rect(0, 0, W, H);
  if (FTrueTransparency) {
    // Only the rounded shape, inset by a pixel, is copied; the parent shows
    // through the rest.
    UpdateShape(W, H, FProgOptions->FRoundInt);
    for (const TRect& r : FShapeRects)
      canvas.CopyRect(r, out, r);
  } else {
    canvas.CopyRect(client, out, out.ClipRect());
  }
}

void CProgress::UpdateShape(int W, int H, int radius) {
  if (W == FShapeW && H == FShapeH && radius == FShapeR) return;
  FShapeW = W;
  FShapeH = H;
  FShapeR = radius;
  FShapeRects.clear();
  // The copy maps the output bitmap onto the same place of the control, strip
  // by strip: its effect is a fixed set of pixels, found here by letting it
  // copy an opaque bitmap onto a transparent one.
  TBitmap from(W, H), to(W, H);
  from.Canvas().Brush().SetColor(clWhite);
  from.Canvas().FillRect(Rect(0, 0, W, H));
  const TRect whole = Rect(0, 0, W, H);
  CopyRoundRect(from.Canvas(), RoundRect(whole, radius, radius), to.Canvas(), whole, 1);
  std::vector<TRect> spans, previous;
  for (int y = 0; y <= H; ++y) {
    spans.clear();
    if (y < H) {
      const Pixel* row = to.ScanLine(y);
      for (int x = 0; x < W;) {
        if (PixelAlpha(row[x]) == 0) {
          ++x;
          continue;
        }
        const int left = x;
        while (x < W && PixelAlpha(row[x]) != 0)
          ++x;
        spans.push_back(Rect(left, y, x, y + 1));
      }
    }
    // Rows with the same spans as the row above make the rectangles taller.
    bool same = spans.size() == previous.size();
    for (size_t i = 0; same && i < spans.size(); ++i)
      same = spans[i].Left == previous[i].Left && spans[i].Right == previous[i].Right;
    if (same && !spans.empty()) {
      for (size_t i = 0; i < spans.size(); ++i)
        ++FShapeRects[FShapeRects.size() - spans.size() + i].Bottom;
    } else {
      FShapeRects.insert(FShapeRects.end(), spans.begin(), spans.end());
    }
    previous = spans;
  }
}

void CProgress::ComposeWork(int BW, int BH) {
  TCanvas& canvas = FWork.Canvas();
  ResetCanvas(canvas);
  canvas.Brush().SetColor(FColors->FBackground);
  canvas.FillRect(canvas.ClipRect());
  // An empty range has no filled part (and no width to divide by).
  const int64_t range = int64_t{FMax} - FMin;
  if (range != 0) {
    canvas.Brush().SetColor(FColors->FForeground);
    const int64_t filled = int64_t{BW} * (int64_t{FPosition} - FMin) / range;
    canvas.FillRect(Rect(0, 0, ClampInt(filled), BH));
  }

  if (FProgAnim->FAllowProgressAnimate) {
    switch (FProgAnim->FSelectAnimation) {
      case atyFade:
        DrawFade(canvas, BW, BH);
        break;
      case atySolid:
        DrawSolid(canvas, BW, BH);
        break;
      case atyNone:
        break;
    }
  }

  if (FProgressText->FSEnable) DrawCaption(canvas);
}

void CProgress::DrawFade(TCanvas& canvas, int BW, int BH) {
  const int64_t range = int64_t{FMax} - FMin;
  const int64_t F = FProgAnim->fadesize;
  // No range or no band width: the shade and the band's end would divide by
  // zero, so this paint shows no band and leaves it where it is.
  if (range == 0 || F == 0) return;
  int64_t M = FProgAnim->currentp;
  // The filled width, in floating point as the band measures it.
  const double e = static_cast<double>(BW) / static_cast<double>(range) *
                   static_cast<double>(int64_t{FPosition} - FMin);
  const int64_t E = static_cast<int64_t>(std::clamp(std::trunc(e), -1e15, 1e15));

  // The band lights the columns M - F .. M + F, each shaded by its distance
  // from M, and only where a column lies inside the filled part (I + 1 <= E).
  // Every column gets one colour whichever side it is drawn from, so each is
  // drawn once, and columns off the bitmap are left out.
  if (F > 0) {
    const int64_t first = std::max<int64_t>(M - F, 0);
    const int64_t last = std::min({M + F, E - 1, int64_t{BW} - 1});
    const double f = static_cast<double>(F);
    for (int64_t I = first; I <= last; ++I) {
      const double d = static_cast<double>(I < M ? M - I : I - M);
      const int shade = static_cast<int>(std::trunc(f - (d / f) * f));
      canvas.Pen().SetColor(ChangeColorSat(FColors->FForeground, shade));
      canvas.MoveTo(static_cast<int>(I), 0);
      canvas.LineTo(static_cast<int>(I), BH);
    }
  }

  M += FProgAnim->aincspeed;
  // Once the band's trailing edge has passed the end of the filled part, it
  // starts again with its leading edge at column 0.
  if (M - F > E) M = -F;
  FProgAnim->currentp = static_cast<int32_t>(std::clamp<int64_t>(M, INT32_MIN, INT32_MAX));
}

void CProgress::DrawSolid(TCanvas& canvas, int BW, int BH) {
  const int64_t F = FProgAnim->fadesize;
  int64_t M = FProgAnim->currentp;
  // The block sweeps the whole bar whatever the position: the fill goes.
  canvas.Brush().SetColor(FColors->FBackground);
  canvas.FillRect(canvas.ClipRect());
  canvas.Brush().SetColor(FColors->FForeground);
  canvas.FillRect(Rect(ClampInt(M - F), 0, ClampInt(M + F), BH));
  M += FProgAnim->aincspeed;
  if (BW < M - F) M = -F;
  FProgAnim->currentp = static_cast<int32_t>(std::clamp<int64_t>(M, INT32_MIN, INT32_MAX));
}

void CProgress::DrawCaption(TCanvas& canvas) {
  const CProgressText& t = *FProgressText;
  std::string text = t.FWidLimit > 0 || t.FWidLimit == -2 ? TruncToLimit(t.SText) : t.SText;
  // The number is Position - Min, not scaled to the range: it reads as a
  // percentage on the default range of 0 to 100.
  if (t.FIncludePerc) text += PercentSuffix(int64_t{FPosition} - FMin);
  // Measured with the control's own canvas font, not the caption's.
  if (t.FFitToTx) SetWidth(Canvas().TextWidth(text) + 25);

  canvas.Pen().SetStyle(psClear);
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().SetName(t.FTextNm);
  canvas.Font().SetColor(t.FTextCol);
  canvas.Font().SetSize(t.FTextSz);
  // Centred on the control's size, also when the bar is composed at a
  // resolution of its own.
  const TSize extent = canvas.TextExtent(text);
  canvas.TextOut(Width() / 2 - extent.cx / 2, Height() / 2 - extent.cy / 2, text);
}

void CProgress::DrawCorners(TCanvas& canvas, int W, int H) {
  canvas.Brush().SetStyle(bsClear);
  canvas.Pen().SetColor(FProgOptions->FBordColor);
  canvas.Pen().SetWidth(1);
  // Nested outlines paint the corners outside the rounding. Corners larger
  // than the box are drawn at the box's size, so past that every outline is
  // the same one and the loop can stop.
  const int64_t largest = int64_t{std::max(W, H)} + 1;
  const int64_t count = std::min<int64_t>(FProgOptions->FRoundInt, largest);
  for (int64_t I = 1; I <= count; ++I) {
    canvas.RoundRect(0, 0, W + 1, H + 1, static_cast<int>(I), static_cast<int>(I));
  }
}
