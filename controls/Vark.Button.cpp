// CButton: construction, setters, the state machine and input.
#include "controls/Vark.Button.h"

#include <numeric>
#include <utility>

#include "platform/ui/Form.h"
#include "platform/ui/Keys.h"
#include "platform/ui/a11y/ControlAccessible.h"

bool GlobalSync = false;
CButtonPreset gspreset = cbprFluent;
TColor gspresetcolor = 0x00FF0000;

namespace {

bool NoModifiers(TShiftState Shift) {
  return !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
}

}  // namespace

CButton::CButton(TComponent* AOwner) : TCustomControl(AOwner) {
  FAuthor = "VarkelSoftware";
  FSite = "https://varkelsoftware.example";
  FVersion = "1.3";
  FAlign = taCenter;
  SetTabStop(true);
  FEnableCaption = true;

  FGradientSet = std::make_shared<CButtonGradientSet>(this);
  FOwnGradientSet = FGradientSet;
  FFontAutoSize = std::make_shared<CButtonFontAutoSize>(this);
  FOwnFontAutoSize = FFontAutoSize;

  FColors = std::make_unique<CButtonColors>(this);
  FColors->FEnter = 0x00D7821A;
  FColors->FLeave = 0x00C57517;
  FColors->FDown = 0x008E5611;
  FColors->FLine = 0x008E5611;

  FadeAnim = std::make_unique<TTimer>(this);
  FadeAnim->SetName("FadeAnim");
  FadeAnim->SetInterval(1);
  FadeAnim->SetEnabled(false);
  FadeAnim->OnTimer = [this](TObject* Sender) { FTimerAct(Sender); };

  // The animations group has no owner: changing it never repaints.
  FAnimations = std::make_unique<CButtonAnimations>(nullptr);
  FAnimations->FPAn = false;
  FAnimations->FAnimateEngine = cbneAtDraw;
  FAnimations->FAnimdelay = 2;
  FAnimations->FFadeSpeed = 10;
  FAnimations->FAnimshq = 6;

  FTextColors = std::make_unique<CButtonColors>(this);
  FTextColors->FEnter = clWhite;
  FTextColors->FLeave = clWhite;
  FTextColors->FDown = clWhite;
  FTextColors->FLine = clBlack;

  FUnderLine = std::make_unique<CButtonUnderLine>(this);
  FPreset = std::make_unique<CButtonPresets>(this);

  FPen = std::make_unique<CButtonPen>(this);
  FPen->FWidth = 2;
  FPen->FColor = clWindow;

  FFont.SetName("Segoe UI Semibold");
  FFont.SetSize(12);
  FFont.SetColor(0x00D7821A);
  FSubText = "Hello World!";
  FEnableSubText = false;
  FSubTextFont.SetName("Segoe UI");
  FSubTextFont.SetSize(10);
  FSubTextFont.SetColor(0x00D7821A);
  FTxtWSpace = 10;
  FCIcon = cicNone;
  FBitmap = std::make_unique<TPicture>();
  FBitmap->OnChange = [this] { FPictureBitmapValid = false; };
  FMBTColor = clWhite;
  FAccent = acAccentAdjust;
  ApplyAccentColor();

  SetBounds(Left(), Top(), 110, 40);
  FText = "Click me";
  FState = mbsLeave;
  FCustTColor = false;
  FSegoeMetro = false;
  FSegoeIcon = "\uE734";
  FImageLayout = cpLeft;
  FAnimations->FFadeAnimation = true;
  FPen->FWidth = 0;
  FTransparent = true;
  FRoundAmount = 10;
}

CButton::~CButton() {
  FadeAnim->SetEnabled(false);
  FadeAnim->OnTimer = nullptr;
  // A group this button made may outlive it in another button; it must not
  // point back at a button that is gone.
  if (auto group = FOwnGradientSet.lock(); group && group->Owner == this) group->Owner = nullptr;
  if (auto group = FOwnFontAutoSize.lock(); group && group->Owner == this) group->Owner = nullptr;
}

// --- setters -------------------------------------------------------------------------

void CButton::SetAlign(TAlignment Value) {
  FAlign = Value;
  Paint();
}

void CButton::SetMetroIcon(bool Value) {
  FSegoeMetro = Value;
  Paint();
}

void CButton::SetSegoeIcon(const std::string& Value) {
  FSegoeIcon = Value;
  Paint();
}

void CButton::SetImageLayout(CPosition Value) {
  FImageLayout = Value;
  Paint();
}

void CButton::SetFMBTColor(TColor Value) {
  FMBTColor = Value;
  Paint();
}

void CButton::SetBitmap(const TPicture* Value) {
  FBitmap->Assign(Value);
  Invalidate();
}

void CButton::SetIcon(CButtonIcon Value) {
  FCIcon = Value;
  Paint();
}

void CButton::SetFCustColor(bool Value) {
  FCustTColor = Value;
  Paint();
}

void CButton::SetShowCaption(bool Value) {
  FEnableCaption = Value;
  Paint();
}

void CButton::SetText(const std::string& Value) {
  FText = Value;
  Paint();
  vark::a11y::Announce(*this, vark::a11y::Change::Name);
}

void CButton::SetSubText(const std::string& Value) {
  FSubText = Value;
  Paint();
}

void CButton::SetEnableSubText(bool Value) {
  FEnableSubText = Value;
  Paint();
}

void CButton::SetTextWall(int Value) {
  FTxtWSpace = Value;
  Paint();
}

void CButton::SetFont(const TFont& Value) {
  FFont.Assign(Value);
  Paint();
}

void CButton::SetSubFont(const TFont& Value) {
  FSubTextFont.Assign(Value);
  Paint();
}

void CButton::ChangeScale(int M, int D) {
  TCustomControl::ChangeScale(M, D);
  if (M == D || D == 0) return;
  // Kept for the presets, which set their fonts in points at every paint.
  const int m = FScaleM * M, d = FScaleD * D, common = std::gcd(m, d);
  FScaleM = m / common;
  FScaleD = d / common;
  FFont.SetHeight(MulDiv(FFont.Height(), M, D));
  FSubTextFont.SetHeight(MulDiv(FSubTextFont.Height(), M, D));
}

void CButton::SetFontAutoSize(std::shared_ptr<CButtonFontAutoSize> Value) {
  if (Value) FFontAutoSize = std::move(Value);
}

void CButton::SetAccentColor(CAccentColor Value) {
  FAccent = Value;
  if (Value != acNone) ApplyAccentColor();
  Paint();
}

void CButton::SetGradient(std::shared_ptr<CButtonGradientSet> Value) {
  if (Value) FGradientSet = std::move(Value);
  Paint();
}

void CButton::SetTransparent(bool Value) {
  FTransparent = Value;
  Paint();
}

void CButton::SetRoundVal(int Value) {
  FRoundAmount = Value;
  Paint();
}

void CButton::SetFlatnes(bool Value) {
  FFlatBT = Value;
  Paint();
}

void CButton::SetFlatComplete(bool Value) {
  FFlatComplete = Value;
  if (Value) FUnderLine->SetUline(false);
  Paint();
}

void CButton::SetEnabled(bool Value) {
  TCustomControl::SetEnabled(Value);
  Paint();
}

void CButton::SetFocus() {
  TCustomControl::SetFocus();
}

void CButton::Invalidate() {
  TCustomControl::Invalidate();
  if (!FPreset->FIgnGbSync) CheckForGlobalSync();
  Paint();
  ApplyAccentColor();
}

// --- states and input ----------------------------------------------------------------

void CButton::SetState(CButtonState Value) {
  StTimer();
  FPreviousState = FState;
  FState = Value;
  Paint();
}

void CButton::NotifyStateChange() {
  FireEvent(OnStateChange, this, FState);
}

// Every handler below may run code that frees this button (a dialog closing
// over it); after each such call the rest of the handling is skipped once the
// button is gone.

void CButton::CMMouseEnter() {
  TWeakRef<CButton> self(this);
  TCustomControl::CMMouseEnter();
  if (!self) return;
  SetState(mbsEnter);
  NotifyStateChange();
}

void CButton::CMMouseLeave() {
  TWeakRef<CButton> self(this);
  TCustomControl::CMMouseLeave();
  if (!self) return;
  SetState(mbsLeave);
  NotifyStateChange();
}

void CButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWeakRef<CButton> self(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (!self) return;
  // A failure to take the focus propagates and ends the press handling here.
  SetFocus();
  if (!self) return;
  SetState(mbsDown);
  NotifyStateChange();
  if (!self) return;
  Animation(false);
}

void CButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWeakRef<CButton> self(this);
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!self || Parent() == nullptr) return;
  SetState(mbsEnter);
  NotifyStateChange();
  if (!self) return;
  Paint();
  Animation(true);
}

void CButton::KeyPress(char& Key) {
  TWeakRef<CButton> self(this);
  TCustomControl::KeyPress(Key);  // OnKeyPress may change the character
  if (!self || Key != '\r') return;
  SetState(mbsDown);
  NotifyStateChange();
  if (!self) return;
  SetState(mbsEnter);
  Click();
}

void CButton::DoEnter() {
  TWeakRef<CButton> self(this);
  TCustomControl::DoEnter();
  if (self) SetState(mbsEnter);
}

void CButton::DoExit() {
  TWeakRef<CButton> self(this);
  TCustomControl::DoExit();
  if (self) SetState(mbsLeave);
}

void CButton::CMDialogKey(TCMDialogKey& Message) {
  const bool answers =
      (Message.CharCode == VK_RETURN && FDefault) || (Message.CharCode == VK_ESCAPE && FCancel);
  if (answers && NoModifiers(Message.Shift) && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  TCustomControl::CMDialogKey(Message);
}

void CButton::Click() {
  TWeakRef<CButton> self(this);
  TCustomControl::Click();
  // A click handler that freed the button (a modal dialog closing over it)
  // leaves nothing to finish: the button and its modal result are gone.
  if (!self) return;
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
}

void CButton::DescribeAccessible(vark::a11y::Facts& facts) const {
  TCustomControl::DescribeAccessible(facts);
  facts.role = vark::a11y::Role::PushButton;
  facts.name = FText;
  facts.actions.emplace_back("click");
}

void CButton::DoAccessibleAction(std::string_view action) {
  if (action == "click") Click();
}
