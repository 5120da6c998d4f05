// CProgress: a custom-drawn progress bar. Its filled part follows Position
// between Min and Max; a new position can glide there step by step on a timer
// (reporting every step through OnChange); a second, fast timer repaints the
// bar, and every paint moves a highlight over the filled part (or a solid
// block over the whole bar). It can lay a caption with a percentage over the
// bar, round its corners so that the parent shows through, follow the
// desktop's accent colour and take its look from one of seven presets.
//
// The bar is transparent: what lies beneath it shows wherever it does not
// paint (the rounded corners with TrueTransparency). Setters that change the
// look paint at once; the option groups marked "direct" below only store.
//
// Sections of the implementation: Vark.Progress.cpp holds the option groups,
// construction, the position rules and the two timers; Vark.ProgressPaint.cpp
// holds the paint, the caption's truncation and the preset table.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Color.h"
#include "platform/ui/CustomTransparentControl.h"
#include "platform/ui/Timer.h"
#include "support/MetroTools.h"
#include "support/Vark.Components.h"

class CProgress;

enum CProgressPreset : uint8_t {
  cprNone,
  cprStandard,
  cprError,
  cprBlue,
  cprMarble,
  cprModern,
  cprBeacon,
  cprWindows
};

enum CProgressAnimTypes : uint8_t { atyNone, atyFade, atySolid };

// Called with the bar, its position and its maximum after the position changed
// (and on every step of a glide, the last one included).
using CProgressChange = std::function<void(CProgress* Sender, int32_t Position, int32_t Max)>;

// The caption over the bar. Every setter stores and paints the bar at once.
class CProgressText : public TMPersistent {
 public:
  explicit CProgressText(CProgress* AOwner);

  const std::string& CaptionText() const { return SText; }
  void SetSText(const std::string& Value);
  bool Enabled() const { return FSEnable; }
  void SetEnableSText(bool Value);
  // Appends " <Position - Min>%" to the caption.
  bool IncludePercent() const { return FIncludePerc; }
  void SetInclPerc(bool Value);
  // Every paint sets the bar's width to the caption's width + 25.
  bool FitToText() const { return FFitToTx; }
  void SetFtText(bool Value);
  TColor FontColor() const { return FTextCol; }
  void SetFnColor(TColor Value);
  int32_t FontSize() const { return FTextSz; }
  void SetFnSize(int32_t Value);
  // -2: the bar's width; above 0: a width in pixels; anything else: no limit.
  int32_t TextWidthLimit() const { return FWidLimit; }
  void SetWLimit(int32_t Value);
  const std::string& FontName() const { return FTextNm; }
  void SetFontNm(const std::string& Value);

 private:
  friend class CProgress;
  void Changed();

  std::string SText = "Loading";
  bool FSEnable = false;
  bool FIncludePerc = true;
  bool FFitToTx = false;
  TColor FTextCol = clBlack;
  int32_t FTextSz = 8;
  int32_t FWidLimit = -2;
  std::string FTextNm = "Tahoma";
};

// The bar's colours (direct). The foreground is replaced by the accent colour
// on every paint unless the bar's AccentColor is acNone.
class CProgressColors : public TMPersistent {
 public:
  explicit CProgressColors(CProgress* AOwner);

  TColor Foreground() const { return FForeground; }
  void SetForeground(TColor Value) { FForeground = Value; }
  TColor Background() const { return FBackground; }
  void SetBackground(TColor Value) { FBackground = Value; }
  // Every paint takes the border colour from the form (or the style).
  bool FormSyncedColor() const { return FSyncBgColor; }
  void SetFormSyncedColor(bool Value) { FSyncBgColor = Value; }

 private:
  friend class CProgress;
  TColor FForeground = 0x0000D500;
  TColor FBackground = clWhite;
  bool FSyncBgColor = true;
};

// How a new position glides there (direct).
class CProgressAnimation : public TMPersistent {
 public:
  explicit CProgressAnimation(CProgress* AOwner);

  // Milliseconds between two steps; takes effect at the next SetPosition.
  int32_t Interval() const { return FInterval; }
  void SetInterval(int32_t Value) { FInterval = Value; }
  // Position units per step.
  int32_t Step() const { return FStep; }
  void SetStep(int32_t Value) { FStep = Value; }
  // Whether position changes glide (true) or jump.
  bool Animations() const { return FAnimations; }
  void SetAnimations(bool Value) { FAnimations = Value; }

  // The target of the running glide.
  int32_t FAnimateTo = 0;

 private:
  friend class CProgress;
  int32_t FInterval = 1;
  int32_t FStep = 1;
  bool FAnimations = true;
};

// The moving highlight and the resolution the bar is composed at.
class CProgressAnimate : public TMPersistent {
 public:
  explicit CProgressAnimate(CProgress* AOwner);

  // The highlight's half-width in pixels (direct).
  int32_t FadeSizing() const { return fadesize; }
  void SetFadeSizing(int32_t Value) { fadesize = Value; }
  // The repaint timer's interval in milliseconds.
  int32_t TimerAnimateSpeed() const { return timerspeed; }
  void ChangeAnimProgSpeed(int32_t Value);
  // The size the bar is composed at when CustomRezolution is on (direct).
  int32_t CustomRezX() const { return FCustomX; }
  void SetCustomRezX(int32_t Value) { FCustomX = Value; }
  int32_t CustomRezY() const { return FCustomY; }
  void SetCustomRezY(int32_t Value) { FCustomY = Value; }
  // Pixels the highlight moves per paint (direct).
  int32_t AnimateIncSpeed() const { return aincspeed; }
  void SetAnimateIncSpeed(int32_t Value) { aincspeed = Value; }
  CProgressAnimTypes AnimationSelector() const { return FSelectAnimation; }
  void SetAnimationSelector(CProgressAnimTypes Value) { FSelectAnimation = Value; }
  // Runs the repaint timer and draws the highlight; the setter paints at once.
  bool Enable() const { return FAllowProgressAnimate; }
  void ChengeALlowANi(bool Value);
  bool CustomRezolution() const { return FCustomRez; }
  void SetCustomRezolution(bool Value) { FCustomRez = Value; }

  // The highlight's current column, advanced by every paint that draws one.
  int32_t currentp = 0;

 private:
  friend class CProgress;
  int32_t fadesize = 100;
  int32_t timerspeed = 1;
  int32_t FCustomX = 0;
  int32_t FCustomY = 0;
  int32_t aincspeed = 2;
  CProgressAnimTypes FSelectAnimation = atyFade;
  bool FAllowProgressAnimate = true;
  bool FCustomRez = false;
};

// The corners (direct).
class CProgressOptions : public TMPersistent {
 public:
  explicit CProgressOptions(CProgress* AOwner);

  int32_t BorderRadius() const { return FRoundInt; }
  void SetBorderRadius(int32_t Value) { FRoundInt = Value; }
  // The colour of the corners outside the rounding; overwritten by every paint
  // while Colors.FormSyncedColor is on.
  TColor BorderColor() const { return FBordColor; }
  void SetBorderColor(TColor Value) { FBordColor = Value; }

 private:
  friend class CProgress;
  int32_t FRoundInt = 16;
  TColor FBordColor = clWhite;
};

class CProgress : public TCustomTransparentControl {
 public:
  explicit CProgress(TComponent* AOwner);
  ~CProgress() override;

  const std::string& Author() const { return FAuthor; }
  const std::string& Site() const { return FSite; }
  const std::string& Version() const { return FVersion; }

  CProgressChange OnChange;

  // Copies only the rounded shape onto the window, so the parent shows
  // through at the corners.
  bool TrueTransparency() const { return FTrueTransparency; }
  void SetTrueTransparency(bool Value);
  CAccentColor AccentColor() const { return FAccent; }
  void SetAccentColor(CAccentColor Value);
  CProgressPreset Presets() const { return FPreset; }
  // Stores the preset and writes its values into the option groups; no paint.
  void SetPresets(CProgressPreset Value);
  // Lets the repaint timer paint a bar whose parent is hidden.
  bool EnableAnimateInIDE() const { return AnimateInIDE; }
  void SetEnableAnimateInIDE(bool Value) { AnimateInIDE = Value; }

  CProgressText& TextOverlay() { return *FProgressText; }
  CProgressOptions& ProgressbarOptions() { return *FProgOptions; }
  CProgressColors& Colors() { return *FColors; }
  CProgressAnimate& AnimateProgress() { return *FProgAnim; }
  CProgressAnimation& Animations() { return *FAnimation; }
  const CProgressText& TextOverlay() const { return *FProgressText; }
  const CProgressOptions& ProgressbarOptions() const { return *FProgOptions; }
  const CProgressColors& Colors() const { return *FColors; }
  const CProgressAnimate& AnimateProgress() const { return *FProgAnim; }
  const CProgressAnimation& Animations() const { return *FAnimation; }

  int32_t Position() const { return FPosition; }
  // Within Min..Max: glides there (Animations on) or jumps and reports;
  // outside: ignored. While the bar is being loaded the value is stored as it
  // is, before Min and Max are known.
  void SetPosition(int32_t Value);
  int32_t Max() const { return FMax; }
  // Clamps the position into the new range without reporting it.
  void SetMax(int32_t Value);
  int32_t Min() const { return FMin; }
  void SetMin(int32_t Value);
  // With jump: stores pos without a range check, reports and paints;
  // otherwise SetPosition(pos).
  void SetValue(int32_t pos, bool jump);

  // The foreground takes the accent colour, unless AccentColor is acNone.
  void ApplyAccentColor();
  // The framework's invalidation (the parent and the controls beneath repaint
  // too), then the accent colour.
  void Invalidate() override;

  // The caption shortened with "..." to fit TextWidthLimit.
  std::string TruncToLimit(const std::string& tx);
  // clr with perc added to each channel, clamped to 0..255.
  TColor ChangeColorSat(TColor clr, int perc) const;

  // The timers: the glide (direction in its Tag: 0 down, 1 up) and the repaint.
  const TTimer& AnimationTimer() const { return *FAnimationTimer; }
  const TTimer& DrawAnimTimer() const { return *FDrawAnim; }
  TTimer& AnimationTimer() { return *FAnimationTimer; }
  TTimer& DrawAnimTimer() { return *FDrawAnim; }

  void Paint() override;

 protected:
  // A progress bar with Min, Max and Position as its value.
  void DescribeAccessible(vark::a11y::Facts& facts) const override;

 private:
  friend class CProgressText;
  friend class CProgressAnimate;

  void FAnimationTimerEvent(TObject* Sender);
  void FDrawAnimEvent(TObject* Sender);
  // Paints at once when there is a window to paint on.
  void PaintNow();
  // Paint steps 5 to 7: the fill, the highlight and the caption on the work
  // bitmap.
  void ComposeWork(int BW, int BH);
  void DrawFade(TCanvas& canvas, int BW, int BH);
  void DrawSolid(TCanvas& canvas, int BW, int BH);
  void DrawCaption(TCanvas& canvas);
  void DrawCorners(TCanvas& canvas, int W, int H);
  // Works out (once per size and corner) which pixels the rounded-shape copy
  // takes, as rectangles of equal rows.
  void UpdateShape(int W, int H, int radius);
  // The text after "Loading" with IncludePercent: " 42%".
  std::string PercentSuffix(int64_t value) const;

  std::string FAuthor;
  std::string FSite;
  std::string FVersion;
  std::unique_ptr<CProgressText> FProgressText;
  std::unique_ptr<CProgressColors> FColors;
  std::unique_ptr<CProgressAnimation> FAnimation;
  std::unique_ptr<CProgressAnimate> FProgAnim;
  std::unique_ptr<CProgressOptions> FProgOptions;
  CProgressPreset FPreset = cprNone;
  bool AnimateInIDE = false;
  int32_t FMax = 100;
  int32_t FMin = 0;
  int32_t FPosition = 0;
  std::unique_ptr<TTimer> FAnimationTimer;
  std::unique_ptr<TTimer> FDrawAnim;
  CAccentColor FAccent = acAccentAdjust;
  bool FTrueTransparency = true;

  // The work and output bitmaps of the paint, kept between paints so that a
  // steady animation allocates nothing.
  TBitmap FWork;
  TBitmap FOutput;
  // What CopyRoundRect copies for a bar of FShapeW × FShapeH with corners of
  // FShapeR: the same pixels every frame, so they are copied as these
  // rectangles instead of hundreds of strips.
  int FShapeW = -1;
  int FShapeH = -1;
  int FShapeR = 0;
  std::vector<TRect> FShapeRects;
};
