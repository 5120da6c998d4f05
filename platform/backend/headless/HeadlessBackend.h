// The headless backend: windows in memory on a virtual screen (1920 × 1080 by
// default), a virtual clock, and synthetic input, for tests and screenshots.
//
// Tests install a fresh one per test and drive it:
//
//   vark::HeadlessBackend& ui = vark::HeadlessBackend::Install();
//   auto form = MakeForm<TForm>(nullptr);
//   ... build controls ...
//   form->Show();
//   ui.click(*form, 20, 30);          // client coordinates of the form
//   ui.advance(100);                  // 100 ms of virtual time: due timers tick in order
//   EXPECT_EQ(ui.pixel(*form, 5, 5), clRed);
//
// Input is dispatched at once, as the event loop would, and the windows are
// painted and presented after each call. A modal loop (ShowModal) that would
// wait calls OnIdle first (where a test clicks the dialog's button), then
// moves the virtual clock to the next timer deadline; a modal loop with
// nothing left to happen throws HeadlessStall instead of hanging.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/graphics/Color.h"

class TCustomForm;
class TControl;
class TTimer;

namespace vark {

// Thrown by a modal loop on the headless backend that has nothing left to
// wait for. Not a std::exception, so the loop's error report lets it through.
struct HeadlessStall {
  std::string what;
};

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  // Installs a fresh headless backend into the application (destroying every
  // existing form and timer) and returns it.
  static HeadlessBackend& Install();

  // --- the virtual clock ---------------------------------------------------------------
  uint64_t now() const { return now_; }
  // Moves the clock on by ms, ticking every timer that falls due on the way, in
  // deadline order, and painting after each tick.
  void advance(int ms);
  // Ticks one timer now, as the event loop does.
  void tick(TTimer& timer);

  // --- synthetic input (client coordinates of the form) --------------------------------
  void mouseMove(TCustomForm& form, int x, int y, TShiftState shift = {});
  void mouseDown(TCustomForm& form, int x, int y, TMouseButton button = mbLeft,
                 TShiftState shift = {});
  void mouseUp(TCustomForm& form, int x, int y, TMouseButton button = mbLeft,
               TShiftState shift = {});
  // Move, press and release at (x, y).
  void click(TCustomForm& form, int x, int y, TMouseButton button = mbLeft, TShiftState shift = {});
  // The same at a point of a control (its client coordinates; default: its centre).
  void click(TControl& control, TMouseButton button = mbLeft);
  void click(TControl& control, int x, int y, TMouseButton button = mbLeft);
  // Screen coordinates, for dragging windows about.
  void mouseMoveScreen(int x, int y, TShiftState shift = {});
  void mouseDownScreen(int x, int y, TMouseButton button = mbLeft, TShiftState shift = {});
  void mouseUpScreen(int x, int y, TMouseButton button = mbLeft, TShiftState shift = {});
  // The pointer leaves every window.
  void mouseLeave();
  TPoint cursorPos() const { return cursor_; }
  // Keys go to the active window. pressKey is down, its character, up.
  void keyDown(uint16_t key, TShiftState shift = {});
  void keyUp(uint16_t key, TShiftState shift = {});
  void pressKey(uint16_t key, TShiftState shift = {});
  void typeText(const std::string& text);
  // A gamepad's button, as a real backend reports it (pads belong to no
  // window). pressPad is down, then up.
  void padDown(TPadButton button);
  void padUp(TPadButton button);
  void pressPad(TPadButton button);
  // The window manager's close request (the title bar's close button, Alt+F4).
  void requestClose(TCustomForm& form);
  // The system asks the program to end (a termination signal).
  void requestQuit();
  // The window manager maximises, minimises or restores the window.
  void setWindowState(TCustomForm& form, TWindowState state);
  // The window was dragged to a screen of another scale; the desktop suggests
  // where it goes (outer bounds).
  void changeScale(TCustomForm& form, double scale, const TRect& suggested);

  // --- inspection -------------------------------------------------------------------
  // These first let the event loop finish what is pending (paint, present).
  // The window as last presented (outer, frame included).
  const TBitmap& surface(const TCustomForm& form);
  // A pixel of the presented window, client coordinates, 0x00BBGGRR.
  TColor pixel(const TCustomForm& form, int x, int y);
  // The window as presented, without finishing anything first.
  const TBitmap& presented(const TCustomForm& form) const;
  // Writes the window (outer, frame included) to a PNG file.
  void SaveToPNG(const TCustomForm& form, const std::string& path);
  // The cursor the pointer shows.
  TCursor cursor() const { return shownCursor_; }
  bool mouseCaptured() const { return captured_; }
  // Frames presented so far, and the rectangles of the last one.
  int presentCount() const { return presentCount_; }
  const std::vector<TRect>& lastPresented() const { return lastPresented_; }
  // Every wait the event loop asked for (-1: without limit), for the idle tests.
  const std::vector<int>& waits() const { return waits_; }
  bool isVisible(const TCustomForm& form) const;
  // False while a modal window keeps the input from it.
  bool isEnabled(const TCustomForm& form) const;
  TRect windowBounds(const TCustomForm& form) const;

  // --- settings ---------------------------------------------------------------------
  void setScreenSize(int width, int height) { screen_ = {width, height}; }
  // Where the primary screen's top left corner lies on the desktop (0, 0 by
  // default; elsewhere when another screen is left of or above it).
  void setPrimaryOrigin(int x, int y) { origin_ = {x, y}; }
  // Screens beside the primary one (desktop coordinates), and their scales
  // where they differ from the primary one's.
  void setExtraScreens(std::vector<TRect> screens, std::vector<double> scales = {}) {
    extraScreens_ = std::move(screens);
    extraScales_ = std::move(scales);
  }
  // Each screen's work area, in the order of Monitors() (by default the
  // whole screens: no task bar).
  void setWorkAreas(std::vector<TRect> areas) { workAreas_ = std::move(areas); }
  void setScale(double scale) { scale_ = scale; }
  void setApplicationActive(bool active);
  // The shortest timer interval (1 ms: timers tick exactly as asked).
  void setTimerFloor(int ms) { timerFloor_ = ms; }
  // How far apart the turns come, as while the system moves a window (0: the
  // loop wakes at each deadline, as by default).
  void setTurnPeriod(int ms) { turnPeriod_ = ms; }
  // Called when a (modal) loop would wait and no input is queued.
  std::function<void()> OnIdle;
  // Virtual time a modal loop may run without input before it stalls.
  void setStallLimit(int ms) { stallLimitMs_ = ms; }

  // --- Backend ---------------------------------------------------------------------
  const char* Name() const override { return "headless"; }
  WindowHandle CreateWindow(const WindowSpec& params) override;
  void DestroyWindow(WindowHandle window) override;
  void SetVisible(WindowHandle window, bool visible) override;
  void SetTitle(WindowHandle window, const std::string& title) override;
  void SetBounds(WindowHandle window, const TRect& bounds) override;
  void SetState(WindowHandle window, TWindowState state) override;
  bool ManagesWindowState() const override { return false; }
  void Activate(WindowHandle window) override;
  void Present(WindowHandle window, const TBitmap& surface, std::span<const TRect> rects) override;
  void SetDragArea(WindowHandle, std::function<bool(TPoint)>) override {}
  void BeginMove(WindowHandle window) override;
  void SetModal(WindowHandle window, bool modal) override;
  void SetCursor(TCursor cursor) override { shownCursor_ = cursor; }
  void SetMouseCapture(bool capture) override { captured_ = capture; }
  uint64_t Now() const override { return now_; }
  bool WaitEvent(Event& event, int timeoutMs) override;
  void Sleep(int ms) override { now_ += ms > 0 ? static_cast<uint64_t>(ms) : 0; }
  int TimerFloor() const override { return timerFloor_; }
  int TurnPeriod() const override { return turnPeriod_; }
  TSize ScreenSize() const override { return screen_; }
  TRect WorkArea() const override { return WorkAreas().front(); }
  std::vector<TRect> WorkAreas() const override {
    return workAreas_.empty() ? Monitors() : workAreas_;
  }
  std::vector<TRect> Monitors() const override {
    std::vector<TRect> screens{Bounds(origin_.X, origin_.Y, screen_.cx, screen_.cy)};
    screens.insert(screens.end(), extraScreens_.begin(), extraScreens_.end());
    return screens;
  }
  double Scale() const override { return scale_; }
  double ScaleAt(const TRect& bounds) const override;
  bool ApplicationActive() const override;

 private:
  struct Window {
    std::string title;
    TRect bounds;
    bool visible = false;
    bool enabled = true;
    TWindowState state = wsNormal;
    std::unique_ptr<TBitmap> presented;  // what the screen shows
  };
  Window* Find(WindowHandle handle);
  const Window* Find(WindowHandle handle) const;
  WindowHandle HandleOf(const TCustomForm& form) const;
  // The visible window at a screen point, topmost first.
  WindowHandle WindowAt(TPoint screen) const;
  // The topmost visible window that takes input, other than except.
  WindowHandle TopmostEnabled(WindowHandle except) const;
  // Dispatches one event as the event loop would, then handles what is due.
  void Deliver(const Event& event);
  void Settle();
  void MouseEvent(EventKind kind, TPoint screen, TMouseButton button, TShiftState shift);

  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> zorder_;  // bottom first
  WindowHandle nextHandle_ = 1;
  WindowHandle focus_ = 0;
  WindowHandle mouseWindow_ = 0;      // the window under the pointer (or captured)
  WindowHandle moving_ = 0;           // the window being dragged
  TPoint moveGrab_;                   // the pointer's offset in the dragged window
  TMouseButton moveButton_ = mbLeft;  // the button that drags it
  std::deque<Event> queue_;
  uint64_t activity_ = 0;  // counts synthetic input, so an idle wait can tell
  uint64_t now_ = 0;
  uint64_t lastInput_ = 0;
  TPoint cursor_{-1, -1};
  TShiftState buttons_;
  TSize screen_{1920, 1080};
  TPoint origin_{0, 0};
  std::vector<TRect> extraScreens_;
  std::vector<double> extraScales_;
  std::vector<TRect> workAreas_;
  // Each running modal window and the windows it took the input from.
  std::vector<std::pair<WindowHandle, std::vector<WindowHandle>>> modal_;
  double scale_ = 1.0;
  bool appActive_ = true;
  int timerFloor_ = 1;
  int turnPeriod_ = 0;
  int stallLimitMs_ = 600000;
  bool captured_ = false;
  TCursor shownCursor_ = crDefault;
  int presentCount_ = 0;
  std::vector<TRect> lastPresented_;
  std::vector<int> waits_;
};

}  // namespace vark
