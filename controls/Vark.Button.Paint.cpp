// CButton painting and animation: the paint pipeline, the colour fade between
// states, the disabled and flat looks, the underline, the rounded corners and
// the two press animations.
#include <algorithm>
#include <cmath>

#include "controls/Vark.Button.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/StyleManager.h"
#include "support/Vark.CPSharedLib.h"
#include "support/Vark.ColorUtilities.h"
#include "support/Vark.Graphics.h"
#include "support/Vark.VarHelpers.h"

namespace {

// Rounds to the nearest integer, ties to even, from extended precision:
// 50 × 2.55 is 127.5 there (and rounds to 128), but a hair below in double.
int RoundEven(long double v) {
  return static_cast<int>(std::nearbyintl(v));
}

// a div b rounded toward minus infinity.
int FloorDiv(int a, int b) {
  const int q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

TColor StateColor(const CButtonColors& colors, CButtonState state) {
  switch (state) {
    case mbsEnter:
      return colors.Enter();
    case mbsDown:
      return colors.Down();
    default:
      return colors.Leave();
  }
}

}  // namespace

TColor Blend(TColor Color1, TColor Color2, uint8_t A) {
  const int a = RoundEven(A * 2.55L) & 0xFF;
  const TColor c1 = ColorToRGB(Color1);
  const TColor c2 = ColorToRGB(Color2);
  auto mix = [a](int p, int q) -> TColor {
    return static_cast<TColor>((q + FloorDiv((p - q) * a, 256)) & 0xFF);
  };
  return mix(GetRValue(c1), GetRValue(c2)) | mix(GetGValue(c1), GetGValue(c2)) << 8 |
         mix(GetBValue(c1), GetBValue(c2)) << 16;
}

TColor CButton::ClrGray(TColor clr) {
  const TColor c = ColorToRGB(clr);
  const auto g = static_cast<uint8_t>((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3);
  return RGB(g, g, g);
}

// --- the fade ----------------------------------------------------------------------------

namespace {

// The colour progress fade steps of speed steps along the way from c1 to c2.
TColor Fade(const CButtonAnimations& animations, TColor c1, TColor c2, int progress) {
  if (!animations.FadeAnimation()) return c2;
  // A fade of no steps has nothing to show between the colours (and 100 div 0
  // has no value): the target colour shows at once.
  const int speed = animations.FASpeed();
  if (speed <= 0) return c2;
  const auto A = static_cast<uint8_t>(((100 / speed) * progress) & 0xFF);
  return Blend(c2, c1, A);
}

}  // namespace

TColor CButton::FadeBrushColor(CButtonState from, CButtonState towhich, int progress, bool isflat,
                               bool gradientcolor) const {
  const int flatmt = FFlatComplete ? 0 : 1;
  auto colourOf = [&](CButtonState state) -> TColor {
    if (gradientcolor) {
      const CButtonGradientSet& g = *FGradientSet;
      return state == mbsEnter ? g.Enter() : state == mbsDown ? g.Down() : g.Leave();
    }
    if (isflat) {
      // A flat face is the border colour, a little darker in each state.
      const int shift = state == mbsEnter ? -5 : state == mbsDown ? -15 : -3;
      return ChangeColorSat(FPen->Color(), shift * flatmt);
    }
    return StateColor(*FColors, state);
  };
  return Fade(*FAnimations, colourOf(from), colourOf(towhich), progress);
}

TColor CButton::FadeFontColor(CButtonState from, CButtonState towhich, int progress) const {
  return Fade(*FAnimations, StateColor(*FTextColors, from), StateColor(*FTextColors, towhich),
              progress);
}

void CButton::StTimer() {
  const TWinControl* parent = Parent();
  if (parent != nullptr && parent->Visible() && Visible() && Application->Active() &&
      FAnimations->FFadeAnimation) {
    FAnimations->FTimeProg = 0;
    FadeAnim->SetEnabled(true);
    return;
  }
  // No fade now: the new state's colours show at once. A button that never
  // faded would otherwise still be at progress 0 and keep showing the old
  // state's colours (hovering over an inactive window would change nothing).
  FAnimations->FTimeProg = FAnimations->FFadeSpeed;
}

void CButton::FTimerAct(TObject*) {
  if (FAnimations->FTimeProg < FAnimations->FFadeSpeed) {
    ++FAnimations->FTimeProg;
    Paint();
  } else {
    FadeAnim->SetEnabled(false);
  }
}

// --- the press animation --------------------------------------------------------------

void CButton::Animation(bool undo) {
  if (!FAnimations->FPAn) return;
  const int n = FAnimations->FAnimshq;
  const int d = FAnimations->FAnimdelay;
  // Runs inside the mouse handler and blocks the thread for about n × d ms;
  // the fade timer cannot tick meanwhile, so the drawing engine advances the
  // fade itself.
  if (FAnimations->FAnimateEngine == cbneAtDraw) {
    for (int i = 0; i < n; ++i) {
      Sleep(d);
      const int dx = std::max(1, RoundEven(static_cast<long double>(Width()) / AnimSizeDvz));
      const int dy = std::max(1, RoundEven(static_cast<long double>(Height()) / AnimSizeDvz));
      ShX += undo ? -dx : dx;
      ShY += undo ? -dy : dy;
      FTimerAct(this);
      Paint();
    }
    return;
  }
  if (!undo) {
    w = Width() / 40;
    h = Height() / 40;
    fs = FFont.Size() / 40;
    if (fs == 0) fs = 1;
    if (w == 0) w = 1;
    if (h == 0) h = 1;
  } else {
    // The release undoes the last press.
    w = -w;
    h = -h;
    fs = -fs;
  }
  for (int i = 0; i < n; ++i) {
    Sleep(d);
    FFont.SetSize(FFont.Size() - fs);
    SetWidth(Width() - w);
    SetHeight(Height() - h);
    SetLeft(Left() + RoundEven(w / 2.0L));
    SetTop(Top() + RoundEven(h / 2.0L));
    Paint();
  }
}

void CButton::SetPaintRecorder(CanvasRecorder* recorder) {
  drawcanv.Canvas().SetRecorder(recorder);
  lastcanv.Canvas().SetRecorder(recorder);
}

// --- Paint ---------------------------------------------------------------------------------

void CButton::Paint() {
  // 1. Nothing is drawn, or re-applied, without a parent.
  if (Parent() == nullptr) return;

  // 2. The global preset, the accent colour and the preset, on every paint.
  if (!FPreset->FIgnGbSync) CheckForGlobalSync();
  ApplyAccentColor();
  ApplyPreset(*FPreset);

  // 3. The border colour (also the colour outside the rounded corners).
  CButtonPen& pen = *FPen;
  const TCustomStyleServices* style = TStyleManager::ActiveStyle();
  if (pen.FSyncBgColor) {
    if (StrInArray(style->Name(), nothemes)) {
      if (const TCustomForm* form = GetParentForm(this)) pen.FColor = form->Color();
    } else {
      pen.FColor = style->GetSystemColor(clBtnFace);
    }
  } else if (ParentColor()) {
    pen.FColor = style->GetSystemColor(Color());
  }

  const int W = Width();
  const int H = Height();

  // 4. The face bitmap, filled with the border colour. It is reused from the
  // last paint, so its canvas starts again from the initial pen and brush.
  drawcanv.SetSize(W, H);
  TCanvas& c = drawcanv.Canvas();
  c.Pen().SetColor(clBlack);
  c.Pen().SetWidth(1);
  c.Pen().SetStyle(psSolid);
  TColor back = pen.FColor;
  if (pen.FEnablePenAlt) {
    if (FState == mbsDown) back = pen.FCPenDown;
    if (FState == mbsEnter) back = pen.FCPenHover;
  }
  c.Brush().SetColor(back);
  c.Brush().SetStyle(bsSolid);
  c.FillRect(c.ClipRect());

  // 5.-7. Caption font and face colour along the fade; a flat button's caption
  // takes the state colour and its face the border's.
  c.Font().Assign(FFont);
  const int progress = FAnimations->FTimeProg;
  c.Brush().SetColor(FadeBrushColor(FPreviousState, FState, progress, false, false));
  c.Font().SetColor(FadeFontColor(FPreviousState, FState, progress));
  if (FFlatBT) {
    c.Font().SetColor(c.Brush().Color());
    c.Brush().SetColor(FadeBrushColor(FPreviousState, FState, progress, true, false));
  }

  // 8. The face rectangle, inside the border.
  const TRect DRect = Rect(pen.FWidth, pen.FWidth, W - pen.FWidth, H - pen.FWidth);

  // 9. Disabled: a grey face, or a flat button's caption in TextColors.BLine.
  const bool enabled = Enabled();
  if (!enabled) {
    if (FFlatBT) {
      c.Font().SetColor(FTextColors->FLine);
    } else {
      c.Brush().SetColor(ClrGray(c.Brush().Color()));
    }
  }

  // 10. The face: a gradient towards the state's gradient colour, or plain.
  if (FGradientSet->FEnabled) {
    const TColor cl2 = FadeBrushColor(FPreviousState, FState, progress, false, true);
    GradHorizontal(c, DRect, c.Brush().Color(), cl2);
  } else {
    c.FillRect(DRect);
  }

  // 11. Caption, second line, glyph or picture.
  PaintContent(c);

  // 12. The underline.
  if (FUnderLine->FUnderLn) {
    c.Brush().SetColor(FColors->FLine);
    if (FUnderLine->FUnderLnRound) {
      // A thick outline whose top lies above the bitmap: what shows is a line
      // along the bottom of the face that curves up into the sides.
      c.Pen().SetColor(FColors->FLine);
      c.Pen().SetWidth(FUnderLine->FUnderThick);
      c.Brush().SetStyle(bsClear);
      c.Pen().SetStyle(psSolid);
      if (!enabled) c.Pen().SetColor(ClrGray(c.Pen().Color()));
      const int t = c.Pen().Width();
      c.RoundRect(-(t / 2), -t, W + t / 2, H - pen.FWidth, FRoundAmount, 3 * FRoundAmount);
    } else {
      // UnderLineThicknes fiftieths of the height, in extended precision with
      // the division first (106 / 50 × 25 is just below 53 there). Not greyed.
      const long double barHeight =
          static_cast<long double>(H) / AnimSizeDvz * FUnderLine->FUnderThick;
      c.FillRect(Rect(pen.FWidth, H - static_cast<int>(std::trunc(barHeight)), W - pen.FWidth,
                      H - pen.FWidth));
    }
  }

  // 13. Rounded corners: nested outlines from a square corner to an ellipse
  // RoundAmount across cover what lies outside the rounded face, and leave a
  // one-pixel frame, in the border colour.
  if (FTransparent) {
    c.Brush().SetStyle(bsClear);
    TColor corner = pen.FColor;
    if (pen.FEnablePenAlt) {
      if (FState == mbsEnter) corner = pen.FCPenHover;
      if (FState == mbsDown) corner = pen.FCPenDown;
    }
    c.Pen().SetColor(corner);
    c.Pen().SetWidth(1);
    for (int I = 0; I <= FRoundAmount; ++I)
      c.RoundRect(0, 0, W, H, I, I);
  }

  // 14. The image, shrunk by the press animation and centred over the
  // button's colour, goes onto the screen in one copy.
  const TRect CRect = Rect(ShX / 2, ShY / 2, W - RoundEven(ShX / 2.0L), H - RoundEven(ShY / 2.0L));
  lastcanv.SetSize(W, H);
  TCanvas& last = lastcanv.Canvas();
  last.Brush().SetColor(style->GetSystemColor(Color()));
  last.FillRect(last.ClipRect());
  TCanvasHelper::DrawHighQuality(last, CRect, drawcanv, 255, false);
  Canvas().CopyRect(Rect(0, 0, W, H), last, Rect(0, 0, W, H));
}
