#include "controls/Vark.Button.Options.h"

#include "controls/Vark.Button.h"

bool CButtonOptionGroup::Paint() {
  auto* button = dynamic_cast<CButton*>(Owner);
  if (button == nullptr) return false;
  button->Paint();
  return true;
}

void CButtonColors::SetEnter(TColor Value) {
  FEnter = Value;
  Paint();
}

void CButtonColors::SetLeave(TColor Value) {
  FLeave = Value;
  Paint();
}

void CButtonColors::SetDown(TColor Value) {
  FDown = Value;
  Paint();
}

void CButtonColors::SetBLine(TColor Value) {
  FLine = Value;
  Paint();
}

void CButtonGradientSet::SetEnter(TColor Value) {
  FEnter = Value;
  Paint();
}

void CButtonGradientSet::SetLeave(TColor Value) {
  FLeave = Value;
  Paint();
}

void CButtonGradientSet::SetDown(TColor Value) {
  FDown = Value;
  Paint();
}

void CButtonGradientSet::SetEnabled(bool Value) {
  FEnabled = Value;
  Paint();
}

void CButtonPen::SetColor(TColor Value) {
  FColor = Value;
  Paint();
}

void CButtonPen::SetWidth(int Value) {
  FWidth = Value;
  Paint();
}

void CButtonPen::SetEnableAlternativeColors(bool Value) {
  FEnablePenAlt = Value;
  Paint();
}

void CButtonPen::SetAltPressColor(TColor Value) {
  FCPenDown = Value;
  Paint();
}

void CButtonPen::SetAltHoverColor(TColor Value) {
  FCPenHover = Value;
  Paint();
}

void CButtonPresets::SetColor(TColor Value) {
  FrColor = Value;
  Paint();
}

void CButtonPresets::SetKind(CButtonPreset Value) {
  FpKind = Value;
  Paint();
}

void CButtonPresets::SetPenColorAuto(bool Value) {
  FAutoPen = Value;
  Paint();
}

void CButtonPresets::SetApplyOnce(bool Value) {
  FApplyOnce = Value;
  Paint();
}

void CButtonPresets::SetIgnoreGlobalSync(bool Value) {
  FIgnGbSync = Value;
  Paint();
}

void CButtonUnderLine::PaintOwner() {
  if (auto* button = dynamic_cast<CButton*>(Owner)) button->Paint();
}

void CButtonUnderLine::SetUlThick(int Value) {
  FUnderThick = Value;
  PaintOwner();
}

void CButtonUnderLine::SetUline(bool Value) {
  FUnderLn = Value;
  PaintOwner();
}

void CButtonUnderLine::SetULRound(bool Value) {
  FUnderLnRound = Value;
  PaintOwner();
}

void CButtonFontAutoSize::SetEnabled(bool Value) {
  FEnabled = Value;
  Paint();
}

void CButtonFontAutoSize::SetMax(int Value) {
  FMax = Value;
  Paint();
}

void CButtonFontAutoSize::SetMin(int Value) {
  FMin = Value;
  Paint();
}
