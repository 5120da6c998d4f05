// The main window's widgets and controls with their values and events, made in
// creation order: the frame's standard widgets and timers first, then the nine
// buttons, the progress bar, the hint icon and the eight edition rows.
//
// Sections: the window itself; the standard widgets; the buttons (the values
// all nine share, then a table of the ones that differ); the progress bar; the
// edition rows (a table, one line per edition).
#include <memory>
#include <span>

#include "app/Artwork.h"
#include "app/ValdorLaunch.h"
#include "controls/Vark.Button.h"
#include "controls/Vark.Progress.h"
#include "controls/Vark.StandardIcons.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Timer.h"

namespace {

constexpr TColor kWindowColor = 0x00212121;
constexpr TColor kButtonFontColor = 0x00D7821A;

// Makes a control with the given bounds. Each control is set up before it is
// put on its parent: a custom-drawn control paints on every change once it has
// one, and none of those paints would be seen. While the form loads, labels
// do not size themselves yet and nothing is aligned.
template <class T>
T& MakeAt(TComponent& owner, int left, int top, int width, int height) {
  T& control = owner.Make<T>();
  control.SetBounds(left, top, width, height);
  return control;
}

void StyleFont(TFont& font, const char* name, int height, TColor color,
               TFontCharset charset = DEFAULT_CHARSET, TFontStyles style = {}) {
  font.SetName(name);
  font.SetHeight(height);
  font.SetColor(color);
  font.SetCharset(charset);
  font.SetStyle(style);
}

// The values that differ from button to button.
struct ButtonSpec {
  CButton* TForm1::*field;
  const char* name;
  int left, top, width, height;
  int tag;
  int tabOrder;
  const char* text;
  CButtonIcon icon;
  const char* fontName;
  int fontHeight;
  bool bold;
  int penWidth;
  void (TForm1::*onClick)(TObject*);
};

constexpr const char* kSemibold = "Segoe UI Semibold";

const ButtonSpec kButtons[] = {
    {&TForm1::CButton1, "CButton1", 72, 472, 250, 41, 0, 0, "Launch", cicArrow, kSemibold, -16,
     false, 4, &TForm1::StartValdor},
    {&TForm1::CButton2, "CButton2", 328, 472, 41, 41, 0, 10, "\uE713", cicNone,
     "Segoe Fluent Icons", -17, true, 4, &TForm1::ChangeSizeMode},
    {&TForm1::CButton3, "CButton3", 495, 137, 242, 32, 0, 11, "Open valdor folder", cicSearch,
     kSemibold, -15, false, 3, &TForm1::CButton3Click},
    {&TForm1::CButton4, "CButton4", 495, 182, 242, 33, 0, 12, "Start map editor", cicSearch,
     kSemibold, -15, false, 3, &TForm1::CButton4Click},
    {&TForm1::BtLauncher, "BtLauncher", 495, 363, 242, 32, 0, 15, "Open launcher if avalabile",
     cicTrueYes, kSemibold, -15, false, 3, &TForm1::StartValdor},
    {&TForm1::CButton5, "CButton5", 495, 411, 131, 28, 0, 16, "Folders", cicEnter, kSemibold, -13,
     false, 3, &TForm1::EditItem},
    {&TForm1::CButton6, "CButton6", 632, 411, 105, 28, 1, 17, "Exes", cicEnter, kSemibold, -13,
     false, 3, &TForm1::EditItem},
    {&TForm1::CButton7, "CButton7", 495, 445, 115, 28, 2, 18, "Launchers", cicEnter, kSemibold, -13,
     false, 3, &TForm1::EditItem},
    {&TForm1::CButton8, "CButton8", 616, 445, 121, 28, 3, 19, "Map exes", cicEnter, kSemibold, -13,
     false, 3, &TForm1::EditItem},
};

// The values all nine buttons share.
void ApplySharedButtonValues(CButton& b) {
  b.SetColor(kWindowColor);
  b.SetParentColor(false);
  b.SetSegoeIcon("\uE734");
  b.SetAccentColor(acNone);
  CButtonGradientSet& gradient = *b.GradientOptions();
  gradient.SetEnabled(true);
  gradient.SetEnter(0x0003E2FF);
  gradient.SetLeave(0x000091FF);
  gradient.SetDown(0x00018699);
  b.SetControlStyle({});
  TFont sub;
  StyleFont(sub, "Segoe UI", -13, kButtonFontColor);
  b.SetSubFont(sub);
  CButtonFontAutoSize& autoSize = *b.FontAutoSize();
  autoSize.SetEnabled(false);
  autoSize.SetMax(-1);
  autoSize.SetMin(-1);
  b.SetSubText("Hello World!");
  b.SetTransparent(false);
  b.SetState(mbsLeave);
  CButtonColors& colors = b.Colors();
  colors.SetEnter(0x004080FF);
  colors.SetLeave(0x00014F74);
  colors.SetDown(0x00013D7E);
  colors.SetBLine(0x007C5431);
  CButtonPresets& preset = b.Preset();
  preset.SetColor(clBlue);
  preset.SetKind(cbprCustom);
  preset.SetPenColorAuto(true);
  preset.SetApplyOnce(false);
  preset.SetIgnoreGlobalSync(false);
  CButtonUnderLine& underline = b.UnderLine();
  underline.SetUline(false);
  underline.SetULRound(false);
  underline.SetUlThick(6);
  CButtonColors& text = b.TextColors();
  text.SetEnter(clWhite);
  text.SetLeave(clWhite);
  text.SetDown(clWhite);
  text.SetBLine(clBlack);
  CButtonPen& pen = b.Pen();
  pen.SetColor(0x00018699);
  pen.SetEnableAlternativeColors(false);
  pen.SetFormSyncedColor(false);
  pen.SetAltHoverColor(clBlack);
  pen.SetAltPressColor(clBlack);
  pen.SetGlobalPresetExcept(false);
  CButtonAnimations& animations = b.Animations();
  animations.SetPressAnimation(false);
  animations.SetPADelay(2);
  animations.SetPAShrinkAmount(6);
  animations.SetPAAnimateEngine(cbneAtDraw);
  animations.SetFadeAnimation(true);
  animations.SetFASpeed(10);
}

// One edition row: its panel, picture, caption and mark.
struct RowSpec {
  TPanel* TForm1::*panel;
  TLabel* TForm1::*label;
  TImage* TForm1::*picture;
  CStandardIcon* TForm1::*mark;
  const char* panelName;
  const char* labelName;
  const char* pictureName;
  const char* markName;
  int top;
  int tabOrder;
  const char* caption;
};

const RowSpec kRows[] = {
    {&TForm1::ValdorOption_1, &TForm1::Label3, &TForm1::Image2, &TForm1::IcoSel_1, "ValdorOption_1",
     "Label3", "Image2", "IcoSel_1", 100, 1, "Tidemark"},
    {&TForm1::Panel1, &TForm1::Label5, &TForm1::Image1, &TForm1::IcoSel_2, "Panel1", "Label5",
     "Image1", "IcoSel_2", 138, 3, "Ashen Vow"},
    {&TForm1::Panel2, &TForm1::Label6, &TForm1::Image3, &TForm1::IcoSel_3, "Panel2", "Label6",
     "Image3", "IcoSel_3", 176, 4, "Complete"},
    {&TForm1::Panel3, &TForm1::Label7, &TForm1::Image4, &TForm1::IcoSel_4, "Panel3", "Label7",
     "Image4", "IcoSel_4", 214, 5, "Dawn of Velmar"},
    {&TForm1::Panel4, &TForm1::Label8, &TForm1::Image5, &TForm1::IcoSel_5, "Panel4", "Label8",
     "Image5", "IcoSel_5", 251, 6, "Pale Reach"},
    {&TForm1::Panel5, &TForm1::Label9, &TForm1::Image6, &TForm1::IcoSel_6, "Panel5", "Label9",
     "Image6", "IcoSel_6", 289, 7, "Emberfall"},
    {&TForm1::Panel6, &TForm1::Label10, &TForm1::Image7, &TForm1::IcoSel_7, "Panel6", "Label10",
     "Image7", "IcoSel_7", 326, 8, "Lumen Generation 2"},
    {&TForm1::Panel7, &TForm1::Label11, &TForm1::Image8, &TForm1::IcoSel_8, "Panel7", "Label11",
     "Image8", "IcoSel_8", 364, 9, "OVRE"},
};

}  // namespace

// --- the window --------------------------------------------------------------

void TForm1::CreateWidgets() {
  SetName("Form1");
  SetCaption("Valdor III Launcher");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poDesigned);
  SetStyleElements({seFont, seClient});
  SetColor(kWindowColor);
  StyleFont(Font(), "Segoe UI", -11, clWindowText);
  GlassFrame().Enabled = true;
  GlassFrame().Top = 26;

  TCustomTitleBar& bar = CustomTitleBar();
  bar.SetEnabled(true);
  bar.SetHeight(26);
  bar.SetCaptionAlignment(taCenter);
  bar.SetSystemColors(false);
  bar.SetSystemButtons(false);
  bar.SetBackgroundColor(kWindowColor);
  bar.SetInactiveBackgroundColor(kWindowColor);
  bar.SetForegroundColor(clWhite);
  bar.SetInactiveForegroundColor(0x00999999);
  bar.SetButtonForegroundColor(clWhite);
  bar.SetButtonBackgroundColor(kWindowColor);
  bar.SetButtonHoverForegroundColor(kWindowColor);
  bar.SetButtonHoverBackgroundColor(0x00414141);
  bar.SetButtonPressedForegroundColor(clWhite);
  bar.SetButtonPressedBackgroundColor(0x00333333);
  bar.SetButtonInactiveForegroundColor(0x00E1E1E1);
  bar.SetButtonInactiveBackgroundColor(kWindowColor);
  // The client size is set once the frame is known, so it survives it.
  SetClientWidth(794);
  SetClientHeight(571);

  CreateFrameWidgets();
  CreateButtons();
  CreateProgress();
  CreateRows();
  DescribeForAssistiveTechnology();

  OnCreate = [this](TObject* sender) { FormCreate(sender); };
  OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

// --- the standard widgets --------------------------------------------------------

void TForm1::CreateFrameWidgets() {
  bg = &MakeAt<TImage>(*this, 0, -3, 794, 580);
  bg->SetName("bg");
  bg->Picture().LoadFromMemory(BackgroundJpeg());
  bg->SetStretch(true);
  bg->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    bgMouseDown(sender, button, shift, x, y);
  };
  bg->SetParent(this);

  // The labels lie over pictures: they draw their text only, as themed labels
  // do, so the background shows around it.
  Title = &MakeAt<TLabel>(*this, 32, 24, 390, 70);
  Title->SetName("Title");
  Title->SetTransparent(true);
  StyleFont(Title->Font(), "Segoe Print", -40, clBlack, ANSI_CHARSET);
  Title->SetCaption("Valdor III Launcher");
  Title->SetParent(this);

  Xbutton = &MakeAt<TLabel>(*this, 765, 8, 19, 19);
  Xbutton->SetName("Xbutton");
  Xbutton->SetTransparent(true);
  StyleFont(Xbutton->Font(), "Segoe Fluent Icons", -19, clWindowText);
  Xbutton->SetCaption("\uE711");
  Xbutton->SetCursor(crHandPoint);
  Xbutton->SetAnchors({akTop, akRight});
  // The title bar shows no system buttons: the cross is the window's visible
  // way to close, and it closes as any close request does, saving first.
  Xbutton->OnClick = [this](TObject*) { Close(); };
  Xbutton->SetParent(this);

  Label4 = &MakeAt<TLabel>(*this, 661, 550, 125, 13);
  Label4->SetName("Label4");
  Label4->SetTransparent(true);
  Label4->SetAlignment(taRightJustify);
  Label4->SetParentBiDiMode(false);
  Label4->SetBiDiMode(bdRightToLeft);
  StyleFont(Label4->Font(), "Segoe UI", -11, clWhite);
  Label4->SetCaption("\u00A9 VarkelSoftware");
  Label4->SetParent(this);

  Indicator = &MakeAt<TShape>(*this, 40, 106, 6, 24);
  Indicator->SetName("Indicator");
  Indicator->SetShape(stRoundRect);
  Indicator->Brush().SetColor(clHighlight);
  Indicator->Pen().SetStyle(psClear);
  Indicator->SetParent(this);

  Image9 = &MakeAt<TImage>(*this, 464, 64, 297, 425);
  Image9->SetName("Image9");
  Image9->Picture().LoadFromMemory(BackdropPng());
  Image9->SetStretch(true);
  Image9->SetParent(this);

  auto heading = [this](const char* name, int top, const char* caption) {
    TLabel& label = MakeAt<TLabel>(*this, 480, top, 265, 31);
    label.SetName(name);
    label.SetTransparent(true);
    label.SetAutoSize(false);
    label.SetAlignment(taCenter);
    StyleFont(label.Font(), "Segoe UI Light", -23, clBlack, ANSI_CHARSET);
    label.SetCaption(caption);
    label.SetParent(this);
    return &label;
  };
  Label2 = heading("Label2", 77, "Aditional");
  Label12 = heading("Label12", 253, "Options");

  Label13 = &MakeAt<TLabel>(*this, 513, 322, 235, 35);
  Label13->SetName("Label13");
  Label13->SetTransparent(true);
  Label13->SetAutoSize(false);
  Label13->SetWordWrap(true);
  Label13->SetCaption(
      "To acess this menu you need to be in 16 bit color mode and in windowed mode. (F4)");
  Label13->SetParent(this);

  CheckBox1 = &MakeAt<TCheckBox>(*this, 495, 299, 242, 17);
  CheckBox1->SetName("CheckBox1");
  CheckBox1->SetCaption("Enable cheats menu");
  CheckBox1->SetAlignment(taLeftJustify);
  CheckBox1->SetParent(this);
  CheckBox1->SetTabOrder(13);

  ShapeMove = &Make<TTimer>();
  ShapeMove->SetName("ShapeMove");
  ShapeMove->SetEnabled(false);
  ShapeMove->SetInterval(1);
  ShapeMove->OnTimer = [this](TObject* sender) { ShapeMoveTimer(sender); };

  SizeSetter = &Make<TTimer>();
  SizeSetter->SetName("SizeSetter");
  SizeSetter->SetEnabled(false);
  SizeSetter->SetInterval(1);
  SizeSetter->OnTimer = [this](TObject* sender) { SizeSetterTimer(sender); };

  ScanFile = &Make<TTimer>();
  ScanFile->SetName("ScanFile");
  ScanFile->SetInterval(2000);
  ScanFile->SetEnabled(true);
  ScanFile->OnTimer = [this](TObject* sender) { ScanFileTimer(sender); };
}

// --- the buttons -------------------------------------------------------------------

void TForm1::CreateButtons() {
  for (const ButtonSpec& params : kButtons) {
    CButton& b = MakeAt<CButton>(*this, params.left, params.top, params.width, params.height);
    this->*params.field = &b;
    b.SetName(params.name);
    b.SetTag(params.tag);
    ApplySharedButtonValues(b);
    TFont font;
    StyleFont(font, params.fontName, params.fontHeight, kButtonFontColor, DEFAULT_CHARSET,
              params.bold ? TFontStyles{fsBold} : TFontStyles{});
    b.SetFont(font);
    b.SetText(params.text);
    b.SetIcon(params.icon);
    b.Pen().SetWidth(params.penWidth);
    b.OnClick = [this, handler = params.onClick](TObject* sender) { (this->*handler)(sender); };
    if (&b == CButton4) {
      TPicture picture;
      picture.LoadFromMemory(MapEditorPng());
      b.SetBitmap(&picture);
      b.SetFMBTColor(clBlack);
      b.SetFCustColor(true);
    }
    b.SetParent(this);
    b.SetTabOrder(params.tabOrder);
  }
}

// --- the progress bar and the hint icon ------------------------------------------------

void TForm1::CreateProgress() {
  StartProgress = &MakeAt<CProgress>(*this, 72, 513, 250, 9);
  CProgress& p = *StartProgress;
  p.SetName("StartProgress");
  p.SetVisible(false);
  p.SetTrueTransparency(true);
  p.SetAccentColor(acAccentAdjust);
  p.SetPresets(cprNone);
  CProgressText& text = p.TextOverlay();
  text.SetSText("Loading");
  text.SetFnColor(clBlack);
  text.SetFnSize(8);
  text.SetWLimit(-2);
  text.SetFontNm("Tahoma");
  text.SetEnableSText(false);
  text.SetFtText(false);
  text.SetInclPerc(true);
  p.SetEnableAnimateInIDE(false);
  p.ProgressbarOptions().SetBorderRadius(0);
  p.ProgressbarOptions().SetBorderColor(kWindowColor);
  p.Colors().SetForeground(0x00956D4A);
  p.Colors().SetBackground(kWindowColor);
  p.Colors().SetFormSyncedColor(true);
  CProgressAnimate& animate = p.AnimateProgress();
  animate.ChengeALlowANi(true);
  animate.SetFadeSizing(100);
  animate.ChangeAnimProgSpeed(1);
  animate.SetCustomRezolution(false);
  animate.SetCustomRezX(0);
  animate.SetCustomRezY(0);
  animate.SetAnimateIncSpeed(2);
  animate.SetAnimationSelector(atyFade);
  p.Animations().SetAnimations(true);
  p.Animations().SetInterval(1);
  p.Animations().SetStep(1);
  p.SetMax(100);
  p.SetMin(0);
  p.SetPosition(0);
  p.OnChange = [this](CProgress* sender, int32_t position, int32_t max) {
    StartProgressChange(sender, position, max);
  };
  // The highlight's repaint timer ticks at the fastest rate there is; the bar
  // starts hidden, and a hidden bar has nothing to repaint, so the timer runs
  // only while the bar shows (StartValdor, StartProgressChange).
  p.DrawAnimTimer().SetEnabled(false);
  p.SetParent(this);

  CStandardIcon1 = &MakeAt<CStandardIcon>(*this, 495, 322, 12, 12);
  CStandardIcon1->SetName("CStandardIcon1");
  CStandardIcon1->SetIcon(ciconQuestion);
  CStandardIcon1->SetWid(10);
  CStandardIcon1->SetProport(true);
  CStandardIcon1->SetParentBackground(true);
  CStandardIcon1->SetParent(this);
}

// --- the edition rows ----------------------------------------------------------------

void TForm1::CreateRows() {
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const RowSpec& params = kRows[i];
    TPanel& panel = MakeAt<TPanel>(*this, 53, params.top, 337, 35);
    this->*params.panel = &panel;
    rows_[i] = &panel;
    panel.SetName(params.panelName);
    panel.SetTag(static_cast<int>(i) + 1);
    panel.SetBevelOuter(bvNone);
    // Stored, but the panel lets the background show (ParentBackground).
    if (i == 0) panel.SetColor(0x00FFB051);
    panel.OnClick = [this](TObject* sender) { ValdorOption_1Click(sender); };
    panel.SetParent(this);
    panel.SetTabOrder(params.tabOrder);

    TImage& picture = MakeAt<TImage>(*this, 5, 1, 33, 33);
    this->*params.picture = &picture;
    picture.SetName(params.pictureName);
    picture.Margins().SetMargins(5, 1, 5, 1);
    picture.SetAlignWithMargins(true);
    picture.SetAlign(alLeft);
    picture.Picture().LoadFromMemory(EditionPng(static_cast<int>(i) + 1));
    picture.SetProportional(true);
    picture.OnClick = [this](TObject* sender) { Image2Click(sender); };
    picture.SetParent(&panel);

    TLabel& label = MakeAt<TLabel>(*this, 46, 3, 100, 29);
    this->*params.label = &label;
    label.SetName(params.labelName);
    label.SetTransparent(true);
    label.Margins().SetMargins(3, 3, 3, 3);
    label.SetAlignWithMargins(true);
    label.SetAlign(alLeft);
    label.SetLayout(tlCenter);
    StyleFont(label.Font(), "Segoe UI", -21, clWindowText);
    label.SetCaption(params.caption);
    label.OnClick = [this](TObject* sender) { Label3Click(sender); };
    label.SetParent(&panel);

    CStandardIcon& mark = MakeAt<CStandardIcon>(*this, 304, 6, 25, 25);
    this->*params.mark = &mark;
    marks_[i] = &mark;
    mark.SetName(params.markName);
    mark.SetProport(true);
    mark.SetParentBackground(true);
    mark.SetWid(10);
    mark.SetIcon(i == 0 ? ciconStar : ciconNone);
    mark.OnClick = [this](TObject* sender) { Label3Click(sender); };
    mark.SetParent(&panel);
  }
}
