// CButton presets, the global preset synchronisation and the accent colour.
// All three are re-applied at the start of every paint: first the global
// preset, then the accent colour, then the preset, so a preset keeps its
// settings on every paint unless it is applied once.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "controls/Vark.Button.h"
#include "support/Vark.ColorUtilities.h"

namespace {

// What a preset kind sets beyond the colours: shape and behaviour.
struct PresetShape {
  bool SubTextEnabled;
  bool ParentColor;
  CButtonAnimateEngine Engine;
  bool FormSyncedColor;
  bool EnableAlternativeColors;
  int RoundAmount;
  int PenWidth;
  bool FlatButton;
  bool UnderLine;  // on: round and defaultunderln thick; off: just switched off
  bool PressAnimation;
  bool RoundTransparent;
  bool FadeAnimation;
  std::optional<int> FASpeed;  // unset: left as it is
};

constexpr bool F = false, T = true;
constexpr std::nullopt_t keep = std::nullopt;

// Indexed by CButtonPreset; cbprCustom and cbprGlobalApplyColor set nothing here.
// clang-format off
constexpr std::array<std::optional<PresetShape>, 15> kShapes = {{
  //          sub parent engine         sync alt round pen flat under press corners fade speed
  std::nullopt,                                                                                   // Custom
  PresetShape{F,  T,     cbneAtDraw,    T,   F,  10,   0,  F,   T,    F,    T,      T,   10},    // Fluent
  PresetShape{F,  T,     cbneAtDraw,    T,   F,  10,   0,  T,   T,    F,    T,      T,   10},    // FluentFlat
  PresetShape{F,  T,     cbneAtDraw,    T,   F,  25,   0,  F,   T,    F,    T,      T,   10},    // FluentRound
  PresetShape{F,  F,     cbneAtDraw,    F,   F,  0,    2,  F,   F,    F,    F,      F,   keep},  // Metro
  PresetShape{T,  F,     cbneAtDraw,    F,   F,  0,    2,  F,   F,    F,    F,      F,   keep},  // MetroLink
  PresetShape{F,  F,     cbneAtDraw,    F,   F,  0,    0,  F,   F,    F,    F,      F,   keep},  // MetroSimple
  PresetShape{F,  F,     cbneAtDraw,    F,   F,  0,    2,  F,   F,    F,    F,      T,   keep},  // MetroFade
  PresetShape{F,  F,     cbneComponent, F,   T,  0,    3,  F,   F,    T,    F,      T,   10},    // FluentGray
  PresetShape{F,  F,     cbneAtDraw,    F,   F,  0,    1,  F,   F,    F,    F,      T,   10},    // Classic
  PresetShape{F,  F,     cbneAtDraw,    F,   F,  0,    1,  F,   F,    F,    F,      T,   10},    // NewClassic
  std::nullopt,                                                                                   // GlobalApplyColor
  PresetShape{F,  F,     cbneAtDraw,    F,   T,  0,    1,  F,   F,    F,    F,      T,   10},    // Win32
  PresetShape{T,  F,     cbneAtDraw,    F,   T,  0,    1,  F,   F,    F,    F,      T,   10},    // AeroLink
  PresetShape{T,  F,     cbneAtDraw,    F,   T,  0,    3,  F,   F,    F,    F,      T,   10},    // Link
}};
// clang-format on

// A preset's font size in points, as a height at 96 pixels per inch scaled
// as the button was (scale M / D).
int PresetFontHeight(int size, int M, int D) {
  return -MulDiv(MulDiv(size, TFont::kPixelsPerInch, 72), M, D);
}

// Only what differs is set: a paint re-applies the preset every time, and a
// font name copied in would cost an allocation each time.
void SetPresetFont(TFont& font, int size, TFontStyles style, std::string_view name, int M, int D) {
  const int height = PresetFontHeight(size, M, D);
  if (font.Height() != height) font.SetHeight(height);
  if (font.Style() != style) font.SetStyle(style);
  if (font.Name() != name) font.SetName(std::string(name));
}

}  // namespace

bool CButton::CheckForGlobalSync() {
  if (!GlobalSync) return false;
  FPreset->FpKind = gspreset;
  FPreset->FrColor = gspresetcolor;
  return true;
}

void CButton::ApplyAccentColor() {
  if (FAccent == acNone) return;
  const TColor L = ChangeColorSat(GetAccentColor(FAccent), 15);
  FColors->FLeave = L;
  FColors->FEnter = ChangeColorSat(L, 40);
  FColors->FDown = ChangeColorSat(L, -40);
  FColors->FLine = ChangeColorSat(L, -40);
}

void CButton::ApplyPreset(const CButtonPresets& Value) {
  // The button keeps owning its preset group; another group's settings are
  // taken over instead of the group itself.
  if (&Value != FPreset.get()) {
    FPreset->FrColor = Value.FrColor;
    FPreset->FpKind = Value.FpKind;
    FPreset->FAutoPen = Value.FAutoPen;
    FPreset->FApplyOnce = Value.FApplyOnce;
    FPreset->FIgnGbSync = Value.FIgnGbSync;
  }
  CButtonPresets& preset = *FPreset;
  const CButtonPreset kind = preset.FpKind;
  // A kind past the last one (a cast from a stored number) is left alone,
  // like a custom look.
  if (kind == cbprCustom || kind >= kShapes.size()) return;
  if (FPen->exceptpreset && kind != cbprGlobalApplyColor) return;
  if (kind == cbprGlobalApplyColor) preset.FrColor = gspresetcolor;

  CButtonColors& colors = *FColors;
  CButtonColors& text = *FTextColors;
  CButtonPen& pen = *FPen;

  // Colours from the preset colour, only without an accent colour.
  if (FAccent == acNone) {
    if (preset.FrColor != clWhite) {
      text.FEnter = clWhite;
      text.FDown =
          ChangeColorSat(text.FLeave, -5);  // from the caption colour before it turns white
      text.FLeave = clWhite;
      if (preset.FAutoPen) pen.FColor = clWhite;
      colors.FLeave = preset.FrColor;
      colors.FEnter = ChangeColorSat(preset.FrColor, 40);
      colors.FDown = ChangeColorSat(preset.FrColor, -40);
      colors.FLine = ChangeColorSat(preset.FrColor, -40);
    } else {
      text.FEnter = clBlack;
      text.FDown = clWhite;
      text.FLeave = clBlack;
      if (preset.FAutoPen) pen.FColor = clBlack;
      colors.FLeave = clWhite;
      colors.FEnter = ChangeColorSat(clWhite, -25);
      colors.FDown = clBlack;
      colors.FLine = clBlack;
    }
  }

  // Common to every kind.
  FEnableCaption = true;
  FFlatComplete = false;
  pen.FEnablePenAlt = false;
  bool parentColor = false;

  if (const std::optional<PresetShape>& shape = kShapes[kind]) {
    FEnableSubText = shape->SubTextEnabled;
    parentColor = shape->ParentColor;
    FAnimations->FAnimateEngine = shape->Engine;
    pen.FSyncBgColor = shape->FormSyncedColor;
    pen.FEnablePenAlt = shape->EnableAlternativeColors;
    FRoundAmount = shape->RoundAmount;
    pen.FWidth = shape->PenWidth;
    FFlatBT = shape->FlatButton;
    if (shape->UnderLine) {
      FUnderLine->FUnderLn = true;
      FUnderLine->FUnderLnRound = true;
      FUnderLine->FUnderThick = defaultunderln;
    } else {
      FUnderLine->FUnderLn = false;
    }
    FAnimations->FPAn = shape->PressAnimation;
    FTransparent = shape->RoundTransparent;
    FAnimations->FFadeAnimation = shape->FadeAnimation;
    if (shape->FASpeed) FAnimations->FFadeSpeed = *shape->FASpeed;
  }
  // ParentColor is switched off for every kind and on again by the Fluent
  // kinds; only the final value is set, because every change of it marks the
  // window for repainting, and a paint that did so each time would repaint
  // without end.
  SetParentColor(parentColor);

  // Fonts, colours and the icon of each kind.
  switch (kind) {
    case cbprFluent:
    case cbprFluentFlat:
    case cbprFluentRound:
      SetPresetFont(FFont, 12, {}, "Segoe UI Semibold", FScaleM, FScaleD);
      break;
    case cbprMetro:
    case cbprMetroLink:
      SetPresetFont(FFont, 12, kind == cbprMetroLink ? TFontStyles{fsBold} : TFontStyles{},
                    "Segoe UI Semibold", FScaleM, FScaleD);
      colors.FLine = clWhite;
      if (pen.FColor == clWhite) {
        colors.FDown = clWhite;
        text.FDown = clBlack;
      } else {
        colors.FDown = clBlack;
        text.FDown = clWhite;
      }
      break;
    case cbprMetroSimple:
      SetPresetFont(FFont, 12, {}, "Segoe UI Semibold", FScaleM, FScaleD);
      colors.FLine = clWhite;
      colors.FDown = clBlack;
      text.FDown = clWhite;
      break;
    case cbprMetroFade:
      SetPresetFont(FFont, 12, {}, "Segoe UI Semibold", FScaleM, FScaleD);
      colors.FLine = clWhite;
      break;
    case cbprFluentGray:
      SetPresetFont(FFont, 10, {}, "Segoe UI", FScaleM, FScaleD);
      colors.FLeave = 0x004E4E4E;
      colors.FEnter = 0x004E4E4E;
      colors.FDown = 0x00878787;
      text.FLeave = text.FEnter = text.FDown = clWhite;
      pen.FColor = 0x004E4E4E;
      pen.FCPenHover = 0x00878787;
      pen.FCPenDown = 0x00878787;
      FAnimations->FAnimshq = 2;
      FAnimations->FAnimdelay = 2;
      break;
    case cbprClassic:
    case cbprNewClassic:
      SetPresetFont(FFont, 8, {}, "Tahoma", FScaleM, FScaleD);
      colors.FLeave = clBtnFace;
      colors.FEnter = clWhite;
      colors.FDown = clBtnShadow;
      text.FLeave = text.FEnter = text.FDown = clWindowText;
      pen.FColor = kind == cbprClassic ? clGray : clBlue;
      break;
    case cbprWin32:
      SetPresetFont(FFont, 8, {}, "Tahoma", FScaleM, FScaleD);
      colors.FLeave = 0x00E1E1E1;
      colors.FEnter = 0x00FBF1E5;
      colors.FDown = 0x00F7E4CC;
      text.FLeave = text.FEnter = text.FDown = clWindowText;
      pen.FColor = 0x00ADADAD;
      pen.FCPenHover = 0x00D77800;
      pen.FCPenDown = 0x00995400;
      break;
    case cbprAeroLink:
      colors.FLeave = 0x00F0F0F0;
      colors.FEnter = 0x00F0F0F0;
      colors.FDown = 0x00D8D8D8;
      text.FLeave = 0x00DA8B27;
      text.FEnter = 0x00E54A07;
      text.FDown = 0x00732006;
      pen.FColor = 0x00E1E1E1;
      pen.FCPenHover = 0x00D8D8D8;
      pen.FCPenDown = 0x00C0C0C0;
      FCIcon = cicArrow;
      FSubTextFont.SetHeight(PresetFontHeight(8, FScaleM, FScaleD));
      break;
    case cbprLink:
      colors.FLeave = 0x00E1E1E1;
      colors.FEnter = 0x00FBF1E5;
      colors.FDown = 0x00F7E4CC;
      text.FLeave = text.FEnter = text.FDown = 0x00DA8B27;
      pen.FColor = 0x00E1E1E1;
      pen.FCPenHover = 0x00EAD2B4;
      pen.FCPenDown = 0x00F7E4CC;
      FCIcon = cicArrow;
      break;
    case cbprCustom:
    case cbprGlobalApplyColor:
      break;
  }

  if (preset.FApplyOnce) preset.FpKind = cbprCustom;
}
