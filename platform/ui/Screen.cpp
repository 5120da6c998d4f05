#include "platform/ui/Screen.h"

#include <algorithm>
#include <cmath>

#include "platform/backend/Backend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dispatch.h"
#include "platform/ui/Form.h"
#include "platform/ui/UiState.h"

namespace {
// Holds no state that needs destroying: the forms list lives in the application.
TScreen screen;
}  // namespace

TScreen* Screen = &screen;

int TScreen::Width() const {
  return Application->Backend().ScreenSize().cx;
}

int TScreen::Height() const {
  return Application->Backend().ScreenSize().cy;
}

TRect TScreen::WorkAreaRect() const {
  return Application->Backend().WorkArea();
}

int TScreen::MonitorCount() const {
  return static_cast<int>(Application->Backend().Monitors().size());
}

TRect TScreen::MonitorBounds(int index) const {
  return Application->Backend().Monitors().at(static_cast<size_t>(index));
}

TRect TScreen::MonitorWorkArea(int index) const {
  return Application->Backend().WorkAreas().at(static_cast<size_t>(index));
}

double TScreen::Scale() const {
  return Application->Backend().Scale();
}

int TScreen::PixelsPerInch() const {
  return static_cast<int>(std::lround(96.0 * Scale()));
}

int TScreen::FormCount() const {
  return static_cast<int>(vark::ui::State().forms.size());
}

TCustomForm* TScreen::Forms(int index) const {
  return vark::ui::State().forms.at(index);
}

TCustomForm* TScreen::ActiveForm() const {
  for (TCustomForm* f : vark::ui::State().forms) {
    if (f->Active()) return f;
  }
  return nullptr;
}

void TScreen::SetCursor(TCursor value) {
  cursor_ = value;
  for (TCustomForm* f : vark::ui::State().forms) {
    if (f->HandleAllocated()) vark::ui::Dispatch::UpdateHover(*f);
  }
}

void TScreen::AddForm(TCustomForm* form) {
  vark::ui::State().forms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  auto& forms = vark::ui::State().forms;
  forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
}
