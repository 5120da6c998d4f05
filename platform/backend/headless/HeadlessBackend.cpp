#include "platform/backend/headless/HeadlessBackend.h"

#include <algorithm>
#include <cmath>

#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngCodec.h"
#include "platform/ui/Application.h"
#include "platform/ui/Control.h"
#include "platform/ui/Form.h"
#include "platform/ui/Timer.h"

namespace vark {

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

HeadlessBackend& HeadlessBackend::Install() {
  auto backend = std::make_unique<HeadlessBackend>();
  HeadlessBackend& ref = *backend;
  Application->InstallBackend(std::move(backend));
  return ref;
}

// --- windows ---------------------------------------------------------------------

HeadlessBackend::Window* HeadlessBackend::Find(WindowHandle handle) {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : &it->second;
}

const HeadlessBackend::Window* HeadlessBackend::Find(WindowHandle handle) const {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : &it->second;
}

WindowHandle HeadlessBackend::CreateWindow(const WindowSpec& params) {
  WindowHandle h = nextHandle_++;
  Window& w = windows_[h];
  w.title = params.title;
  w.bounds = params.bounds;
  w.presented = std::make_unique<TBitmap>(std::max(1, params.bounds.Width()),
                                          std::max(1, params.bounds.Height()));
  zorder_.push_back(h);
  return h;
}

void HeadlessBackend::DestroyWindow(WindowHandle window) {
  if (Find(window) == nullptr) return;
  SetModal(window, false);
  bool hadFocus = focus_ == window;
  windows_.erase(window);
  zorder_.erase(std::remove(zorder_.begin(), zorder_.end(), window), zorder_.end());
  if (mouseWindow_ == window) mouseWindow_ = 0;
  if (moving_ == window) moving_ = 0;
  if (hadFocus) {
    focus_ = 0;
    if (WindowHandle next = TopmostEnabled(0)) Activate(next);
  }
}

WindowHandle HeadlessBackend::TopmostEnabled(WindowHandle except) const {
  for (auto it = zorder_.rbegin(); it != zorder_.rend(); ++it) {
    const Window* w = Find(*it);
    if (*it != except && w->visible && w->enabled) return *it;
  }
  return 0;
}

void HeadlessBackend::SetVisible(WindowHandle window, bool visible) {
  Window* w = Find(window);
  if (w == nullptr || w->visible == visible) return;
  w->visible = visible;
  if (visible) {
    Activate(window);
  } else if (focus_ == window) {
    // The focus goes to the topmost window still shown that takes input, as
    // a window manager does.
    WindowHandle next = TopmostEnabled(window);
    focus_ = 0;
    Deliver({EventKind::FocusLost, window});
    if (next != 0) Activate(next);
  }
}

void HeadlessBackend::SetTitle(WindowHandle window, const std::string& title) {
  if (Window* w = Find(window)) w->title = title;
}

void HeadlessBackend::SetBounds(WindowHandle window, const TRect& bounds) {
  if (Window* w = Find(window)) w->bounds = bounds;
}

void HeadlessBackend::SetState(WindowHandle window, TWindowState state) {
  if (Window* w = Find(window)) w->state = state;
}

void HeadlessBackend::Activate(WindowHandle window) {
  Window* w = Find(window);
  if (w == nullptr || !w->visible) return;
  zorder_.erase(std::remove(zorder_.begin(), zorder_.end(), window), zorder_.end());
  zorder_.push_back(window);
  if (focus_ == window) return;
  WindowHandle old = focus_;
  focus_ = window;
  // Activation is synchronous, as the classic desktop's is: the form is active
  // as soon as Show returns.
  if (old != 0 && Find(old) != nullptr && appActive_) {
    Application->DispatchEvent(Event{EventKind::FocusLost, old});
  }
  if (appActive_) Application->DispatchEvent(Event{EventKind::FocusGained, window});
}

void HeadlessBackend::Present(WindowHandle window, const TBitmap& surface,
                              std::span<const TRect> rects) {
  Window* w = Find(window);
  if (w == nullptr) return;
  if (w->presented->Width() != surface.Width() || w->presented->Height() != surface.Height()) {
    w->presented->SetSize(surface.Width(), surface.Height());
    // A new size shows the whole buffer.
    std::copy(surface.Bits(),
              surface.Bits() + static_cast<size_t>(surface.Width()) * surface.Height(),
              w->presented->Bits());
  }
  lastPresented_.assign(rects.begin(), rects.end());
  for (TRect r : rects) {
    r = IntersectRect(r, Rect(0, 0, surface.Width(), surface.Height()));
    for (int y = r.Top; y < r.Bottom; ++y) {
      std::copy(surface.ScanLine(y) + r.Left, surface.ScanLine(y) + r.Right,
                w->presented->ScanLine(y) + r.Left);
    }
  }
  ++presentCount_;
}

void HeadlessBackend::BeginMove(WindowHandle window) {
  Window* w = Find(window);
  if (w == nullptr) return;
  // The button held drags the window until it comes up: the left one first.
  if (buttons_.Contains(ssLeft)) {
    moveButton_ = mbLeft;
  } else if (buttons_.Contains(ssRight)) {
    moveButton_ = mbRight;
  } else if (buttons_.Contains(ssMiddle)) {
    moveButton_ = mbMiddle;
  } else {
    return;
  }
  moving_ = window;
  moveGrab_ = {cursor_.X - w->bounds.Left, cursor_.Y - w->bounds.Top};
}

void HeadlessBackend::SetModal(WindowHandle window, bool modal) {
  if (modal) {
    std::vector<WindowHandle> taken;
    for (auto& [handle, w] : windows_) {
      if (handle != window && w.visible && w.enabled) {
        w.enabled = false;
        taken.push_back(handle);
      }
    }
    modal_.emplace_back(window, std::move(taken));
    return;
  }
  for (auto it = modal_.begin(); it != modal_.end(); ++it) {
    if (it->first != window) continue;
    for (WindowHandle handle : it->second) {
      if (Window* w = Find(handle)) w->enabled = true;
    }
    modal_.erase(it);
    return;
  }
}

double HeadlessBackend::ScaleAt(const TRect& bounds) const {
  // The screen that holds most of the rectangle, the primary one by default.
  double scale = scale_;
  int best = 0;
  std::vector<TRect> screens = Monitors();
  for (size_t i = 0; i < screens.size(); ++i) {
    TRect common = IntersectRect(screens[i], bounds);
    int area = common.IsEmpty() ? 0 : common.Width() * common.Height();
    if (area <= best) continue;
    best = area;
    scale = i > 0 && i - 1 < extraScales_.size() ? extraScales_[i - 1] : scale_;
  }
  return scale;
}

bool HeadlessBackend::ApplicationActive() const {
  return appActive_;
}

void HeadlessBackend::setApplicationActive(bool active) {
  if (appActive_ == active) return;
  appActive_ = active;
  if (focus_ != 0) Deliver({active ? EventKind::FocusGained : EventKind::FocusLost, focus_});
}

// --- the event loop's side ------------------------------------------------------------

bool HeadlessBackend::WaitEvent(Event& event, int timeoutMs) {
  if (!queue_.empty()) {
    event = std::move(queue_.front());
    queue_.pop_front();
    return true;
  }
  if (timeoutMs == 0) return false;
  waits_.push_back(timeoutMs);
  // Nothing queued: a test may act now (click the dialog's button ...).
  uint64_t before = activity_;
  if (OnIdle) OnIdle();
  if (!queue_.empty()) {
    event = std::move(queue_.front());
    queue_.pop_front();
    return true;
  }
  if (activity_ != before) return false;
  // The handler may have ended the modal loop (or the application) directly.
  if (TCustomForm* modal = Application->ModalForm(); modal != nullptr && modal->ModalDone()) {
    return false;
  }
  if (Application->Terminated()) return false;
  if (timeoutMs < 0) {
    throw HeadlessStall{"the event loop waits for input that no test will give"};
  }
  if (now_ - lastInput_ > static_cast<uint64_t>(stallLimitMs_)) {
    throw HeadlessStall{"a modal loop ran " + std::to_string(stallLimitMs_) +
                        " ms of virtual time without input"};
  }
  now_ += static_cast<uint64_t>(timeoutMs);
  return false;
}

void HeadlessBackend::Settle() {
  Application->ProcessMessages();
}

void HeadlessBackend::Deliver(const Event& event) {
  ++activity_;
  lastInput_ = now_;
  Application->DispatchEvent(event);
  Application->FinishTurn();
}

void HeadlessBackend::advance(int ms) {
  uint64_t target = now_ + static_cast<uint64_t>(std::max(0, ms));
  Settle();
  while (true) {
    uint64_t deadline = 0;
    if (!ui::TimerQueue::NextDeadline(deadline) || deadline > target) break;
    if (deadline > now_) now_ = deadline;
    Application->FinishTurn();
  }
  // A modal loop run by a tick may have moved the clock past the target already.
  now_ = std::max(now_, target);
  Application->FinishTurn();
}

void HeadlessBackend::tick(TTimer& timer) {
  ui::TimerQueue::Fire(timer);
  Application->FinishTurn();
}

// --- synthetic input ---------------------------------------------------------------------

WindowHandle HeadlessBackend::HandleOf(const TCustomForm& form) const {
  return form.Handle();
}

WindowHandle HeadlessBackend::WindowAt(TPoint screen) const {
  for (auto it = zorder_.rbegin(); it != zorder_.rend(); ++it) {
    const Window* w = Find(*it);
    if (w->visible && w->bounds.Contains(screen)) return *it;
  }
  return 0;
}

void HeadlessBackend::MouseEvent(EventKind kind, TPoint screen, TMouseButton button,
                                 TShiftState shift) {
  cursor_ = screen;
  TShiftState flag;
  flag.Include(button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle);
  if (kind == EventKind::MouseDown) buttons_ = buttons_ + flag;

  if (moving_ != 0) {
    // The window follows the pointer until the button that drags it comes up.
    Window* w = Find(moving_);
    if (kind == EventKind::MouseUp && button == moveButton_) {
      moving_ = 0;
      buttons_ = buttons_ - flag;
      ++activity_;
      return;
    }
    if (w != nullptr && kind == EventKind::MouseMove) {
      int width = w->bounds.Width(), height = w->bounds.Height();
      w->bounds = Bounds(screen.X - moveGrab_.X, screen.Y - moveGrab_.Y, width, height);
      Deliver({EventKind::Moved, moving_, w->bounds.Left, w->bounds.Top});
    }
    return;
  }

  // A captured mouse stays with its window; otherwise the window under the pointer.
  WindowHandle target = captured_ && mouseWindow_ != 0 ? mouseWindow_ : WindowAt(screen);
  if (target != mouseWindow_ && !captured_) {
    if (mouseWindow_ != 0 && Find(mouseWindow_) != nullptr) {
      Deliver({EventKind::MouseLeave, mouseWindow_});
    }
    mouseWindow_ = target;
  }
  if (target == 0) {
    if (kind == EventKind::MouseUp) buttons_ = buttons_ - flag;
    return;
  }
  // A press activates its window, unless a modal form holds the input.
  if (kind == EventKind::MouseDown) {
    TCustomForm* modal = Application->ModalForm();
    if (modal == nullptr || modal->Handle() == target) Activate(target);
  }
  Window* w = Find(target);
  Event e{kind, target, screen.X - w->bounds.Left, screen.Y - w->bounds.Top};
  e.button = button;
  e.shift = shift + buttons_;
  if (kind == EventKind::MouseUp) buttons_ = buttons_ - flag;
  Deliver(e);
  if (kind == EventKind::MouseUp && buttons_.IsEmpty() && !captured_) {
    // The pointer may now be over another window.
    WindowHandle under = WindowAt(screen);
    if (under != mouseWindow_) {
      if (mouseWindow_ != 0 && Find(mouseWindow_) != nullptr) {
        Deliver({EventKind::MouseLeave, mouseWindow_});
      }
      mouseWindow_ = under;
      if (under != 0) {
        Window* u = Find(under);
        Deliver({EventKind::MouseMove, under, screen.X - u->bounds.Left, screen.Y - u->bounds.Top});
      }
    }
  }
}

void HeadlessBackend::mouseMoveScreen(int x, int y, TShiftState shift) {
  MouseEvent(EventKind::MouseMove, {x, y}, mbLeft, shift);
}

void HeadlessBackend::mouseDownScreen(int x, int y, TMouseButton button, TShiftState shift) {
  if (cursor_ != TPoint{x, y}) mouseMoveScreen(x, y, shift);
  MouseEvent(EventKind::MouseDown, {x, y}, button, shift);
}

void HeadlessBackend::mouseUpScreen(int x, int y, TMouseButton button, TShiftState shift) {
  if (cursor_ != TPoint{x, y}) mouseMoveScreen(x, y, shift);
  MouseEvent(EventKind::MouseUp, {x, y}, button, shift);
}

void HeadlessBackend::mouseMove(TCustomForm& form, int x, int y, TShiftState shift) {
  TPoint s = form.ClientToScreen({x, y});
  mouseMoveScreen(s.X, s.Y, shift);
}

void HeadlessBackend::mouseDown(TCustomForm& form, int x, int y, TMouseButton button,
                                TShiftState shift) {
  TPoint s = form.ClientToScreen({x, y});
  mouseDownScreen(s.X, s.Y, button, shift);
}

void HeadlessBackend::mouseUp(TCustomForm& form, int x, int y, TMouseButton button,
                              TShiftState shift) {
  TPoint s = form.ClientToScreen({x, y});
  mouseUpScreen(s.X, s.Y, button, shift);
}

void HeadlessBackend::click(TCustomForm& form, int x, int y, TMouseButton button,
                            TShiftState shift) {
  TPoint s = form.ClientToScreen({x, y});
  mouseDownScreen(s.X, s.Y, button, shift);
  mouseUpScreen(s.X, s.Y, button, shift);
}

void HeadlessBackend::click(TControl& control, TMouseButton button) {
  click(control, control.Width() / 2, control.Height() / 2, button);
}

void HeadlessBackend::click(TControl& control, int x, int y, TMouseButton button) {
  TPoint s = control.ClientToScreen({x, y});
  mouseDownScreen(s.X, s.Y, button);
  mouseUpScreen(s.X, s.Y, button);
}

void HeadlessBackend::mouseLeave() {
  cursor_ = {-1, -1};
  if (mouseWindow_ != 0 && Find(mouseWindow_) != nullptr) {
    Deliver({EventKind::MouseLeave, mouseWindow_});
  }
  mouseWindow_ = 0;
}

void HeadlessBackend::keyDown(uint16_t key, TShiftState shift) {
  if (focus_ == 0) return;
  Event e{EventKind::KeyDown, focus_};
  e.key = key;
  e.shift = shift;
  Deliver(e);
}

void HeadlessBackend::padDown(TPadButton button) {
  Event e{EventKind::PadDown, 0};
  e.pad = button;
  Deliver(e);
}

void HeadlessBackend::padUp(TPadButton button) {
  Event e{EventKind::PadUp, 0};
  e.pad = button;
  Deliver(e);
}

void HeadlessBackend::pressPad(TPadButton button) {
  padDown(button);
  padUp(button);
}

void HeadlessBackend::keyUp(uint16_t key, TShiftState shift) {
  if (focus_ == 0) return;
  Event e{EventKind::KeyUp, focus_};
  e.key = key;
  e.shift = shift;
  Deliver(e);
}

void HeadlessBackend::pressKey(uint16_t key, TShiftState shift) {
  keyDown(key, shift);
  // Printable keys type their character, as text input does on a desktop.
  bool plain = !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  char ch = 0;
  if (key == ' ') ch = ' ';
  if (key >= '0' && key <= '9') ch = static_cast<char>(key);
  if (key >= 'A' && key <= 'Z') ch = static_cast<char>(shift.Contains(ssShift) ? key : key + 32);
  if (plain && ch != 0) typeText(std::string(1, ch));
  keyUp(key, shift);
}

void HeadlessBackend::typeText(const std::string& text) {
  if (focus_ == 0) return;
  Event e{EventKind::TextInput, focus_};
  e.text = text;
  Deliver(e);
}

void HeadlessBackend::requestClose(TCustomForm& form) {
  Deliver({EventKind::CloseRequest, HandleOf(form)});
}

void HeadlessBackend::requestQuit() {
  Deliver({EventKind::Quit, 0});
}

void HeadlessBackend::setWindowState(TCustomForm& form, TWindowState state) {
  Window* w = Find(HandleOf(form));
  if (w == nullptr) return;
  w->state = state;
  Event e{EventKind::StateChanged, HandleOf(form)};
  e.state = state;
  Deliver(e);
}

void HeadlessBackend::changeScale(TCustomForm& form, double scale, const TRect& suggested) {
  Event e{EventKind::ScaleChanged, HandleOf(form), static_cast<int>(std::lround(96.0 * scale))};
  e.bounds = suggested;
  Deliver(e);
}

// --- inspection ------------------------------------------------------------------------------

const TBitmap& HeadlessBackend::surface(const TCustomForm& form) {
  Settle();
  const Window* w = Find(HandleOf(form));
  if (w == nullptr) throw EInvalidOperation("The form has no window");
  return *w->presented;
}

const TBitmap& HeadlessBackend::presented(const TCustomForm& form) const {
  const Window* w = Find(HandleOf(form));
  if (w == nullptr) throw EInvalidOperation("The form has no window");
  return *w->presented;
}

TColor HeadlessBackend::pixel(const TCustomForm& form, int x, int y) {
  const TBitmap& s = surface(form);
  TPoint o = form.ClientOffset();
  int wx = x + o.X, wy = y + o.Y;
  if (wx < 0 || wy < 0 || wx >= s.Width() || wy >= s.Height()) return clBlack;
  return s.ColorAt(wx, wy);
}

void HeadlessBackend::SaveToPNG(const TCustomForm& form, const std::string& path) {
  SavePng(surface(form), path);
}

bool HeadlessBackend::isVisible(const TCustomForm& form) const {
  const Window* w = Find(HandleOf(form));
  return w != nullptr && w->visible;
}

bool HeadlessBackend::isEnabled(const TCustomForm& form) const {
  const Window* w = Find(HandleOf(form));
  return w != nullptr && w->enabled;
}

TRect HeadlessBackend::windowBounds(const TCustomForm& form) const {
  const Window* w = Find(HandleOf(form));
  return w != nullptr ? w->bounds : TRect{};
}

}  // namespace vark
