// CProgress: the option groups, construction and destruction, the position
// rules and the two timers. Painting and presets: Vark.ProgressPaint.cpp.
#include "controls/Vark.Progress.h"

#include <algorithm>
#include <climits>

#include "platform/ui/Application.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace {

// Position arithmetic runs in 64 bits and saturates, so a huge Step or a
// position set far outside the range can never overflow.
int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

CProgress* Bar(TPersistent* owner) {
  return dynamic_cast<CProgress*>(owner);
}

}  // namespace

// ---- Option groups: the bar is each group's owner ------------------------------------

CProgressText::CProgressText(CProgress* AOwner) : TMPersistent(AOwner) {}
CProgressColors::CProgressColors(CProgress* AOwner) : TMPersistent(AOwner) {}
CProgressAnimation::CProgressAnimation(CProgress* AOwner) : TMPersistent(AOwner) {}
CProgressAnimate::CProgressAnimate(CProgress* AOwner) : TMPersistent(AOwner) {}
CProgressOptions::CProgressOptions(CProgress* AOwner) : TMPersistent(AOwner) {}

void CProgressText::Changed() {
  if (CProgress* bar = Bar(Owner)) bar->PaintNow();
}

void CProgressText::SetSText(const std::string& Value) {
  SText = Value;
  Changed();
}

void CProgressText::SetEnableSText(bool Value) {
  FSEnable = Value;
  Changed();
}

void CProgressText::SetInclPerc(bool Value) {
  FIncludePerc = Value;
  Changed();
}

void CProgressText::SetFtText(bool Value) {
  FFitToTx = Value;
  Changed();
}

void CProgressText::SetFnColor(TColor Value) {
  FTextCol = Value;
  Changed();
}

void CProgressText::SetFnSize(int32_t Value) {
  FTextSz = Value;
  Changed();
}

void CProgressText::SetWLimit(int32_t Value) {
  FWidLimit = Value;
  Changed();
}

void CProgressText::SetFontNm(const std::string& Value) {
  FTextNm = Value;
  Changed();
}

// ---- CProgressAnimate: the two setters that reach the repaint timer ---------------

void CProgressAnimate::ChangeAnimProgSpeed(int32_t Value) {
  timerspeed = Value;
  if (CProgress* bar = Bar(Owner)) bar->FDrawAnim->SetInterval(Value);
}

void CProgressAnimate::ChengeALlowANi(bool Value) {
  FAllowProgressAnimate = Value;
  if (CProgress* bar = Bar(Owner)) {
    bar->FDrawAnim->SetEnabled(Value);
    bar->PaintNow();
  }
}

// ---- Construction and destruction -----------------------------------------------------

CProgress::CProgress(TComponent* AOwner) : TCustomTransparentControl(AOwner) {
  FAuthor = "VarkelSoftware";
  FSite = "https://varkelsoftware.example";
  FVersion = "1.4";
  SetInterceptMouse(true);
  FTrueTransparency = true;
  FAnimation = std::make_unique<CProgressAnimation>(this);
  FColors = std::make_unique<CProgressColors>(this);
  FProgressText = std::make_unique<CProgressText>(this);

  // Both timers belong to the bar alone (no owner in the component tree).
  FAnimationTimer = std::make_unique<TTimer>(nullptr);
  FAnimationTimer->SetName("CProgress.AnimationTimer");
  FAnimationTimer->SetEnabled(false);
  FAnimationTimer->SetInterval(FAnimation->FInterval);
  FAnimationTimer->SetTag(0);
  FAnimationTimer->OnTimer = [this](TObject* Sender) { FAnimationTimerEvent(Sender); };

  FDrawAnim = std::make_unique<TTimer>(nullptr);
  FDrawAnim->SetName("CProgress.DrawAnim");
  FDrawAnim->SetInterval(1);
  FDrawAnim->OnTimer = [this](TObject* Sender) { FDrawAnimEvent(Sender); };
  FDrawAnim->SetEnabled(true);

  FProgAnim = std::make_unique<CProgressAnimate>(this);
  FProgOptions = std::make_unique<CProgressOptions>(this);
  FPreset = cprNone;
  FAccent = acAccentAdjust;
  ApplyAccentColor();
  SetWidth(200);
  SetHeight(20);
  FPosition = 0;
  FMax = 100;
  FMin = 0;
}

CProgress::~CProgress() {
  Destroying();
  FAnimation.reset();
  FColors.reset();
  FProgAnim.reset();
  FProgressText.reset();
  FProgOptions.reset();
  FAnimationTimer->SetEnabled(false);
  FAnimationTimer.reset();
  FDrawAnim->SetEnabled(false);
  FDrawAnim.reset();
}

// ---- Properties -------------------------------------------------------------------------

void CProgress::SetTrueTransparency(bool Value) {
  FTrueTransparency = Value;
  if (Value) Invalidate();
}

void CProgress::SetAccentColor(CAccentColor Value) {
  FAccent = Value;
  if (Value != acNone) ApplyAccentColor();
  PaintNow();
}

void CProgress::ApplyAccentColor() {
  if (FAccent != acNone) FColors->FForeground = GetAccentColor(FAccent);
}

void CProgress::Invalidate() {
  TCustomTransparentControl::Invalidate();
  ApplyAccentColor();
}

void CProgress::PaintNow() {
  // A bar that is not placed anywhere has nothing to draw on; painting it
  // would only move the highlight unseen.
  if (Parent() == nullptr) return;
  if (ComponentState().Contains(csDestroying)) return;
  Paint();
}

// ---- Position rules -------------------------------------------------------------------

void CProgress::SetPosition(int32_t Value) {
  if (FMin <= Value && Value <= FMax) {
    if (FAnimation->FAnimations) {
      if (FPosition > Value) {
        FAnimationTimer->SetTag(0);
      } else if (FPosition < Value) {
        FAnimationTimer->SetTag(1);
      }
      FAnimation->FAnimateTo = Value;
      // A new target during a glide starts the count afresh.
      FAnimationTimer->SetEnabled(false);
      FAnimationTimer->SetInterval(FAnimation->FInterval);
      FAnimationTimer->SetEnabled(true);
      PaintNow();
    } else {
      FPosition = Value;
      vark::a11y::Announce(*this, vark::a11y::Change::Value);
      TWeakRef<CProgress> self(this);
      FireEvent(OnChange, this, FPosition, FMax);
      if (!self) return;
      PaintNow();
    }
  }
  // A stored form gives Position before Max and Min: keep it as it is.
  if (ComponentState().Contains(csLoading)) FPosition = Value;
}

void CProgress::SetMax(int32_t Value) {
  FMax = Value;
  if (FPosition > FMax) FPosition = FMax;
  vark::a11y::Announce(*this, vark::a11y::Change::Value);
  PaintNow();
}

void CProgress::SetMin(int32_t Value) {
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
  vark::a11y::Announce(*this, vark::a11y::Change::Value);
  PaintNow();
}

void CProgress::SetValue(int32_t pos, bool jump) {
  if (!jump) {
    SetPosition(pos);
    return;
  }
  FPosition = pos;
  vark::a11y::Announce(*this, vark::a11y::Change::Value);
  TWeakRef<CProgress> self(this);
  FireEvent(OnChange, this, FPosition, FMax);
  if (!self) return;
  PaintNow();
}

// ---- Timers -------------------------------------------------------------------------------

void CProgress::FAnimationTimerEvent(TObject*) {
  const int32_t target = FAnimation->FAnimateTo;
  const int64_t step = FAnimation->FStep;
  if (FAnimationTimer->Tag() == 0) {
    if (FPosition <= target) {
      FPosition = target;
      FAnimationTimer->SetEnabled(false);
    } else {
      FPosition = Saturate(FPosition - step);
    }
  } else {
    if (FPosition >= target) {
      FPosition = target;
      FAnimationTimer->SetEnabled(false);
    } else {
      FPosition = Saturate(FPosition + step);
    }
  }
  vark::a11y::Announce(*this, vark::a11y::Change::Value);
  // The handler may free the bar (and this timer with it).
  TWeakRef<CProgress> self(this);
  FireEvent(OnChange, this, FPosition, FMax);
  if (!self) return;
  PaintNow();
}

void CProgress::DescribeAccessible(vark::a11y::Facts& facts) const {
  TCustomTransparentControl::DescribeAccessible(facts);
  facts.role = vark::a11y::Role::ProgressBar;
  facts.value = vark::a11y::Range{static_cast<double>(FMin), static_cast<double>(FMax),
                                  static_cast<double>(FPosition)};
}

void CProgress::FDrawAnimEvent(TObject*) {
  // Only a bar that can be seen moves its highlight: hidden bars, bars of a
  // hidden parent and bars of a background application stand still.
  const TWinControl* parent = Parent();
  if (parent == nullptr) return;
  if (!(parent->Visible() || AnimateInIDE)) return;
  if (!Visible()) return;
  if (!Application->Active()) return;
  Paint();
}
