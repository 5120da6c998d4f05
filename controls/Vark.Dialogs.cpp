// The message dialog. Sections: the caption table; CDialogBox's two styling
// steps; CDialog and Execute, which builds the window; VarkDialog.
#include "controls/Vark.Dialogs.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "controls/Vark.Dialogs.Text.h"
#include "controls/Vark.StandardIcons.h"
#include "platform/os/Sound.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StyleManager.h"
#include "platform/ui/TitleBar.h"
#include "platform/ui/a11y/ControlAccessible.h"
#include "support/Vark.ColorUtilities.h"
#include "support/Vark.SysUtils.h"

const std::array<std::string, 12> buttonlabels = {"Yes",        "No",        "Ok",     "Cancel",
                                                  "Abort",      "Retry",     "Ignore", "All",
                                                  "Yes to All", "No to All", "Help",   "Close"};

namespace {

// What each answer's button shows and returns, in the order of TMsgDlgBtn.
struct AnswerButton {
  int label;  // index into buttonlabels
  TModalResult result;
  CButtonIcon icon;
};
constexpr AnswerButton kAnswers[] = {
    {0, mrYes, cicYes},         // mbYes
    {1, mrNo, cicNo},           // mbNo
    {2, mrOk, cicTrueYes},      // mbOK
    {3, mrCancel, cicNoAllow},  // mbCancel
    {4, mrAbort, cicNoAllow},   // mbAbort
    {5, mrRetry, cicRetry},     // mbRetry
    {6, mrIgnore, cicNoAllow},  // mbIgnore
    {7, mrAll, cicTrueYes},     // mbAll
    {9, mrNoToAll, cicYes},     // mbNoToAll
    {8, mrYesToAll, cicNo},     // mbYesToAll
    {10, mrHelp, cicQuestion},  // mbHelp
    {11, mrClose, cicNo},       // mbClose
};

// The icon and the event sound of each kind of message (the sound by its
// message-box type, whose icon bits choose it).
struct KindLook {
  VarkIconType icon;
  uint32_t beep;
};
constexpr KindLook kKinds[] = {
    {ciconInformation, 0},  // ctInformation
    {ciconError, 20},       // ctError
    {ciconQuestion, 70},    // ctQuestion
    {ciconCheckmark, 50},   // ctSucess
    {ciconWarning, 50},     // ctWarning
    {ciconStar, 0},         // ctStar
};

// The answer Escape gives: Cancel, else No, else Close among the requested
// ones, and the only one of a dialog with one. A dialog of other answers (Abort,
// Retry, Ignore) has none: Escape must not pick one of them for the user.
std::optional<TMsgDlgBtn> CancelAnswer(TMsgDlgButtons buttons, int count) {
  for (TMsgDlgBtn b : {mbCancel, mbNo, mbClose})
    if (buttons.Contains(b)) return b;
  if (count == 1) {
    for (int b = mbYes; b <= mbClose; ++b)
      if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) return static_cast<TMsgDlgBtn>(b);
  }
  return std::nullopt;
}

constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 30;
// The message label is this much narrower than the window.
constexpr int kLabelMargin = 80;
// Below the message: a gap, the footer's 5 pixels above the buttons, the
// buttons and 5 pixels under them.
constexpr int kBelowText = 5 + 5 + kButtonHeight + 5;

// The average letter width (X) and the letter height (Y) in the canvas's font.
TSize GetCharSize(const TCanvas& Canvas) {
  static constexpr std::string_view kLetters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  TSize extent = Canvas.GetTextExtentPoint(kLetters, static_cast<int>(kLetters.size()));
  extent.cx /= static_cast<int>(kLetters.size());
  return extent;
}

}  // namespace

// --- CDialogBox ---------------------------------------------------------------

int CDialogBox::ApplyTitleBarSettings(TCustomForm& Form, TColor FormColor,
                                      bool EnableButtons) const {
  if (!EnableButtons) Form.SetBorderIcons({});
  if (NTKernelVersion() < 6.0f) return 0;
  const TColor text = GetColorSat(FormColor, 100) > 65 ? clBlack : clWhite;
  TTitleBarPanel& panel = Form.Make<TTitleBarPanel>();
  panel.SetParent(&Form);
  TCustomTitleBar& bar = Form.CustomTitleBar();
  bar.SetEnabled(true);
  bar.SetControl(&panel);
  bar.SetSystemColors(false);
  bar.SetSystemButtons(false);
  bar.SetBackgroundColor(FormColor);
  bar.SetInactiveBackgroundColor(FormColor);
  bar.SetForegroundColor(text);
  bar.SetInactiveForegroundColor(text);
  bar.SetButtonBackgroundColor(bar.BackgroundColor());
  bar.SetButtonInactiveBackgroundColor(bar.BackgroundColor());
  bar.SetButtonForegroundColor(bar.ForegroundColor());
  bar.SetButtonInactiveForegroundColor(bar.ForegroundColor());
  return panel.Height();
}

void CDialogBox::ApplyButtonSettings(const CButton& frombt, CButton& tobt) const {
  tobt.Colors().SetLeave(frombt.Colors().Leave());
  tobt.Colors().SetEnter(frombt.Colors().Enter());
  tobt.Colors().SetDown(frombt.Colors().Down());
  tobt.Colors().SetBLine(frombt.Colors().BLine());
  tobt.SetFlatnes(frombt.FlatButton());
  tobt.SetFlatComplete(frombt.FlatComplete());
  tobt.SetCursor(frombt.Cursor());
  tobt.SetFont(frombt.Font());
  tobt.SetFontAutoSize(frombt.FontAutoSize());
  tobt.SetGradient(frombt.GradientOptions());
  tobt.SetRoundVal(frombt.RoundAmount());
  tobt.SetTransparent(frombt.RoundTransparent());
  tobt.SetAccentColor(frombt.UseAccentColor());
  tobt.TextColors().SetLeave(frombt.TextColors().Leave());
  tobt.TextColors().SetEnter(frombt.TextColors().Enter());
  tobt.TextColors().SetDown(frombt.TextColors().Down());
  tobt.TextColors().SetBLine(frombt.TextColors().BLine());
  tobt.UnderLine().SetULRound(frombt.UnderLine().UnderLineRound());
  tobt.UnderLine().SetUlThick(frombt.UnderLine().UnderLineThicknes());
  tobt.UnderLine().SetUline(frombt.UnderLine().Enable());
  tobt.Preset().SetColor(frombt.Preset().Color());
  tobt.Preset().SetKind(frombt.Preset().Kind());
  tobt.Preset().SetPenColorAuto(frombt.Preset().PenColorAuto());
  tobt.Preset().SetApplyOnce(frombt.Preset().ApplyOnce());
}

// --- CDialog --------------------------------------------------------------------

CDialog::CDialog()
    : FTextFont(std::make_unique<TFont>()), FButtonDesign(std::make_unique<CButton>(nullptr)) {
  FTextFont->SetName("Segoe UI");
  FTextFont->SetSize(10);
  FTextFont->SetColor(clBlack);
  FButtonDesign->Preset().SetColor(0x00FFA028);
}

// The window and its buttons are gone by now (Execute frees them), so the
// groups they shared with the design button go with it.
CDialog::~CDialog() = default;

int CDialog::Execute() {
  const TColor formColor =
      FFormColor == clWindow ? StyleServices()->GetSystemColor(clBtnFace) : FFormColor;

  // The window is built unscaled and scaled once, when it is complete, as a
  // form built in its constructor is. It is freed on every way out.
  std::unique_ptr<TForm> window = std::make_unique<TForm>(Application);
  TForm& form = *window;
  form.Constraints().SetMinHeight(135);
  form.Font().SetColor(GetColorSat(GetRGB(formColor), 100) < 50 ? clWhite : clBlack);
  form.SetColor(formColor);
  TCanvas& canvas = form.Canvas();
  canvas.SetFont(form.Font());
  const TSize charSize = GetCharSize(canvas);
  const int X = charSize.cx, Y = charSize.cy;

  form.SetBorderStyle(bsDialog);
  form.SetCaption(FCaption);
  // To a screen reader: an alert named by its caption, whose text is the
  // message label's.
  form.Accessibility().SetRole(vark::a11y::Role::Alert);
  form.SetClientWidth(MulDiv(260, X, 4));
  form.SetPosition(poScreenCenter);
  const int MHei = ApplyTitleBarSettings(form, formColor, true);

  int buttonCount = 0;
  for (int b = mbYes; b <= mbClose; ++b)
    buttonCount += FButtons.Contains(static_cast<TMsgDlgBtn>(b)) ? 1 : 0;
  if (buttonCount > 3) form.SetWidth(buttonCount * 100);
  if (vark::dialogs::Utf16Length(FText) * 8 > static_cast<size_t>(form.Width())) {
    form.SetWidth(form.Width() + 100);
  }

  // The message: the window grows to hold it, within the screen.
  const int labelLeft = MulDiv(8, X, 4) + 50;
  const int labelTop = MulDiv(8, Y, 8) + MHei;
  const TRect work = Screen->WorkAreaRect();
  const int frameHeight = form.Height() - form.ClientHeight();
  vark::dialogs::FittedMessage message =
      vark::dialogs::FitMessage(*FTextFont, FText, form.Width(), kLabelMargin, work.Width(),
                                work.Height() - frameHeight - labelTop - kBelowText);
  form.SetWidth(message.windowWidth);

  TLabel& label = form.Make<TLabel>();
  label.SetParent(&form);
  label.SetShowAccelChar(false);  // a message shows "&" as it is
  label.SetLayout(tlCenter);
  const int labelWidth = form.Width() - kLabelMargin;
  label.Constraints().SetMinWidth(labelWidth);
  label.Constraints().SetMaxWidth(labelWidth);
  label.Constraints().SetMinHeight(30);
  label.SetBounds(labelLeft, labelTop, labelWidth, 30);
  label.SetWordWrap(true);
  label.SetFont(*FTextFont);
  label.SetCaption(message.text);

  CStandardIcon& icon = form.Make<CStandardIcon>();
  icon.SetParent(&form);
  icon.SetBounds(10, MHei + 10, 40, icon.Height());
  const KindLook& look = kKinds[std::min<size_t>(FKind, std::size(kKinds) - 1)];
  icon.SetIcon(look.icon);
  MessageBeep(look.beep);

  // Room for the message above the footer, even where it wraps into many lines.
  form.SetClientHeight(
      std::max(label.Height() + kButtonHeight + 50, label.Top() + label.Height() + kBelowText));
  const int buttonTop = form.ClientHeight() - kButtonHeight - 5;

  TLabel& footer = form.Make<TLabel>();
  footer.SetParent(&form);
  footer.SetAutoSize(false);
  footer.SetTransparent(false);
  footer.SetColor(ChangeColorSat(form.Color(), -20));
  // Down to the window's bottom edge, whatever the frame beneath the client area.
  footer.SetBounds(0, buttonTop - 5, form.Width(),
                   std::max(form.Height() - buttonTop, form.ClientHeight() - (buttonTop - 5)));
  footer.Constraints().SetMaxHeight(footer.Height());
  footer.SetVisible(FEnableFooter);

  const std::optional<TMsgDlgBtn> cancel = CancelAnswer(FButtons, buttonCount);
  int k = 0;
  for (int b = mbYes; b <= mbClose; ++b) {
    if (!FButtons.Contains(static_cast<TMsgDlgBtn>(b))) continue;
    ++k;
    const AnswerButton& answer = kAnswers[b];
    // On the window from the start: every setter below paints, and a paint
    // applies the preset copied so far, so a preset's own settings land
    // before the border colour set after the copy.
    CButton& button = form.Make<CButton>();
    button.SetParent(&form);
    button.SetAnchors({akRight, akBottom});
    button.SetModalResult(answer.result);
    button.SetText(buttonlabels[answer.label]);
    button.SetIcon(answer.icon);
    button.Preset().SetIgnoreGlobalSync(!FToggleGlobalSync);
    button.SetBounds(form.Width() - 95 * k - 15, buttonTop, kButtonWidth, kButtonHeight);
    button.SetParentColor(false);
    // Escape clicks it: the dialog closes with its answer, as a click would.
    button.SetCancel(cancel == static_cast<TMsgDlgBtn>(b));
    ApplyButtonSettings(*FButtonDesign, button);
    // A Fluent preset goes no further than the copy: kept, it would be applied
    // again on every paint.
    if (button.Preset().Kind() == cbprFluent || button.Preset().Kind() == cbprFluentRound) {
      button.Preset().SetKind(cbprCustom);
    }
    if (FEnableFooter) {
      button.Pen().SetFormSyncedColor(false);
      button.Pen().SetColor(footer.Color());
    } else {
      button.Pen().SetColor(form.Color());
    }
    button.Invalidate();
  }

  form.AfterConstruction();
  return form.ShowModal();
}

// --- VarkDialog ---------------------------------------------------------------------

int VarkDialog(const std::string& Caption, const std::string& Text, CMessageType Kind,
               TMsgDlgButtons Buttons, CButtonPreset BtPreset, TColor FormColor, bool BottomColor,
               TColor BtColor, bool GlobalSyncToggle, bool AccentColor) {
  CDialog dialog;
  dialog.SetCaption(Caption);
  dialog.SetText(Text);
  dialog.SetKind(Kind);
  dialog.SetButtons(Buttons);
  dialog.SetFormColor(FormColor);
  dialog.SetEnableFooter(BottomColor);
  dialog.SetGlobalSyncTogle(GlobalSyncToggle);
  dialog.TextFont().SetColor(FontColorForBackground(FormColor));
  CButton& design = dialog.ButtonDesign();
  design.Preset().SetKind(BtPreset);
  design.Preset().SetColor(BtColor);
  design.SetAccentColor(AccentColor ? acAccentAdjust : acNone);
  return dialog.Execute();
}
