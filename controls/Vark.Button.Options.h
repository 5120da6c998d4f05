// The option groups of CButton: face and caption colours per state, the
// gradient, the border pen, the preset, the underline, the font auto-size and
// the animations.
//
// Each group remembers the button that made it (Owner). A setter stores the
// value and asks that button to repaint, except where a comment says otherwise;
// the button itself writes the fields directly while it paints (presets, the
// accent colour and the border colour are re-applied on every paint), so that
// painting never recurses into itself.
#pragma once

#include <cstdint>

#include "platform/graphics/Color.h"
#include "support/MetroTools.h"

class CButton;

// The default underline thickness.
constexpr int defaultunderln = 6;
// Divisor of the press animation's step and of the square underline's height.
constexpr int AnimSizeDvz = 50;

enum CButtonPreset : uint8_t {
  cbprCustom,
  cbprFluent,
  cbprFluentFlat,
  cbprFluentRound,
  cbprMetro,
  cbprMetroLink,
  cbprMetroSimple,
  cbprMetroFade,
  cbprFluentGray,
  cbprClassic,
  cbprNewClassic,
  cbprGlobalApplyColor,
  cbprWin32,
  cbprAeroLink,
  cbprLink
};

// How the press animation shrinks the button: by resizing the control itself,
// or by drawing its image smaller.
enum CButtonAnimateEngine : uint8_t { cbneComponent, cbneAtDraw };

// The base of the groups that repaint their button after a change.
class CButtonOptionGroup : public TMPersistent {
 public:
  using TMPersistent::TMPersistent;

  // Repaints the owner when it is a button and answers true; otherwise false.
  // (The form writer asks this before it stores a property of the group.)
  bool Paint();
};

// Colours per state; used for the face (Colors) and the caption (TextColors).
class CButtonColors : public CButtonOptionGroup {
 public:
  using CButtonOptionGroup::CButtonOptionGroup;

  TColor Enter() const { return FEnter; }
  void SetEnter(TColor Value);
  TColor Leave() const { return FLeave; }
  void SetLeave(TColor Value);
  TColor Down() const { return FDown; }
  void SetDown(TColor Value);
  // The underline's colour (Colors); unused by TextColors but for the caption
  // of a disabled flat button.
  TColor BLine() const { return FLine; }
  void SetBLine(TColor Value);

 private:
  friend class CButton;
  TColor FEnter = clBlack;
  TColor FLeave = clBlack;
  TColor FDown = clBlack;
  TColor FLine = clBlack;
};

// The right-hand colours of the horizontal face gradient, per state. Buttons
// may share one group (see CButton::SetGradient).
class CButtonGradientSet : public CButtonOptionGroup {
 public:
  using CButtonOptionGroup::CButtonOptionGroup;

  TColor Enter() const { return FEnter; }
  void SetEnter(TColor Value);
  TColor Leave() const { return FLeave; }
  void SetLeave(TColor Value);
  TColor Down() const { return FDown; }
  void SetDown(TColor Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);

 private:
  friend class CButton;
  TColor FEnter = 0x00FF00FF;
  TColor FLeave = 0x000000FF;
  TColor FDown = 0x00000080;
  bool FEnabled = false;
};

// The border: its colour (also the colour outside rounded corners), width and
// the alternative colours for hover and press.
class CButtonPen : public CButtonOptionGroup {
 public:
  using CButtonOptionGroup::CButtonOptionGroup;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  bool EnableAlternativeColors() const { return FEnablePenAlt; }
  void SetEnableAlternativeColors(bool Value);
  // Take the form's colour (or the style's button face) on every paint. Stored
  // without a repaint.
  bool FormSyncedColor() const { return FSyncBgColor; }
  void SetFormSyncedColor(bool Value) { FSyncBgColor = Value; }
  TColor AltPressColor() const { return FCPenDown; }
  void SetAltPressColor(TColor Value);
  TColor AltHoverColor() const { return FCPenHover; }
  void SetAltHoverColor(TColor Value);
  // Ignore every preset but cbprGlobalApplyColor. Stored without a repaint.
  bool GlobalPresetExcept() const { return exceptpreset; }
  void SetGlobalPresetExcept(bool Value) { exceptpreset = Value; }

 private:
  friend class CButton;
  TColor FColor = clWindow;
  int FWidth = 0;
  bool FEnablePenAlt = false;
  bool FSyncBgColor = false;
  TColor FCPenDown = clBlack;
  TColor FCPenHover = clBlack;
  bool exceptpreset = false;
};

// The preset a button takes its look from, re-applied on every paint.
class CButtonPresets : public CButtonOptionGroup {
 public:
  using CButtonOptionGroup::CButtonOptionGroup;

  TColor Color() const { return FrColor; }
  void SetColor(TColor Value);
  CButtonPreset Kind() const { return FpKind; }
  void SetKind(CButtonPreset Value);
  bool PenColorAuto() const { return FAutoPen; }
  void SetPenColorAuto(bool Value);
  bool ApplyOnce() const { return FApplyOnce; }
  void SetApplyOnce(bool Value);
  bool IgnoreGlobalSync() const { return FIgnGbSync; }
  void SetIgnoreGlobalSync(bool Value);

 private:
  friend class CButton;
  TColor FrColor = 0x00FF0000;
  CButtonPreset FpKind = cbprCustom;
  bool FAutoPen = true;
  bool FApplyOnce = false;
  bool FIgnGbSync = false;
};

// The line along the bottom of the face. Its setters repaint the button at once.
class CButtonUnderLine : public TMPersistent {
 public:
  using TMPersistent::TMPersistent;

  int UnderLineThicknes() const { return FUnderThick; }
  void SetUlThick(int Value);
  bool Enable() const { return FUnderLn; }
  void SetUline(bool Value);
  bool UnderLineRound() const { return FUnderLnRound; }
  void SetULRound(bool Value);

 private:
  friend class CButton;
  void PaintOwner();
  int FUnderThick = defaultunderln;
  bool FUnderLn = true;
  bool FUnderLnRound = true;
};

// Fits the caption's font to the button's width; -1 means no limit. Buttons
// may share one group (see CButton::SetFontAutoSize).
class CButtonFontAutoSize : public CButtonOptionGroup {
 public:
  using CButtonOptionGroup::CButtonOptionGroup;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Min() const { return FMin; }
  void SetMin(int Value);

 private:
  friend class CButton;
  bool FEnabled = false;
  int FMax = -1;
  int FMin = -1;
};

// The colour fade between states and the press animation. The button creates
// this group without an owner, so its setters only store.
class CButtonAnimations : public TMPersistent {
 public:
  using TMPersistent::TMPersistent;

  bool PressAnimation() const { return FPAn; }
  void SetPressAnimation(bool Value) { FPAn = Value; }
  bool FadeAnimation() const { return FFadeAnimation; }
  void SetFadeAnimation(bool Value) { FFadeAnimation = Value; }
  // Milliseconds between two steps of the press animation.
  int PADelay() const { return FAnimdelay; }
  void SetPADelay(int Value) { FAnimdelay = Value; }
  // Steps of the press animation.
  int PAShrinkAmount() const { return FAnimshq; }
  void SetPAShrinkAmount(int Value) { FAnimshq = Value; }
  // Progress of the running fade, 0 to FASpeed.
  int TimeProg() const { return FTimeProg; }
  void SetTimeProg(int Value) { FTimeProg = Value; }
  // Steps of a fade.
  int FASpeed() const { return FFadeSpeed; }
  void SetFASpeed(int Value) { FFadeSpeed = Value; }
  CButtonAnimateEngine PAAnimateEngine() const { return FAnimateEngine; }
  void SetPAAnimateEngine(CButtonAnimateEngine Value) { FAnimateEngine = Value; }

 private:
  friend class CButton;
  bool FPAn = false;
  bool FFadeAnimation = true;
  int FAnimdelay = 2;
  int FAnimshq = 6;
  int FTimeProg = 0;
  int FFadeSpeed = 10;
  CButtonAnimateEngine FAnimateEngine = cbneAtDraw;
};
