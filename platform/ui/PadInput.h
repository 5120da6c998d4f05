// Gamepad input in the toolkit. The backends report pad buttons as events of
// their own (PadDown, PadUp: platform/backend/PadReading.h), never as keys, so
// that assistive technology listening to the keyboard hears no keys nobody
// typed. Here each button takes the meaning of a key the player knows, and
// goes the key's way through the form, so a control, the accessibility
// model and a screen reader see what that key would have done:
//
//   D-pad or stick up, down   Up, Down; held, repeated after 400 ms, every 100 ms
//   D-pad or stick left, right   Left, Right
//   A                         the focused control's press key (Return; Space
//                             on a check box), down and up with the button
//   B                         Escape, in a modal window only: it backs out of a
//                             dialog, and a main window has nothing to back out of
//   Start, Back               nothing, unless the form gives them a meaning
//                             (TCustomForm::PadButtonDown, asked first for every
//                             button)
//
// Input goes to the modal form while one runs, else to the active form; none
// while the program is not the active one. The first pad input shows the
// focus marks, as the first key does.
#pragma once

#include "platform/backend/Backend.h"

namespace vark::ui {

class PadInput {
 public:
  static void Handle(const vark::Event& event);
  // The delay before a held direction repeats, and the time between repeats.
  static constexpr int kRepeatDelayMs = 400;
  static constexpr int kRepeatIntervalMs = 100;
};

}  // namespace vark::ui
