#include "platform/ui/Dispatch.h"

#include <algorithm>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Keys.h"
#include "platform/ui/PadInput.h"
#include "platform/ui/Screen.h"
#include "platform/ui/UiState.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace vark::ui {

namespace {

// Input goes only to the innermost modal form while one runs.
bool Blocked(const TCustomForm& form) {
  TCustomForm* modal = Application->ModalForm();
  return modal != nullptr && modal != &form;
}

bool IsWindowed(const TControl* c) {
  return c->AsWinControl() != nullptr;
}

}  // namespace

struct Dispatch::Impl {
  // The deepest control under p (client coordinates of win) that takes the mouse.
  // Windowed children lie above graphic ones; a child that lets the press through
  // (a transparent control) hands it to what lies beneath. Disabled controls do
  // not take the mouse and neither does anything inside them.
  static TControl* Deep(TWinControl& win, TPoint p) {
    const auto& list = win.ControlList();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      TControl* c = *it;
      if (!IsWindowed(c) || !c->Visible() || !c->Enabled() || !c->BoundsRect().Contains(p))
        continue;
      if (TControl* hit = Deep(static_cast<TWinControl&>(*c), {p.X - c->Left(), p.Y - c->Top()})) {
        return hit;
      }
    }
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      TControl* c = *it;
      if (IsWindowed(c) || !c->Visible() || !c->Enabled() || !c->BoundsRect().Contains(p)) continue;
      if (c->HitTest(p.X - c->Left(), p.Y - c->Top())) return c;
    }
    return win.HitTest(p.X, p.Y) ? &win : nullptr;
  }

  // p (window coordinates of form's window) in the client coordinates of control.
  static TPoint LocalPoint(const TControl& control, const TCustomForm& form, TPoint p) {
    if (GetParentForm(&control) == &form) {
      TPoint o = &control == &form ? form.ClientOffset() : control.WindowOrigin();
      return {p.X - o.X, p.Y - o.Y};
    }
    return control.ScreenToClient({form.Left() + p.X, form.Top() + p.Y});
  }

  static CaptionButton ButtonAt(const TCustomForm& form, TPoint p) {
    for (CaptionButton b : {cbCloseButton, cbMaximizeButton, cbMinimizeButton}) {
      if (form.CaptionButtonRect(b).Contains(p)) return b;
    }
    return cbNone;
  }

  static void InvalidateButtons(TCustomForm& form) {
    for (CaptionButton b : {cbCloseButton, cbMaximizeButton, cbMinimizeButton}) {
      form.Window().invalid.Add(form.CaptionButtonRect(b));
    }
  }

  static void UpdateCursor(TCustomForm& form) {
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault) {
      for (TControl* c = form.Window().hover.get(); c != nullptr; c = c->Parent()) {
        if (c->Cursor() != crDefault) {
          cursor = c->Cursor();
          break;
        }
      }
    }
    if (cursor != State().shownCursor) {
      State().shownCursor = cursor;
      Application->Backend().SetCursor(cursor);
    }
  }

  static void SetHover(TCustomForm& form, TControl* target) {
    FormWindow& w = form.Window();
    TControl* old = w.hover.get();
    if (old != target) {
      w.hover = target;
      TWeakRef<TControl> next(target);
      // Leave the old control first, then enter the new one.
      if (old != nullptr) old->CMMouseLeave();
      if (TControl* t = next.get(); t != nullptr && w.hover.get() == t) t->CMMouseEnter();
    }
    UpdateCursor(form);
  }

  static void MouseMove(TCustomForm& form, TPoint p, TShiftState shift) {
    FormWindow& w = form.Window();
    w.pointerInside = true;
    w.pointer = p;
    CaptionButton hot = Blocked(form) ? cbNone : ButtonAt(form, p);
    if (hot != w.hotButton) {
      w.hotButton = hot;
      InvalidateButtons(form);
    }
    TControl* capture = GetCaptureControl();
    if (Blocked(form) && capture == nullptr) {
      SetHover(form, nullptr);
      return;
    }
    SetHover(form, Dispatch::ControlAt(form, p));
    TControl* target = capture != nullptr ? capture : w.hover.get();
    if (target == nullptr) return;
    TPoint local = LocalPoint(*target, form, p);
    target->MouseMove(shift, local.X, local.Y);
  }

  static void MouseDown(TCustomForm& form, TPoint p, TMouseButton button, TShiftState shift) {
    if (Blocked(form)) return;
    FormWindow& w = form.Window();
    w.pointerInside = true;
    w.pointer = p;
    if (button == mbLeft) {
      if (CaptionButton b = ButtonAt(form, p); b != cbNone) {
        w.pressedButton = b;
        w.hotButton = b;
        InvalidateButtons(form);
        return;
      }
      if (form.IsCaptionAt(p.X, p.Y)) {
        Dispatch::BeginCaptionDrag(form);
        return;
      }
    }
    TControl* target = Dispatch::ControlAt(form, p);
    if (target == nullptr) return;
    SetHover(form, target);
    if (target->ControlStyle().Contains(csCaptureMouse)) {
      SetCaptureControl(target);
      State().captureButton = button;
    }
    if (button == mbLeft) {
      w.clicked = target->ControlStyle().Contains(csClickEvents) ? target : nullptr;
    }
    TPoint local = LocalPoint(*target, form, p);
    target->MouseDown(button, shift, local.X, local.Y);
  }

  static void PressCaptionButton(TCustomForm& form, CaptionButton b) {
    switch (b) {
      case cbCloseButton:
        form.Close();
        break;
      case cbMinimizeButton:
        form.SetWindowState(wsMinimized);
        break;
      case cbMaximizeButton:
        form.SetWindowState(form.WindowState() == wsMaximized ? wsNormal : wsMaximized);
        break;
      default:
        break;
    }
  }

  static void MouseUp(TCustomForm& form, TPoint p, TMouseButton button, TShiftState shift) {
    FormWindow& w = form.Window();
    if (button == mbLeft && w.pressedButton != cbNone) {
      CaptionButton pressed = w.pressedButton;
      w.pressedButton = cbNone;
      InvalidateButtons(form);
      if (ButtonAt(form, p) == pressed) PressCaptionButton(form, pressed);
      return;
    }
    TControl* target = GetCaptureControl();
    if (target == nullptr) {
      if (Blocked(form)) return;
      target = Dispatch::ControlAt(form, p);
    }
    if (target == nullptr) {
      if (button == mbLeft) w.clicked = nullptr;
      return;
    }
    TWeakRef<TControl> ref(target);
    if (target->MouseCapture()) SetCaptureControl(nullptr);
    TPoint local = LocalPoint(*target, form, p);
    if (button == mbLeft) {
      TCustomForm* owner = GetParentForm(target);
      FormWindow& tw = owner != nullptr ? owner->Window() : w;
      bool pressedHere = tw.clicked.get() == target;
      tw.clicked = nullptr;
      if (pressedHere && target->ClientRect().Contains(local)) {
        target->Click();
        if (!ref) return;  // the click handler freed the control
      }
    }
    target->MouseUp(button, shift, local.X, local.Y);
  }

  static void MouseLeft(TCustomForm& form) {
    FormWindow& w = form.Window();
    w.pointerInside = false;
    if (w.hotButton != cbNone) {
      w.hotButton = cbNone;
      InvalidateButtons(form);
    }
    SetHover(form, nullptr);
  }
};

namespace {

// The character a key types, for the keys that type one without text input.
char CharForKey(uint16_t key, TShiftState shift) {
  if (shift.Contains(ssAlt)) return 0;
  bool ctrl = shift.Contains(ssCtrl);
  switch (key) {
    case VK_RETURN:
      return ctrl ? '\n' : '\r';
    case VK_ESCAPE:
      return 27;
    case VK_BACK:
      return ctrl ? 127 : 8;
    case VK_TAB:
      return ctrl ? 0 : '\t';
    default:
      if (ctrl && key >= 'A' && key <= 'Z') return static_cast<char>(key - 'A' + 1);
      return 0;
  }
}

// Home and End move within a list as the arrows do, so a form may take them
// as well when the focused control does not use them.
bool IsDialogKey(uint16_t key) {
  return key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
         key == VK_HOME || key == VK_END || key == VK_RETURN || key == VK_ESCAPE ||
         key == VK_EXECUTE || key == VK_CANCEL;
}

}  // namespace

TCustomForm* Dispatch::FormOf(uint32_t handle) {
  if (handle == 0) return nullptr;
  for (TCustomForm* f : State().forms) {
    if (f->Handle() == handle) return f;
  }
  return nullptr;
}

TControl* Dispatch::ControlAt(TCustomForm& form, TPoint p) {
  TPoint o = form.ClientOffset();
  if (!Bounds(o.X, o.Y, form.ClientWidth(), form.ClientHeight()).Contains(p)) return nullptr;
  return Impl::Deep(form, {p.X - o.X, p.Y - o.Y});
}

void Dispatch::UpdateHover(TCustomForm& form) {
  FormWindow& w = form.Window();
  if (!w.pointerInside || !form.Visible()) {
    Impl::SetHover(form, nullptr);
    return;
  }
  Impl::SetHover(
      form, Blocked(form) && GetCaptureControl() == nullptr ? nullptr : ControlAt(form, w.pointer));
}

void Dispatch::CancelPress() {
  for (TCustomForm* form : State().forms) {
    FormWindow& w = form->Window();
    w.clicked = nullptr;
    if (w.pressedButton != cbNone) {
      w.pressedButton = cbNone;
      Impl::InvalidateButtons(*form);
    }
  }
  TControl* target = GetCaptureControl();
  if (target == nullptr) return;
  SetCaptureControl(nullptr);
  TWeakRef<TCustomForm> owner(GetParentForm(target));
  target->MouseUp(State().captureButton, {}, -1, -1);  // left of and above its client area
  if (TCustomForm* form = owner.get()) Impl::MouseLeft(*form);
}

void Dispatch::BeginCaptionDrag(TCustomForm& form) {
  FormWindow& w = form.Window();
  w.clicked = nullptr;
  w.pressedButton = cbNone;
  SetCaptureControl(nullptr);
  if (form.HandleAllocated()) Application->Backend().BeginMove(form.Handle());
}

void Dispatch::ChangeFocus(TCustomForm& form, TWinControl* control) {
  TWinControl* old = form.ActiveControl();
  if (old == control) return;
  form.activeControl_ = control;
  // Exit from the old control up to the common container, then enter from there
  // down to the new one. Handlers may move the focus again or free controls.
  std::vector<TWeakRef<TWinControl>> exits;
  for (TWinControl* c = old; c != nullptr && c != &form; c = c->Parent()) {
    if (control != nullptr && c->ContainsControl(control)) break;
    exits.emplace_back(c);
  }
  std::vector<TWeakRef<TWinControl>> enters;
  for (TWinControl* c = control; c != nullptr && c != &form; c = c->Parent()) {
    if (old != nullptr && c->ContainsControl(old)) break;
    enters.emplace_back(c);
  }
  std::reverse(enters.begin(), enters.end());
  TWeakRef<TWinControl> target(control);
  TWeakRef<TWinControl> previous(old);
  for (auto& ref : exits) {
    if (TWinControl* c = ref.get()) c->DoExit();
  }
  if (TWinControl* c = previous.get()) a11y::Announce(*c, a11y::Change::States);
  for (auto& ref : enters) {
    if (form.ActiveControl() != target.get()) return;
    if (TWinControl* c = ref.get()) c->DoEnter();
  }
  // Told once the handlers are done: one of them may have moved the focus on.
  if (TWinControl* c = target.get(); c != nullptr && form.ActiveControl() == c) {
    a11y::Announce(*c, a11y::Change::Focus);
  }
}

void Dispatch::Key(TCustomForm& form, bool down, uint16_t key, TShiftState shift) {
  if (Blocked(form)) return;
  ShowFocusMarks(form);
  TWinControl* target = form.ActiveControl() != nullptr ? form.ActiveControl() : &form;
  TWeakRef<TWinControl> ref(target);
  TWeakRef<TCustomForm> formRef(&form);
  if (!down) {
    uint16_t k = key;
    target->KeyUp(k, shift);
    return;
  }
  if (IsDialogKey(key) && !target->WantsKey(key, shift)) {
    TCMDialogKey message;
    message.CharCode = key;
    message.Shift = shift;
    static_cast<TControl&>(form).CMDialogKey(message);
    if (message.Result != 0) return;  // handled: no key event and no character follow
    if (!ref || !formRef) return;
  }
  uint16_t k = key;
  target->KeyDown(k, shift);
  if (!ref || !formRef) return;
  if (char ch = CharForKey(key, shift); ch != 0) Char(form, ch);
}

void Dispatch::ShowFocusMarks(TCustomForm& form) {
  FormWindow& w = form.Window();
  if (w.keyboardUsed) return;
  w.keyboardUsed = true;
  if (TWinControl* focused = form.ActiveControl()) focused->Invalidate();
}

void Dispatch::Char(TCustomForm& form, char ch) {
  if (Blocked(form)) return;
  TWinControl* target = form.ActiveControl() != nullptr ? form.ActiveControl() : &form;
  char c = ch;
  target->KeyPress(c);
}

void Dispatch::Handle(const vark::Event& event) {
  if (event.kind == EventKind::Quit) {
    Application->EndSession();
    return;
  }
  if (event.kind == EventKind::PadDown || event.kind == EventKind::PadUp) {
    PadInput::Handle(event);  // pads belong to no window
    return;
  }
  TCustomForm* form = FormOf(event.window);
  if (form == nullptr) return;
  TPoint p{event.x, event.y};
  switch (event.kind) {
    case EventKind::MouseMove:
      Impl::MouseMove(*form, p, event.shift);
      break;
    case EventKind::MouseDown:
      Impl::MouseDown(*form, p, event.button, event.shift);
      break;
    case EventKind::MouseUp:
      Impl::MouseUp(*form, p, event.button, event.shift);
      break;
    case EventKind::MouseLeave:
      Impl::MouseLeft(*form);
      break;
    case EventKind::KeyDown:
      Key(*form, true, event.key, event.shift);
      break;
    case EventKind::KeyUp:
      Key(*form, false, event.key, event.shift);
      break;
    case EventKind::TextInput:
      for (char c : event.text) {
        if (static_cast<unsigned char>(c) < 0x80) Char(*form, c);
      }
      break;
    case EventKind::CloseRequest:
      if (!Blocked(*form)) form->Close();
      break;
    case EventKind::Moved:
      form->WindowMoved(event.x, event.y);
      break;
    case EventKind::Resized:
      form->WindowResized(event.x, event.y);
      break;
    case EventKind::StateChanged:
      form->WindowStateChanged(event.state);
      break;
    case EventKind::FocusGained:
      form->WindowActivated(true);
      break;
    case EventKind::FocusLost:
      form->WindowActivated(false);
      break;
    case EventKind::Exposed:
      form->Window().damage.Add(Rect(0, 0, form->Width(), form->Height()));
      break;
    case EventKind::ScaleChanged:
      form->WindowScaleChanged(event.x, event.bounds);
      break;
    case EventKind::CaptureLost:
      CancelPress();
      break;
    case EventKind::MouseWheel:
    case EventKind::None:
    case EventKind::Quit:
    case EventKind::PadDown:
    case EventKind::PadUp:
      break;
  }
}

}  // namespace vark::ui
