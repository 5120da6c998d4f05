// The custom title bar of a form: when enabled, the form has no system caption
// and draws the title band itself, inside the top of its client area, as the
// first layer of its background (colour, then caption), so the controls placed
// over it paint on top. Pressing the band where no control takes the mouse
// drags the window. TTitleBarPanel is a control a form can place over the band
// (CustomTitleBar().SetControl) to learn its height and to hold controls in it.
#pragma once

#include "platform/graphics/Color.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/UITypes.h"

class TCustomForm;
class TTitleBarPanel;

class TCustomTitleBar : public TPersistent {
 public:
  static constexpr int kDefaultHeight = 30;

  explicit TCustomTitleBar(TCustomForm* form) : form_(form) {}

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int Height() const { return height_; }
  void SetHeight(int value);
  TAlignment CaptionAlignment() const { return captionAlignment_; }
  void SetCaptionAlignment(TAlignment value) { Set(captionAlignment_, value); }
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value) { Set(showCaption_, value); }
  bool ShowIcon() const { return showIcon_; }
  void SetShowIcon(bool value) { Set(showIcon_, value); }
  // With SystemColors the band takes the desktop's caption colours and the
  // colour properties below are kept but not used.
  bool SystemColors() const { return systemColors_; }
  void SetSystemColors(bool value) { Set(systemColors_, value); }
  // With SystemButtons the band shows the caption buttons the form's
  // BorderIcons name (minimise, maximise, close).
  bool SystemButtons() const { return systemButtons_; }
  void SetSystemButtons(bool value) { Set(systemButtons_, value); }
  bool SystemHeight() const { return systemHeight_; }
  void SetSystemHeight(bool value) { Set(systemHeight_, value); }

  TColor BackgroundColor() const { return background_; }
  void SetBackgroundColor(TColor v) { Set(background_, v); }
  TColor ForegroundColor() const { return foreground_; }
  void SetForegroundColor(TColor v) { Set(foreground_, v); }
  TColor InactiveBackgroundColor() const { return inactiveBackground_; }
  void SetInactiveBackgroundColor(TColor v) { Set(inactiveBackground_, v); }
  TColor InactiveForegroundColor() const { return inactiveForeground_; }
  void SetInactiveForegroundColor(TColor v) { Set(inactiveForeground_, v); }
  TColor ButtonForegroundColor() const { return buttonForeground_; }
  void SetButtonForegroundColor(TColor v) { Set(buttonForeground_, v); }
  TColor ButtonBackgroundColor() const { return buttonBackground_; }
  void SetButtonBackgroundColor(TColor v) { Set(buttonBackground_, v); }
  TColor ButtonHoverForegroundColor() const { return buttonHoverForeground_; }
  void SetButtonHoverForegroundColor(TColor v) { Set(buttonHoverForeground_, v); }
  TColor ButtonHoverBackgroundColor() const { return buttonHoverBackground_; }
  void SetButtonHoverBackgroundColor(TColor v) { Set(buttonHoverBackground_, v); }
  TColor ButtonPressedForegroundColor() const { return buttonPressedForeground_; }
  void SetButtonPressedForegroundColor(TColor v) { Set(buttonPressedForeground_, v); }
  TColor ButtonPressedBackgroundColor() const { return buttonPressedBackground_; }
  void SetButtonPressedBackgroundColor(TColor v) { Set(buttonPressedBackground_, v); }
  TColor ButtonInactiveForegroundColor() const { return buttonInactiveForeground_; }
  void SetButtonInactiveForegroundColor(TColor v) { Set(buttonInactiveForeground_, v); }
  TColor ButtonInactiveBackgroundColor() const { return buttonInactiveBackground_; }
  void SetButtonInactiveBackgroundColor(TColor v) { Set(buttonInactiveBackground_, v); }

  // The panel placed over the band; it is aligned to the top with the band's height.
  TTitleBarPanel* Control() const { return control_; }
  void SetControl(TTitleBarPanel* panel);

  // The colours in force for a form that is (or is not) active.
  TColor EffectiveBackground(bool active) const;
  TColor EffectiveForeground(bool active) const;

 private:
  template <class T>
  void Set(T& field, T value) {
    field = value;
    Changed();
  }
  void Changed();

  TCustomForm* form_;
  bool enabled_ = false;
  int height_ = kDefaultHeight;
  TAlignment captionAlignment_ = taLeftJustify;
  bool showCaption_ = true;
  bool showIcon_ = true;
  bool systemColors_ = true;
  bool systemButtons_ = true;
  bool systemHeight_ = true;
  TColor background_ = clWhite;
  TColor foreground_ = clBlack;
  TColor inactiveBackground_ = clWhite;
  TColor inactiveForeground_ = 0x00999999;
  TColor buttonForeground_ = clBlack;
  TColor buttonBackground_ = clWhite;
  TColor buttonHoverForeground_ = clBlack;
  TColor buttonHoverBackground_ = 0x00E5E5E5;
  TColor buttonPressedForeground_ = clBlack;
  TColor buttonPressedBackground_ = 0x00CACACA;
  TColor buttonInactiveForeground_ = 0x00999999;
  TColor buttonInactiveBackground_ = clWhite;
  TTitleBarPanel* control_ = nullptr;
};

// A control over the title band. It paints nothing itself (the form draws the
// band beneath it) and lets presses fall through to the band, so the band still
// drags the window; controls placed on it take the mouse as usual.
class TTitleBarPanel : public TCustomControl {
 public:
  explicit TTitleBarPanel(TComponent* AOwner);

 protected:
  bool HitTest(int X, int Y) const override;
  bool ErasesBackground() const override { return false; }
};
