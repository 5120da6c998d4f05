// Routing of backend events to forms and controls: hit testing, the mouse's
// enter and leave notifications, capture, clicks, the keyboard focus, dialog
// keys, and the window events (move, resize, close, activation).
#pragma once

#include "platform/backend/Backend.h"

class TCustomForm;
class TControl;
class TWinControl;

namespace vark::ui {

class Dispatch {
 public:
  // Handles one backend event.
  static void Handle(const vark::Event& event);
  // The topmost control under p (window coordinates) that takes the mouse, or
  // the form itself; null outside the client area. Transparent controls
  // without InterceptMouse and disabled graphic controls let it pass.
  static TControl* ControlAt(TCustomForm& form, TPoint p);
  // Re-evaluates the control under the pointer (after controls moved or hid).
  static void UpdateHover(TCustomForm& form);
  // Ends the press in progress, as when the system takes the mouse away
  // (Alt+Tab, a prompt) or a modal form opens: the control holding the
  // capture gets its release outside itself, so it returns to rest, and the
  // pointer counts as gone from its window until it moves again. A later
  // release clicks nothing.
  static void CancelPress();
  // Starts moving the form's window with the mouse (the caption-drag request).
  static void BeginCaptionDrag(TCustomForm& form);
  // Gives the keyboard focus to control (null: none), running the exit and
  // enter notifications between the old and the new focus.
  static void ChangeFocus(TCustomForm& form, TWinControl* control);
  static void Key(TCustomForm& form, bool down, uint16_t key, TShiftState shift);
  // The keyboard or a gamepad was used: focus marks show from now on.
  static void ShowFocusMarks(TCustomForm& form);
  static void Char(TCustomForm& form, char ch);
  // The form a backend window belongs to.
  static TCustomForm* FormOf(uint32_t handle);

 private:
  struct Impl;  // the routing itself, with the access the framework grants Dispatch
};

}  // namespace vark::ui
