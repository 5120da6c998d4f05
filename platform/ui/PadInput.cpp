#include "platform/ui/PadInput.h"

#include "platform/ui/Application.h"
#include "platform/ui/Dispatch.h"
#include "platform/ui/Form.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Timer.h"
#include "platform/ui/UiState.h"

namespace vark::ui {

namespace {

TCustomForm* Target() {
  if (TCustomForm* modal = Application->ModalForm()) return modal;
  return Screen->ActiveForm();
}

uint16_t KeyOf(TPadButton button, TCustomForm& form) {
  switch (button) {
    case pbUp:
      return VK_UP;
    case pbDown:
      return VK_DOWN;
    case pbLeft:
      return VK_LEFT;
    case pbRight:
      return VK_RIGHT;
    case pbA:
      return form.ActiveControl() != nullptr ? form.ActiveControl()->PressKey() : VK_RETURN;
    case pbB:
      return Application->ModalForm() == &form ? VK_ESCAPE : 0;
    default:
      return 0;
  }
}

void StopRepeat() {
  if (TTimer* timer = State().padRepeat.get()) timer->SetEnabled(false);
}

void Repeat(TObject*) {
  UiState& s = State();
  const UiState::PadPress& press = s.padPresses[s.padRepeating];
  TCustomForm* form = press.form.get();
  // A window that opened or closed meanwhile takes no repeats meant for another.
  if (form == nullptr || press.key == 0 || form != Target()) {
    StopRepeat();
    return;
  }
  if (TTimer* timer = s.padRepeat.get()) timer->SetInterval(PadInput::kRepeatIntervalMs);
  Dispatch::Key(*form, true, press.key, {});
}

void StartRepeat(TPadButton button) {
  UiState& s = State();
  TTimer* timer = s.padRepeat.get();
  if (timer == nullptr) {
    timer = &Application->Make<TTimer>();
    timer->SetName("PadRepeat");
    timer->OnTimer = Repeat;
    s.padRepeat = timer;
  }
  s.padRepeating = button;
  // Counted from this press, whatever was repeating before.
  timer->SetEnabled(false);
  timer->SetInterval(PadInput::kRepeatDelayMs);
  timer->SetEnabled(true);
}

}  // namespace

void PadInput::Handle(const vark::Event& event) {
  UiState& s = State();
  UiState::PadPress& press = s.padPresses[event.pad];
  if (event.kind == EventKind::PadUp) {
    if (s.padRepeating == event.pad) StopRepeat();
    const uint16_t key = press.key;
    TCustomForm* form = press.form.get();
    press = {};
    if (key != 0 && form != nullptr) Dispatch::Key(*form, false, key, {});
    return;
  }
  TCustomForm* form = Target();
  if (form == nullptr || !form->HandleAllocated()) return;
  TWeakRef<TCustomForm> ref(form);
  Dispatch::ShowFocusMarks(*form);
  if (form->PadButtonDown(event.pad) || !ref) return;
  const uint16_t key = KeyOf(event.pad, *form);
  if (key == 0) return;
  press = {key, form};
  if (event.pad == pbUp || event.pad == pbDown) StartRepeat(event.pad);
  Dispatch::Key(*form, true, key, {});
}

}  // namespace vark::ui
