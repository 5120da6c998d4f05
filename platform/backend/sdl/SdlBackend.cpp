#include "platform/backend/sdl/SdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/backend/sdl/ConnectionLoss.h"
#include "platform/backend/sdl/DescriptorWatch.h"
#include "platform/backend/sdl/Gamepad.h"
#include "platform/backend/sdl/TerminationSignals.h"
#include "platform/backend/sdl/X11Window.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Keys.h"

namespace vark {

namespace {

// Timers never tick faster than this: the window's animations count their
// length in ticks of the classic desktop timer (about 64 a second).
constexpr int kTimerFloorMs = 16;

TShiftState ModState(SDL_Keymod mod) {
  TShiftState s;
  if (mod & KMOD_SHIFT) s.Include(ssShift);
  if (mod & KMOD_CTRL) s.Include(ssCtrl);
  if (mod & KMOD_ALT) s.Include(ssAlt);
  return s;
}

TShiftState ButtonState(uint32_t buttons) {
  TShiftState s;
  if (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) s.Include(ssLeft);
  if (buttons & SDL_BUTTON(SDL_BUTTON_RIGHT)) s.Include(ssRight);
  if (buttons & SDL_BUTTON(SDL_BUTTON_MIDDLE)) s.Include(ssMiddle);
  return s;
}

uint16_t VirtualKey(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return static_cast<uint16_t>('A' + (k - SDLK_a));
  if (k >= SDLK_0 && k <= SDLK_9) return static_cast<uint16_t>('0' + (k - SDLK_0));
  if (k >= SDLK_F1 && k <= SDLK_F12) return static_cast<uint16_t>(VK_F1 + (k - SDLK_F1));
  switch (k) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_END:
      return VK_END;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_INSERT:
      return VK_INSERT;
    case SDLK_DELETE:
      return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
      return VK_MENU;
    case SDLK_MENU:
      return VK_APPS;
    default:
      return 0;
  }
}

SDL_SystemCursor SystemCursor(TCursor c) {
  switch (c) {
    case crHandPoint:
      return SDL_SYSTEM_CURSOR_HAND;
    case crIBeam:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case crHourGlass:
      return SDL_SYSTEM_CURSOR_WAIT;
    case crAppStart:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    case crCross:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case crSizeAll:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    case crSizeNS:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case crSizeWE:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case crSizeNESW:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    case crSizeNWSE:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case crNo:
      return SDL_SYSTEM_CURSOR_NO;
    default:
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

class SdlBackend : public Backend {
 public:
  SdlBackend() {
    // The loop decides when the program ends, not the last window closing.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The first click on an inactive window is a click, as on the classic desktop.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // An open launcher is no reason to keep the screen from blanking or locking.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Termination signals are ours (TerminationSignals): SDL's handlers cover
    // only two of them and wake a waiting loop only by chance.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Before SDL_Init, so that SDL keeps it from the first request to the last.
    sdl::InstallX11ErrorHandler();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      throw EOSError(std::string("Cannot open the display: ") + SDL_GetError(), 0);
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    wayland_ = driver != nullptr && std::strcmp(driver, "wayland") == 0;
    x11_ = driver != nullptr && std::strcmp(driver, "x11") == 0;
    if (!x11_ && !wayland_ && std::getenv("SDL_VIDEODRIVER") == nullptr) {
      // Without a display SDL falls back to drivers that show nothing: the
      // program would run on, unseen, instead of saying what is wrong.
      SDL_Quit();
      throw EOSError(
          "Cannot open the display: neither DISPLAY (X11) nor WAYLAND_DISPLAY "
          "names one",
          0);
    }
    // On X11 a window SDL presents itself gets the display's shared-memory
    // images rather than a GL texture per frame, which costs more than the
    // frame (and runs on the CPU under Xvfb). Wayland has no such path: there
    // SDL's own choice stands, or no window would ever be drawn.
    if (x11_) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (x11_)
      sdl::SetX11ConnectionLost([this](const std::string& display) { LoseDisplay(display); });
    signals_ = std::make_unique<sdl::TerminationSignals>();
    scale_ = ReadScale();
    SDL_StartTextInput();
    // X's own key events, for a screen reader that listens to the keyboard
    // (Event::native).
    if (x11_) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    pads_ = std::make_unique<sdl::Gamepads>();
    if (pads_->Ready()) AddWaitSource(*pads_);
  }

  ~SdlBackend() override {
    watch_.reset();
    pads_.reset();
    signals_.reset();
    // A connection that breaks from here on ends the process at once.
    if (x11_) sdl::SetX11ConnectionLost(nullptr);
    for (auto& [id, w] : windows_) {
      w.presenter.reset();
      SDL_DestroyWindow(w.window);
    }
    windows_.clear();
    for (auto& [c, cursor] : cursors_)
      SDL_FreeCursor(cursor);
    SDL_Quit();
  }

  const char* Name() const override { return "sdl"; }

  WindowHandle CreateWindow(const WindowSpec& params) override {
    uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    if (!params.taskbar) flags |= SDL_WINDOW_SKIP_TASKBAR;
    SDL_Window* window = SDL_CreateWindow(params.title.c_str(), params.bounds.Left,
                                          params.bounds.Top, std::max(1, params.bounds.Width()),
                                          std::max(1, params.bounds.Height()), flags);
    if (window == nullptr) {
      throw EOSError(std::string("Cannot create a window: ") + SDL_GetError(), 0);
    }
    WindowHandle id = SDL_GetWindowID(window);
    Win& w = windows_[id];
    w.window = window;
    w.bounds = params.bounds;
    if (!wmChecked_ && x11_) {
      wmChecked_ = true;
      wm_ = x11::WindowManagerRunning(window);
    }
    if (params.owner != 0) {
      if (Win* owner = Find(params.owner)) SDL_SetWindowModalFor(window, owner->window);
    }
    if (wayland_) SDL_SetWindowHitTest(window, &SdlBackend::HitTest, this);
    if (x11_) w.presenter = x11::ImagePresenter::Create(window);
    return id;
  }

  void DestroyWindow(WindowHandle window) override {
    Win* w = Find(window);
    if (w == nullptr) return;
    if (moving_ == window) EndManualMove();
    w->presenter.reset();
    SDL_DestroyWindow(w->window);
    windows_.erase(window);
  }

  void SetVisible(WindowHandle window, bool visible) override {
    Win* w = Find(window);
    if (w == nullptr) return;
    if (visible) {
      SDL_ShowWindow(w->window);
      Activate(window);
    } else {
      SDL_HideWindow(w->window);
    }
  }

  void SetTitle(WindowHandle window, const std::string& title) override {
    if (Win* w = Find(window)) SDL_SetWindowTitle(w->window, title.c_str());
  }

  void SetBounds(WindowHandle window, const TRect& bounds) override {
    Win* w = Find(window);
    if (w == nullptr) return;
    if (bounds.Left != w->bounds.Left || bounds.Top != w->bounds.Top) {
      Remember(w->pendingMoves, {bounds.Left, bounds.Top});
      SDL_SetWindowPosition(w->window, bounds.Left, bounds.Top);
    }
    if (bounds.Width() != w->bounds.Width() || bounds.Height() != w->bounds.Height()) {
      Remember(w->pendingSizes, {bounds.Width(), bounds.Height()});
      SDL_SetWindowSize(w->window, std::max(1, bounds.Width()), std::max(1, bounds.Height()));
    }
    w->bounds = bounds;
  }

  void SetState(WindowHandle window, TWindowState state) override {
    Win* w = Find(window);
    if (w == nullptr) return;
    if (state == wsMaximized) SDL_MaximizeWindow(w->window);
    if (state == wsMinimized) SDL_MinimizeWindow(w->window);
    if (state == wsNormal) SDL_RestoreWindow(w->window);
  }

  bool ManagesWindowState() const override { return wm_ || wayland_; }

  void Activate(WindowHandle window) override {
    Win* w = Find(window);
    if (w == nullptr) return;
    SDL_RaiseWindow(w->window);
    // Without a window manager nobody else hands out the keyboard.
    if (x11_ && !wm_) SDL_SetWindowInputFocus(w->window);
  }

  void Present(WindowHandle window, const TBitmap& surface, std::span<const TRect> rects) override {
    Win* w = Find(window);
    if (w == nullptr) return;
    if (w->presenter) {
      w->presenter->Put(surface.Bits(), surface.Width(), surface.Height(), rects);
      return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(w->window);
    if (target == nullptr) return;
    TRect limit =
        Rect(0, 0, std::min(surface.Width(), target->w), std::min(surface.Height(), target->h));
    std::vector<SDL_Rect> update;
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
    bool direct = target->format->BytesPerPixel == 4 && target->format->Rmask == 0x00FF0000 &&
                  target->format->Gmask == 0x0000FF00 && target->format->Bmask == 0x000000FF;
    for (const TRect& rect : rects) {
      TRect r = IntersectRect(rect, limit);
      if (r.IsEmpty()) continue;
      auto* dst = static_cast<uint8_t*>(target->pixels);
      if (direct) {
        // Our pixels are 0xAARRGGBB words, the layout of the usual X surfaces.
        for (int y = r.Top; y < r.Bottom; ++y) {
          std::memcpy(dst + static_cast<size_t>(y) * target->pitch + r.Left * 4,
                      surface.ScanLine(y) + r.Left, static_cast<size_t>(r.Width()) * 4);
        }
      } else {
        SDL_ConvertPixels(r.Width(), r.Height(), SDL_PIXELFORMAT_ARGB8888,
                          surface.ScanLine(r.Top) + r.Left, surface.Width() * 4,
                          target->format->format,
                          dst + static_cast<size_t>(r.Top) * target->pitch +
                              r.Left * target->format->BytesPerPixel,
                          target->pitch);
      }
      update.push_back({r.Left, r.Top, r.Width(), r.Height()});
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    if (!update.empty()) {
      SDL_UpdateWindowSurfaceRects(w->window, update.data(), static_cast<int>(update.size()));
    }
  }

  void SetDragArea(WindowHandle window, std::function<bool(TPoint)> isCaption) override {
    if (Win* w = Find(window)) w->isCaption = std::move(isCaption);
  }

  void BeginMove(WindowHandle window) override {
    Win* w = Find(window);
    if (w == nullptr) return;
    int gx = 0, gy = 0;
    const uint32_t buttons = SDL_GetGlobalMouseState(&gx, &gy);
    // The window follows the pointer while the button that started the drag
    // is held, whichever it is: the left one first.
    moveButton_ = 0;
    for (uint8_t b : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE}) {
      if (buttons & SDL_BUTTON(b)) {
        moveButton_ = b;
        break;
      }
    }
    if (moveButton_ == 0) return;
    if (x11_ && wm_) {
      SDL_CaptureMouse(SDL_FALSE);
      x11::StartMove(w->window, gx, gy, moveButton_);
      handedOverRelease_ = true;
      return;
    }
    if (wayland_) return;  // only the title band's hit test can move a window there
    // No window manager: move the window ourselves while the button is held.
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(w->window, &wx, &wy);
    moving_ = window;
    moveGrab_ = {gx - wx, gy - wy};
    SDL_CaptureMouse(SDL_TRUE);
  }

  void SetCursor(TCursor cursor) override {
    if (cursor == crNone) {
      SDL_ShowCursor(SDL_DISABLE);
      return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    SDL_SystemCursor id = SystemCursor(cursor);
    SDL_Cursor*& c = cursors_[id];
    if (c == nullptr) c = SDL_CreateSystemCursor(id);
    if (c != nullptr) SDL_SetCursor(c);
  }

  void SetMouseCapture(bool capture) override {
    if (moving_ == 0) SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
  }

  uint64_t Now() const override { return SDL_GetTicks64(); }

  bool WaitEvent(Event& event, int timeoutMs) override {
    if (pads_) {
      const int untilRead = pads_->Update(ApplicationActive(), Now(), synthesized_);
      if (untilRead >= 0 && (timeoutMs < 0 || untilRead < timeoutMs)) timeoutMs = untilRead;
    }
    if (!synthesized_.empty()) {
      event = std::move(synthesized_.front());
      synthesized_.pop_front();
      return true;
    }
    if (moving_ != 0) {
      // While we move a window ourselves, follow the pointer at the timer's pace
      // even when no motion event comes.
      if (timeoutMs < 0 || timeoutMs > kTimerFloorMs) timeoutMs = kTimerFloorMs;
      FollowPointer();
      if (!synthesized_.empty()) return WaitEvent(event, 0);
    }
    SDL_Event e;
    if (!WaitSdl(e, timeoutMs)) return false;
    event = Translate(e);
    return true;
  }

  bool AddWaitSource(WaitSource& source) override {
    if (!watch_) {
      bell_ = SDL_RegisterEvents(1);
      if (bell_ == static_cast<uint32_t>(-1)) return false;
      watch_ = std::make_unique<sdl::DescriptorWatch>([type = bell_] {
        SDL_Event e{};
        e.type = type;
        SDL_PushEvent(&e);
      });
    }
    watch_->Add(source);
    return true;
  }

  void RemoveWaitSource(WaitSource& source) override {
    if (watch_) watch_->Remove(source);
  }

  void Sleep(int ms) override { SDL_Delay(static_cast<uint32_t>(std::max(0, ms))); }
  int TimerFloor() const override { return kTimerFloorMs; }

  TSize ScreenSize() const override {
    SDL_Rect r{0, 0, 1920, 1080};
    SDL_GetDisplayBounds(0, &r);
    return {r.w, r.h};
  }

  TRect WorkArea() const override {
    SDL_Rect r{0, 0, 1920, 1080};
    if (SDL_GetDisplayUsableBounds(0, &r) != 0) SDL_GetDisplayBounds(0, &r);
    return Bounds(r.x, r.y, r.w, r.h);
  }

  std::vector<TRect> Monitors() const override {
    std::vector<TRect> screens;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
      SDL_Rect r;
      if (SDL_GetDisplayBounds(i, &r) == 0) screens.push_back(Bounds(r.x, r.y, r.w, r.h));
    }
    if (screens.empty()) return Backend::Monitors();
    return screens;
  }

  double Scale() const override { return scale_; }

  bool ApplicationActive() const override {
    SDL_Window* focus = SDL_GetKeyboardFocus();
    return focus != nullptr && windows_.count(SDL_GetWindowID(focus)) != 0;
  }

 private:
  struct Win {
    SDL_Window* window = nullptr;
    // X11: shows the back buffer without SDL's window surface (null elsewhere).
    std::unique_ptr<x11::ImagePresenter> presenter;
    TRect bounds;
    std::function<bool(TPoint)> isCaption;
    // Our own moves and resizes, whose echoes from the display are not news.
    std::deque<TPoint> pendingMoves;
    std::deque<TPoint> pendingSizes;
  };

  Win* Find(WindowHandle id) {
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second;
  }

  static void Remember(std::deque<TPoint>& pending, TPoint value) {
    pending.push_back(value);
    if (pending.size() > 32) pending.pop_front();
  }

  // True when value is the echo of one of our own requests (dropping it and the
  // older ones before it).
  static bool IsEcho(std::deque<TPoint>& pending, TPoint value) {
    auto it = std::find(pending.begin(), pending.end(), value);
    if (it == pending.end()) return false;
    pending.erase(pending.begin(), it + 1);
    return true;
  }

  static SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* area, void* data) {
    auto* self = static_cast<SdlBackend*>(data);
    Win* w = self->Find(SDL_GetWindowID(window));
    if (w != nullptr && w->isCaption && w->isCaption({area->x, area->y})) {
      return SDL_HITTEST_DRAGGABLE;
    }
    return SDL_HITTEST_NORMAL;
  }

  // The application ends the process; should it not, this does.
  [[noreturn]] void LoseDisplay(const std::string& display) {
    if (OnDisplayLost) OnDisplayLost(display);
    std::_Exit(1);
  }

  double ReadScale() const {
    if (const char* env = std::getenv("VARK_SCALE")) {
      double s = std::atof(env);
      if (s >= 0.5 && s <= 4.0) return s;
    }
    if (x11_) {
      // Layouts scale in quarter steps: 1.25 at 120 dpi, 1.5 at 144.
      return std::max(1.0, std::round(x11::TextScale() * 4.0) / 4.0);
    }
    return 1.0;
  }

  void FollowPointer() {
    Win* w = Find(moving_);
    if (w == nullptr) {
      moving_ = 0;
      return;
    }
    int gx = 0, gy = 0;
    uint32_t buttons = SDL_GetGlobalMouseState(&gx, &gy);
    TPoint pos{gx - moveGrab_.X, gy - moveGrab_.Y};
    if (pos != TPoint{w->bounds.Left, w->bounds.Top}) {
      int width = w->bounds.Width(), height = w->bounds.Height();
      Remember(w->pendingMoves, pos);
      SDL_SetWindowPosition(w->window, pos.X, pos.Y);
      w->bounds = Bounds(pos.X, pos.Y, width, height);
      synthesized_.push_back({EventKind::Moved, moving_, pos.X, pos.Y});
    }
    if (!(buttons & SDL_BUTTON(moveButton_))) EndManualMove();
  }

  void EndManualMove() {
    moving_ = 0;
    SDL_CaptureMouse(SDL_FALSE);
  }

  static int Wait(SDL_Event& e, int timeoutMs) {
    return timeoutMs < 0    ? SDL_WaitEvent(&e)
           : timeoutMs == 0 ? SDL_PollEvent(&e)
                            : SDL_WaitEventTimeout(&e, timeoutMs);
  }

  // SDL's wait, ended also by the wait sources' descriptors. Once a source
  // has handled something the loop takes its turn, as after an event.
  bool WaitSdl(SDL_Event& e, int timeoutMs) {
    if (!watch_ || watch_->Empty()) return Wait(e, timeoutMs) != 0;
    const int limit = watch_->Prepare();
    const int wait = limit < 0 ? timeoutMs : timeoutMs < 0 ? limit : std::min(limit, timeoutMs);
    const bool got = Wait(e, wait) != 0;
    watch_->Handle();
    return got && e.type != bell_;
  }

  Event Translate(const SDL_Event& e) {
    Event out;
    switch (e.type) {
      case SDL_QUIT:
        // SDL's answer to a broken Wayland connection, else a signal's.
        if (wayland_ && !windows_.empty() &&
            sdl::WaylandConnectionLost(windows_.begin()->second.window)) {
          LoseDisplay(sdl::WaylandDisplayName());
        }
        out.kind = EventKind::Quit;
        break;
      case SDL_MOUSEMOTION:
        if (moving_ != 0) {
          FollowPointer();
          break;
        }
        out.kind = EventKind::MouseMove;
        out.window = e.motion.windowID;
        out.x = e.motion.x;
        out.y = e.motion.y;
        out.shift = ModState(SDL_GetModState()) + ButtonState(e.motion.state);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        bool down = e.type == SDL_MOUSEBUTTONDOWN;
        if (handedOverRelease_ && e.button.button == moveButton_) {
          // The release StartMove sent once the manager took the move: the
          // press was the start of a move, not of a click. (A press first
          // means it came some other way; the next release is real then.)
          handedOverRelease_ = false;
          if (!down) break;
        }
        if (moving_ != 0) {
          if (!down && e.button.button == moveButton_) {
            FollowPointer();
            EndManualMove();
          }
          break;
        }
        if (e.button.button == SDL_BUTTON_LEFT) {
          out.button = mbLeft;
        } else if (e.button.button == SDL_BUTTON_RIGHT) {
          out.button = mbRight;
        } else if (e.button.button == SDL_BUTTON_MIDDLE) {
          out.button = mbMiddle;
        } else {
          break;
        }
        out.kind = down ? EventKind::MouseDown : EventKind::MouseUp;
        out.window = e.button.windowID;
        out.x = e.button.x;
        out.y = e.button.y;
        out.shift = ModState(SDL_GetModState()) + ButtonState(SDL_GetMouseState(nullptr, nullptr));
        break;
      }
      case SDL_MOUSEWHEEL:
        out.kind = EventKind::MouseWheel;
        out.window = e.wheel.windowID;
        out.wheel = e.wheel.y;
        break;
      case SDL_SYSWMEVENT:
        // The X event SDL is about to turn into a key event comes first.
        if (x11::NativeKeyOf(*e.syswm.msg, true, nextKey_)) nextKeyPressed_ = true;
        if (x11::NativeKeyOf(*e.syswm.msg, false, nextKey_)) nextKeyPressed_ = false;
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        // The X event just before it, unless that was something else (a
        // release SDL dropped as part of an auto-repeat is followed by the
        // repeated press).
        NativeKey native = std::exchange(nextKey_, {});
        if (nextKeyPressed_ != (e.type == SDL_KEYDOWN)) native = {};
        out.key = VirtualKey(e.key.keysym.sym);
        if (out.key == 0 && native.symbol == 0) break;
        out.kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
        out.window = e.key.windowID;
        out.shift = ModState(static_cast<SDL_Keymod>(e.key.keysym.mod));
        out.native = std::move(native);
        break;
      }
      case SDL_TEXTINPUT:
        out.kind = EventKind::TextInput;
        out.window = e.text.windowID;
        out.text = e.text.text;
        break;
      case SDL_WINDOWEVENT:
        TranslateWindowEvent(e.window, out);
        break;
      default:
        break;
    }
    return out;
  }

  void TranslateWindowEvent(const SDL_WindowEvent& e, Event& out) {
    out.window = e.windowID;
    Win* w = Find(e.windowID);
    switch (e.event) {
      case SDL_WINDOWEVENT_CLOSE:
        out.kind = EventKind::CloseRequest;
        break;
      case SDL_WINDOWEVENT_MOVED:
        if (w == nullptr || IsEcho(w->pendingMoves, {e.data1, e.data2})) break;
        if (moving_ == e.windowID) break;
        w->bounds = Bounds(e.data1, e.data2, w->bounds.Width(), w->bounds.Height());
        out.kind = EventKind::Moved;
        out.x = e.data1;
        out.y = e.data2;
        break;
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (w == nullptr || IsEcho(w->pendingSizes, {e.data1, e.data2})) break;
        w->bounds = Bounds(w->bounds.Left, w->bounds.Top, e.data1, e.data2);
        out.kind = EventKind::Resized;
        out.x = e.data1;
        out.y = e.data2;
        break;
      case SDL_WINDOWEVENT_MAXIMIZED:
        out.kind = EventKind::StateChanged;
        out.state = wsMaximized;
        break;
      case SDL_WINDOWEVENT_MINIMIZED:
        out.kind = EventKind::StateChanged;
        out.state = wsMinimized;
        break;
      case SDL_WINDOWEVENT_RESTORED:
        out.kind = EventKind::StateChanged;
        out.state = wsNormal;
        break;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        out.kind = EventKind::FocusGained;
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        out.kind = EventKind::FocusLost;
        break;
      case SDL_WINDOWEVENT_LEAVE:
        out.kind = EventKind::MouseLeave;
        break;
      case SDL_WINDOWEVENT_SHOWN:
      case SDL_WINDOWEVENT_EXPOSED:
        out.kind = EventKind::Exposed;
        break;
      default:
        break;
    }
  }

  std::map<WindowHandle, Win> windows_;
  std::map<SDL_SystemCursor, SDL_Cursor*> cursors_;
  std::unique_ptr<sdl::TerminationSignals> signals_;
  // The wait sources' descriptors, and the event that rings when one is ready.
  std::unique_ptr<sdl::DescriptorWatch> watch_;
  std::unique_ptr<sdl::Gamepads> pads_;
  uint32_t bell_ = 0;
  std::deque<Event> synthesized_;
  bool wayland_ = false;
  bool x11_ = false;
  // The last X key event seen, for the SDL key event that follows it.
  NativeKey nextKey_;
  bool nextKeyPressed_ = false;
  bool wm_ = false;
  bool wmChecked_ = false;
  double scale_ = 1.0;
  WindowHandle moving_ = 0;
  TPoint moveGrab_;
  uint8_t moveButton_ = 0;          // the SDL button that drags the window
  bool handedOverRelease_ = false;  // a move went to the manager; its release is ours
};

}  // namespace

std::unique_ptr<Backend> CreateSdlBackend() {
  return std::make_unique<SdlBackend>();
}

}  // namespace vark
