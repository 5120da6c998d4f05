// CButton: the control library's push button. It draws every pixel itself: a
// face in the colour of its state (normal, hovered or focused, pressed) that
// fades from the previous state's colour, an optional horizontal gradient, a
// border, rounded corners, an underline, an icon glyph or a picture, a caption
// and an optional second line. Its colours come from its option groups, from
// one of fifteen presets or from the desktop's accent colour, re-applied on
// every paint. It reacts to the mouse (any button), the keyboard focus, Return
// and the form's default and cancel keys, and reports its state changes.
//
// Painting is synchronous: every setter, state change and animation step draws
// the whole button off-screen and copies it onto the window at once.
//
// The implementation is split by subject:
//   Vark.Button.cpp          construction, setters, states and input
//   Vark.Button.Presets.cpp  presets, global preset synchronisation, accent colour
//   Vark.Button.Paint.cpp    the paint pipeline, the fade, the press animation
//   Vark.Button.Layout.cpp   caption, second line, glyph and picture
//   Vark.Button.Options.cpp  the option groups
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "controls/Vark.Button.Options.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Timer.h"
#include "support/Vark.Components.h"

enum CButtonState : uint8_t { mbsLeave, mbsEnter, mbsDown };

// Where the icon or picture stands beside the caption.
enum CPosition : uint8_t { cpLeft, cpRight, cpTop, cpBottom };

enum CButtonIcon : uint8_t {
  cicNone,
  cicSegoeFluent,
  cicYes,
  cicNo,
  cicTrueYes,
  cicNoAllow,
  cicQuestion,
  cicWarning,
  cicStart,
  cicNext,
  cicBack,
  cicUp,
  cicDown,
  cicArrow,
  cicEnter,
  cicRetry,
  cicDownload,
  cicUpload,
  cicSearch,
  cicSearchL
};

// Called with the button and its new state.
using CButtonStateChange = std::function<void(TObject* Sender, CButtonState State)>;

// The global preset: while GlobalSync is on, every button that does not ignore
// it takes gspreset and gspresetcolor at each paint.
extern bool GlobalSync;
extern CButtonPreset gspreset;
extern TColor gspresetcolor;

// Mixes two colours: A (0..100) percent of the way from Color2 to Color1, each
// channel moved by floor((p - q) * a / 256) with a = Round(A * 2.55), so a
// rising channel stops one short of its target at 100.
TColor Blend(TColor Color1, TColor Color2, uint8_t A);

class CButton : public TCustomControl {
 public:
  explicit CButton(TComponent* AOwner);
  ~CButton() override;

  // --- information --------------------------------------------------------
  const std::string& Author() const { return FAuthor; }
  const std::string& Site() const { return FSite; }
  const std::string& Version() const { return FVersion; }

  // --- behaviour ----------------------------------------------------------
  // Written to the form's ModalResult on every click, 0 included.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  CButtonStateChange OnStateChange;
  // Return (Escape) pressed anywhere on the form clicks a Default (Cancel)
  // button. Neither setter repaints.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  CButtonState State() const { return FState; }
  // Starts the fade from the current state's colour and repaints, also when
  // Value is the current state.
  void SetState(CButtonState Value);

  // --- content --------------------------------------------------------------
  TAlignment Allignment() const { return FAlign; }
  void SetAlign(TAlignment Value);
  using TCustomControl::SetAlign;  // the framework's Align stays reachable
  bool BSegoeMetro() const { return FSegoeMetro; }
  void SetMetroIcon(bool Value);
  const std::string& BSegoeIcon() const { return FSegoeIcon; }
  void SetSegoeIcon(const std::string& Value);
  CPosition BImageLayout() const { return FImageLayout; }
  void SetImageLayout(CPosition Value);
  // Stored with the form; painting does not read it.
  TColor BmpTransparentColor() const { return FMBTColor; }
  void SetFMBTColor(TColor Value);
  TPicture& BPicture() { return *FBitmap; }
  const TPicture& BPicture() const { return *FBitmap; }
  // Copies Value's picture (null empties it).
  void SetBitmap(const TPicture* Value);
  CButtonIcon ButtonIcon() const { return FCIcon; }
  void SetIcon(CButtonIcon Value);
  // Stored with the form; painting does not read it.
  bool BmpCustomTrColor() const { return FCustTColor; }
  void SetFCustColor(bool Value);
  bool ShowCaption() const { return FEnableCaption; }
  void SetShowCaption(bool Value);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  const std::string& SubText() const { return FSubText; }
  void SetSubText(const std::string& Value);
  bool SubTextEnabled() const { return FEnableSubText; }
  void SetEnableSubText(bool Value);
  int TextWallSpacing() const { return FTxtWSpace; }
  void SetTextWall(int Value);

  // The caption font, the button's own (it hides the framework's Font).
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  // Copies Value's attributes into the button's font.
  void SetFont(const TFont& Value);
  TFont& SubTextFont() { return FSubTextFont; }
  const TFont& SubTextFont() const { return FSubTextFont; }
  void SetSubFont(const TFont& Value);
  // Possibly shared with other buttons; SetFontAutoSize adopts a group
  // without copying it and without repainting.
  const std::shared_ptr<CButtonFontAutoSize>& FontAutoSize() const { return FFontAutoSize; }
  void SetFontAutoSize(std::shared_ptr<CButtonFontAutoSize> Value);

  // --- look -----------------------------------------------------------------
  CAccentColor UseAccentColor() const { return FAccent; }
  void SetAccentColor(CAccentColor Value);
  // Possibly shared with other buttons; SetGradient adopts a group without
  // copying it, then repaints.
  const std::shared_ptr<CButtonGradientSet>& GradientOptions() const { return FGradientSet; }
  void SetGradient(std::shared_ptr<CButtonGradientSet> Value);
  // The button's own record of a control-style set, stored with the form; it
  // hides, and does not change, the framework's control style.
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  bool RoundTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  int RoundAmount() const { return FRoundAmount; }
  void SetRoundVal(int Value);
  bool FlatButton() const { return FFlatBT; }
  void SetFlatnes(bool Value);
  // Turning it on switches the underline off (through its setter).
  bool FlatComplete() const { return FFlatComplete; }
  void SetFlatComplete(bool Value);

  CButtonColors& Colors() { return *FColors; }
  const CButtonColors& Colors() const { return *FColors; }
  CButtonColors& TextColors() { return *FTextColors; }
  const CButtonColors& TextColors() const { return *FTextColors; }
  CButtonPen& Pen() { return *FPen; }
  const CButtonPen& Pen() const { return *FPen; }
  CButtonUnderLine& UnderLine() { return *FUnderLine; }
  const CButtonUnderLine& UnderLine() const { return *FUnderLine; }
  CButtonAnimations& Animations() { return *FAnimations; }
  const CButtonAnimations& Animations() const { return *FAnimations; }
  CButtonPresets& Preset() { return *FPreset; }
  const CButtonPresets& Preset() const { return *FPreset; }

  // --- presets and accent colour (Vark.Button.Presets.cpp) ------------------
  // The Preset setter: takes Value's settings into the button's own preset
  // group (the button keeps owning it) and applies the preset.
  void ApplyPreset(const CButtonPresets& Value);
  // Derives the four face colours from the accent colour, unless UseAccentColor
  // is acNone.
  void ApplyAccentColor();
  // Takes the global preset into Preset while GlobalSync is on; true then.
  bool CheckForGlobalSync();

  // --- painting and animation (Vark.Button.Paint.cpp) -----------------------
  // Draws the whole button onto its canvas; nothing without a parent.
  void Paint() override;
  // Marks the button for repainting by the window, then re-applies the global
  // preset, paints at once and re-applies the accent colour.
  void Invalidate() override;
  void SetEnabled(bool Value) override;
  void SetFocus() override;
  // The caption fonts are the button's own, so the framework's scaling of
  // Font does not reach them: they are scaled here with the bounds.
  void ChangeScale(int M, int D) override;
  // The framework's click (OnClick), then the form's ModalResult := ours.
  void Click() override;

  // The face colour (or, with gradientcolor, the gradient's right-hand colour)
  // on the way from one state's colour to the other's after progress steps.
  TColor FadeBrushColor(CButtonState from, CButtonState towhich, int progress, bool isflat,
                        bool gradientcolor) const;
  // The caption colour likewise.
  TColor FadeFontColor(CButtonState from, CButtonState towhich, int progress) const;
  // The grey of the same lightness: (R + G + B) div 3 in every channel.
  static TColor ClrGray(TColor clr);

  // Records the drawing on the off-screen bitmaps (the face, then the image
  // composed for the screen); nullptr stops it. For tests.
  void SetPaintRecorder(CanvasRecorder* recorder);

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyPress(char& Key) override;
  void DoEnter() override;
  void DoExit() override;
  void CMMouseEnter() override;
  void CMMouseLeave() override;
  void CMDialogKey(TCMDialogKey& Message) override;
  // A push button named by its Text, whose action "click" is a click.
  void DescribeAccessible(vark::a11y::Facts& facts) const override;
  void DoAccessibleAction(std::string_view action) override;

  // Starts a fade from the current state (when the button and the application
  // can show one).
  void StTimer();
  // One fade step: the fade timer's tick, also run by the press animation.
  void FTimerAct(TObject* Sender);
  // The press animation (undo false) and its reversal on release (undo true).
  void Animation(bool undo);

 private:
  // Calls OnStateChange with the current state.
  void NotifyStateChange();
  // Step 11 of Paint: caption, second line, glyph or picture on canvas.
  void PaintContent(TCanvas& canvas);
  // The picture as a bitmap ready to draw, converted once per picture.
  const TBitmap* PictureBitmap();

  std::string FAuthor;
  std::string FSite;
  std::string FVersion;
  std::unique_ptr<CButtonPresets> FPreset;
  std::unique_ptr<CButtonColors> FColors;
  std::unique_ptr<CButtonPen> FPen;
  std::unique_ptr<TPicture> FBitmap;
  TColor FMBTColor = clWhite;
  std::unique_ptr<CButtonColors> FTextColors;
  std::unique_ptr<CButtonAnimations> FAnimations;
  bool FTransparent = true;
  bool FCustTColor = false;
  bool FFlatBT = false;
  bool FFlatComplete = false;
  bool FEnableCaption = true;
  bool FCancel = false;
  bool FDefault = false;
  // Steps of the resizing press animation: width, height, font size.
  int w = 0;
  int h = 0;
  int fs = 0;
  std::shared_ptr<CButtonGradientSet> FGradientSet;
  std::shared_ptr<CButtonFontAutoSize> FFontAutoSize;
  std::unique_ptr<CButtonUnderLine> FUnderLine;
  CButtonIcon FCIcon = cicNone;
  TModalResult FModalResult = mrNone;
  int FRoundAmount = 10;
  std::string FText;
  std::string FSubText;
  bool FEnableSubText = false;
  CButtonState FState = mbsLeave;
  CButtonState FPreviousState = mbsLeave;
  TFont FFont;
  TFont FSubTextFont;
  int FScaleM = 1, FScaleD = 1;  // the display scale the button was made for
  TAlignment FAlign = taCenter;
  TControlStyle FControlStyle;
  // How far the drawing press animation has shrunk the image.
  int ShX = 0;
  int ShY = 0;
  CPosition FImageLayout = cpLeft;
  int FTxtWSpace = 10;
  std::string FSegoeIcon;
  bool FSegoeMetro = false;
  CAccentColor FAccent = acAccentAdjust;
  std::unique_ptr<TTimer> FadeAnim;

  // The groups this button made, so that it can leave them ownerless when it
  // goes while other buttons still share them.
  std::weak_ptr<CButtonGradientSet> FOwnGradientSet;
  std::weak_ptr<CButtonFontAutoSize> FOwnFontAutoSize;

  // Off-screen work, kept between paints so that a paint allocates nothing:
  // the face and content, then the image scaled by the press animation.
  TBitmap drawcanv;
  TBitmap lastcanv;
  TFont FGlyphSavedFont;                    // the caption font while the glyph is drawn
  std::string FFailedCaption;               // the caption with the failure mark in front
  std::unique_ptr<TBitmap> FPictureBitmap;  // BPicture converted for drawing
  bool FPictureBitmapValid = false;
};
