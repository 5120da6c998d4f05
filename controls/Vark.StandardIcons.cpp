#include "controls/Vark.StandardIcons.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/ui/StyleManager.h"

namespace {

// Outline and fill of each icon, by VarkIconType.
struct IconColors {
  TColor pen;
  TColor brush;
};
constexpr IconColors kIconColors[] = {
    {0x0016F900, 0x0000E900},  // ciconCheckmark
    {0x00030085, 0x00240EFF},  // ciconError
    {0x00FF1100, 0x00FF3E13},  // ciconQuestion
    {0x00FF1100, 0x00FF3E13},  // ciconInformation
    {clBlack, 0x0000F6FF},     // ciconWarning
};
constexpr TColor kStarFill = 0x0000FFFF;
constexpr TColor kStarRim = 0x0001BAF8;

// The pentagon's proportions, to three places: sin 54°, cos 54° and tan 72°.
constexpr double Sin54 = 0.809;
constexpr double Cos54 = 0.588;
constexpr double Tan72 = 3.078;

int ClampToInt(int64_t v) {
  return static_cast<int>(
      std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// a - b and a + b held to the int range: a pen far wider than the control, or a
// star of any size, gives degenerate shapes rather than overflowing.
int Sub(int a, int b) {
  return ClampToInt(static_cast<int64_t>(a) - b);
}
int Add(int a, int b) {
  return ClampToInt(static_cast<int64_t>(a) + b);
}

// trunc(v) held to the int range.
int Trunc(double v) {
  if (!(v > std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  if (!(v < std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

// PenWidth percent of the width. A runaway percentage is held to the int range
// instead of overflowing; the canvas ignores the negative widths it may give.
int PenPixels(int32_t percent, int width) {
  return ClampToInt(static_cast<int64_t>(percent) * width / 100);
}

}  // namespace

CStandardIcon::CStandardIcon(TComponent* AOwner)
    : TCustomTransparentControl(AOwner),
      FAuthor("VarkelSoftware"),
      FSite("https://varkelsoftware.example"),
      FVersion("1.1"),
      FIcon(ciconCheckmark),
      FProport(true),
      FWidth(10) {
  // The icon takes its own clicks (the launcher's edition marks are clickable).
  SetInterceptMouse(true);
  SetWidth(60);
  SetHeight(60);
}

CStandardIcon::~CStandardIcon() = default;

void CStandardIcon::SetProport(bool Value) {
  FProport = Value;
  Paint();
}

void CStandardIcon::SetWid(int Value) {
  FWidth = Value;
  Paint();
}

void CStandardIcon::SetIcon(VarkIconType Value) {
  // A new circle fully covers an old one; any other change may leave parts of
  // the old icon uncovered (or draws nothing at all), so what lies beneath must
  // be painted again.
  bool fullRepaint = false;
  for (VarkIconType shape : {ciconWarning, ciconStar, ciconNone}) {
    if ((FIcon == shape) != (Value == shape)) fullRepaint = true;
  }
  FIcon = Value;
  Paint();
  if (fullRepaint) Repaint();
}

void CStandardIcon::Invalidate() {
  TCustomTransparentControl::Invalidate();
  Paint();
}

void CStandardIcon::Paint() {
  TCustomTransparentControl::Paint();
  if (FProport) {
    if (Width() < Height()) {
      SetHeight(Width());
    } else {
      SetWidth(Height());
    }
  }
  if (!Visible()) return;

  TCanvas& canvas = Canvas();
  const int W = Width();
  const int H = Height();
  if (!ParentBackground()) {
    canvas.Brush().SetColor(StyleServices()->GetSystemColor(Color()));
    canvas.FillRect(canvas.ClipRect());
  }
  // A value past the last icon (a cast from a stored number) draws nothing,
  // like ciconNone, rather than reading past the colour table.
  if (FIcon == ciconNone || FIcon > ciconNone) return;
  if (FIcon == ciconStar) {
    MakeStar(canvas, W / 2, H / 15, static_cast<int>(W / 1.75), kStarFill, H / 20, kStarRim);
    return;
  }

  const IconColors& colors = kIconColors[FIcon];
  TPen& pen = canvas.Pen();
  pen.SetStyle(psSolid);
  pen.SetColor(colors.pen);
  canvas.Brush().SetColor(colors.brush);
  const int pw = PenPixels(FWidth, W);
  pen.SetWidth(pw);
  const int p = pen.Width() / 2;

  if (FIcon == ciconWarning) {
    const TPoint corners[] = {{W / 2, p}, {p, Sub(H, p)}, {Sub(W, p), Sub(H, p)}};
    canvas.Polygon(corners);
    DrawGlyph("!", clBlack, W, H);
    return;
  }

  canvas.Ellipse(p, p, Sub(W, p), Sub(H, p));
  switch (FIcon) {
    case ciconCheckmark:
      pen.SetColor(clWhite);
      pen.SetWidth(pw);
      canvas.MoveTo(static_cast<int>(W / 4.9), static_cast<int>(H / 1.9));
      canvas.LineTo(static_cast<int>(W / 2.5), static_cast<int>(H / 1.4));
      canvas.LineTo(static_cast<int>(W / 1.35), static_cast<int>(H / 3.6));
      break;
    case ciconError:
      pen.SetColor(clWhite);
      pen.SetWidth(pw);
      canvas.MoveTo(W / 3, H / 3);
      canvas.LineTo(W - W / 3, H - H / 3);
      canvas.MoveTo(W - W / 3, H / 3);
      canvas.LineTo(W / 3, H - H / 3);
      break;
    case ciconQuestion:
      DrawGlyph("?", clWhite, W, H);
      break;
    case ciconInformation:
      DrawGlyph("i", clWhite, W, H);
      break;
    default:
      break;
  }
}

void CStandardIcon::DrawGlyph(const char* glyph, TColor color, int W, int H) {
  TCanvas& canvas = Canvas();
  TFont& font = canvas.Font();
  font.SetStyle({fsBold});
  font.SetName("Segoe UI");
  font.SetColor(color);
  font.SetSize(static_cast<int>(std::min(W, H) / 1.8));
  canvas.Brush().SetStyle(bsClear);
  const int x = W / 2 - canvas.TextWidth(glyph) / 2;
  const int y = glyph[0] == '!' ? static_cast<int>(H / 1.7) - canvas.TextHeight(glyph) / 2
                                : H / 2 - canvas.TextHeight(glyph) / 2;
  canvas.TextOut(x, y, glyph);
}

void CStandardIcon::MakeStar(TCanvas& Canvas, int cX, int cY, int size, TColor Colour,
                             int bordersize, TColor bordercolor) {
  auto fillStar = [&Canvas](const TPent& pent, TColor color) {
    Canvas.BeginPath();
    DrawPentacle(Canvas, pent);
    Canvas.EndPath();
    // Winding fill: the inner pentagon of the self-crossing outline is filled too.
    Canvas.SetPolyFillMode(WINDING);
    Canvas.Brush().SetColor(color);
    Canvas.FillPath();
  };
  fillStar(MakePent(cX, cY, size), bordersize != 0 ? bordercolor : Colour);
  if (bordersize == 0) return;
  // A star one rim smaller, lowered so that the rim shows evenly around it.
  fillStar(MakePent(cX, Add(cY, Trunc(bordersize / 1.2)), Sub(size, bordersize)), Colour);
}

TPent CStandardIcon::MakePent(int X, int Y, int L) {
  const int DX1 = Trunc(L * Sin54);
  const int DY1 = Trunc(L * Cos54);
  const int DX2 = L / 2;
  const int DY2 = Trunc(L * Tan72 / 2);
  return {{{X, Y},
           {Sub(X, DX1), Add(Y, DY1)},
           {Sub(X, DX2), Add(Y, DY2)},
           {Add(X, DX2), Add(Y, DY2)},
           {Add(X, DX1), Add(Y, DY1)}}};
}

void CStandardIcon::DrawPentacle(TCanvas& Canvas, const TPent& Pent) {
  Canvas.MoveTo(Pent[0].X, Pent[0].Y);
  for (int i : {2, 4, 1, 3, 0})
    Canvas.LineTo(Pent[i].X, Pent[i].Y);
}
