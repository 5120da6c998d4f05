#include "platform/ui/TitleBar.h"

#include "platform/ui/Form.h"
#include "platform/ui/FormWindow.h"

void TCustomTitleBar::SetEnabled(bool value) {
  if (enabled_ == value) return;
  // The frame changes; the form keeps its client size.
  int cw = form_->ClientWidth(), ch = form_->ClientHeight();
  enabled_ = value;
  form_->KeepClientSize(cw, ch);
}

void TCustomTitleBar::SetHeight(int value) {
  if (value < 0) value = 0;
  height_ = value;
  if (control_ != nullptr) control_->SetHeight(value);
  Changed();
}

void TCustomTitleBar::SetControl(TTitleBarPanel* panel) {
  control_ = panel;
  if (panel != nullptr) {
    panel->SetAlign(alTop);
    panel->SetHeight(height_);
  }
  Changed();
}

TColor TCustomTitleBar::EffectiveBackground(bool active) const {
  if (systemColors_) return clWhite;
  return active ? background_ : inactiveBackground_;
}

TColor TCustomTitleBar::EffectiveForeground(bool active) const {
  if (systemColors_) return active ? clBlack : TColor{0x00999999};
  return active ? foreground_ : inactiveForeground_;
}

void TCustomTitleBar::Changed() {
  // The band and the frame around it.
  form_->Window().invalid.Add(Rect(0, 0, form_->Width(), form_->Height()));
}

TTitleBarPanel::TTitleBarPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetParentBackground(true);
  SetHeight(TCustomTitleBar::kDefaultHeight);
  if (auto* form = dynamic_cast<TCustomForm*>(AOwner)) {
    SetHeight(form->CustomTitleBar().Height());
  }
}

bool TTitleBarPanel::HitTest(int, int) const {
  return false;
}
