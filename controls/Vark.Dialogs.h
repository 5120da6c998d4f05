// The message dialog: a modal window built for one call, with a title bar in
// the dialog's colour, an icon and sound for the kind of message, the message
// word-wrapped, an optional darker footer strip and one CButton per answer,
// right-aligned along the bottom. Every button copies its look from one hidden
// design button, so a caller styles all of a dialog's buttons at once.
//
//   int answer = VarkDialog("Delete", "Delete the file?", ctQuestion, {mbYes, mbNo},
//                           cbprCustom, clWindow, true, 0x00FFA028, false, true);
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/Vark.Button.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/UITypes.h"

class TCustomForm;

enum CMessageType : uint8_t { ctInformation, ctError, ctQuestion, ctSucess, ctWarning, ctStar };

// The buttons' captions: "Yes", "No", "Ok", "Cancel", "Abort", "Retry", "Ignore",
// "All", "Yes to All", "No to All", "Help", "Close".
extern const std::array<std::string, 12> buttonlabels;

// The two styling steps of a dialog window.
class CDialogBox {
 public:
  // Gives Form a title bar of its own in FormColor (with black or white text,
  // whichever reads better) over the top of its client area, without system
  // buttons, and returns the height by which the content must move down (0 on
  // a system too old for custom title bars: the platform's title bar stays).
  // Without EnableButtons the window has no border icons.
  int ApplyTitleBarSettings(TCustomForm& Form, TColor FormColor, bool EnableButtons) const;
  // Copies the look of frombt onto tobt. The gradient and font auto-size
  // groups are shared, not copied; the text, icon, modal result and the
  // global-sync exception stay tobt's own.
  void ApplyButtonSettings(const CButton& frombt, CButton& tobt) const;
};

class CDialog : public CDialogBox {
 public:
  CDialog();
  ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value) { FText = Value; }
  TFont& TextFont() { return *FTextFont; }
  const TFont& TextFont() const { return *FTextFont; }
  void SetTextFont(const TFont& Value) { FTextFont->Assign(Value); }
  CMessageType Kind() const { return FKind; }
  void SetKind(CMessageType Value) { FKind = Value; }
  TMsgDlgButtons Buttons() const { return FButtons; }
  void SetButtons(TMsgDlgButtons Value) { FButtons = Value; }
  // The hidden button whose look every button of the dialog copies.
  CButton& ButtonDesign() { return *FButtonDesign; }
  const CButton& ButtonDesign() const { return *FButtonDesign; }
  // clWindow stands for the default background, the style's button face.
  TColor FormColor() const { return FFormColor; }
  void SetFormColor(TColor Value) { FFormColor = Value; }
  bool EnableFooter() const { return FEnableFooter; }
  void SetEnableFooter(bool Value) { FEnableFooter = Value; }
  // Whether the buttons follow the global button preset.
  bool GlobalSyncTogle() const { return FToggleGlobalSync; }
  void SetGlobalSyncTogle(bool Value) { FToggleGlobalSync = Value; }

  // Builds the window, shows it modally and frees it; returns the modal result
  // of the button that closed it, or mrCancel when it was closed another way.
  // Escape answers with the cancel button: Cancel, No or Close, or the only
  // button of a one-button dialog. Return answers with no button but the
  // focused one.
  int Execute();

 private:
  std::string FCaption;
  std::string FText;
  std::unique_ptr<TFont> FTextFont;
  CMessageType FKind = ctInformation;
  TMsgDlgButtons FButtons{mbOK};
  std::unique_ptr<CButton> FButtonDesign;
  TColor FFormColor = clWindow;
  bool FEnableFooter = true;
  bool FToggleGlobalSync = false;
};

// Shows a message dialog and returns its modal result (mrCancel, 2, when the
// window is closed without a button). BottomColor turns the footer strip on;
// BtPreset and BtColor style the buttons, AccentColor makes them follow the
// desktop's accent colour; GlobalSyncToggle lets them follow the global preset.
int VarkDialog(const std::string& Caption, const std::string& Text, CMessageType Kind,
               TMsgDlgButtons Buttons, CButtonPreset BtPreset, TColor FormColor, bool BottomColor,
               TColor BtColor, bool GlobalSyncToggle, bool AccentColor);
