// The windowing backend under the toolkit: native windows, input events, the
// clock and the screen. The toolkit (platform/ui) talks only to this interface;
// `sdl` opens real windows and `headless` keeps them in memory for tests.
//
// Coordinates: window bounds are outer rectangles in screen pixels; mouse
// events carry positions in the window's own pixels (the outer window, since
// every window is undecorated and the toolkit draws its frame).
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/graphics/Types.h"
#include "platform/ui/UITypes.h"

class TBitmap;

namespace vark {

using WindowHandle = uint32_t;  // 0: no window

enum class EventKind : uint8_t {
  None,
  MouseMove,
  MouseDown,
  MouseUp,
  MouseWheel,
  MouseLeave,  // the pointer left the window
  KeyDown,
  KeyUp,
  TextInput,     // characters typed (UTF-8)
  CloseRequest,  // the window manager's close
  Moved,         // x, y: the window's new position
  Resized,       // x, y: the window's new outer size
  StateChanged,  // state: minimised, maximised or restored
  FocusGained,
  FocusLost,
  Exposed,       // the window must be presented again
  Quit,          // the session ends
  ScaleChanged,  // x: the window's new pixels per inch; bounds: where it goes
  CaptureLost,   // the system took the mouse away (another window, a prompt)
  PadDown,       // pad: a gamepad button went down (window 0: pads belong to no window)
  PadUp,         // pad: it came up, or its pad went away or stopped being read
};

// A key as the desktop's own input system names it, for assistive technology
// that listens to the keyboard (on X11: the keysym, the key code, the modifier
// mask as it was before the event, the server's time). symbol is 0 where the
// backend cannot tell.
struct NativeKey {
  uint32_t symbol = 0;
  uint32_t code = 0;
  uint32_t modifiers = 0;
  uint32_t time = 0;
  std::string text;  // the character it types, else the symbol's name ("Insert")
};

struct Event {
  Event() = default;
  Event(EventKind k, WindowHandle w, int px = 0, int py = 0) : kind(k), window(w), x(px), y(py) {}

  EventKind kind = EventKind::None;
  WindowHandle window = 0;
  int x = 0;
  int y = 0;
  TMouseButton button = mbLeft;
  uint16_t key = 0;  // virtual key code (Keys.h)
  TShiftState shift;
  TWindowState state = wsNormal;
  int wheel = 0;
  std::string text;
  TRect bounds;          // ScaleChanged: the outer bounds the desktop suggests
  NativeKey native;      // KeyDown, KeyUp
  TPadButton pad = pbA;  // PadDown, PadUp
};

struct WindowSpec {
  std::string title;
  TRect bounds;            // outer, screen coordinates
  bool taskbar = true;     // shows on the task bar
  WindowHandle owner = 0;  // a dialog's owner window
  // What the system's window menu, its keys and the task bar may do with the
  // window (the form's BorderIcons): have the menu at all (and close),
  // minimise, maximise. A running modal window is never minimised.
  bool systemMenu = true;
  bool minimizeBox = true;
  bool maximizeBox = false;
};

// Something besides the display that the event loop waits on: a connection
// with descriptors of its own (the accessibility bus). Before each wait the
// source names the descriptors to watch and how long it lets the loop sleep;
// after the wait, whatever ended it, it handles what is ready. Both run on
// the user-interface thread.
class WaitSource {
 public:
  struct Descriptor {
    int fd = -1;
    short events = 0;   // poll(2) flags to wait for
    short revents = 0;  // the flags that came, filled in before Handle
  };
  // Replaces fds by the descriptors to watch; returns the longest wait in
  // milliseconds it allows (0: it has work now; negative: no limit).
  virtual int Prepare(std::vector<Descriptor>& fds) = 0;
  // Handles what is ready; fds are the ones Prepare named, with revents.
  virtual void Handle(std::span<const Descriptor> fds) = 0;

 protected:
  ~WaitSource() = default;
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;

  // --- windows --------------------------------------------------------------------
  // Creates a hidden window.
  virtual WindowHandle CreateWindow(const WindowSpec& params) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;
  virtual void SetVisible(WindowHandle window, bool visible) = 0;
  virtual void SetTitle(WindowHandle window, const std::string& title) = 0;
  // Moves and sizes the outer window; where the desktop does not let programs
  // place windows the position is ignored.
  virtual void SetBounds(WindowHandle window, const TRect& bounds) = 0;
  // Asks for a window state. Where the desktop applies it (ManagesWindowState)
  // the new geometry arrives as events; otherwise the form sizes itself.
  virtual void SetState(WindowHandle window, TWindowState state) = 0;
  virtual bool ManagesWindowState() const = 0;
  // Brings the window to the front and gives it the keyboard.
  virtual void Activate(WindowHandle window) = 0;
  // Shows the given rectangles (window pixels) of the back buffer.
  virtual void Present(WindowHandle window, const TBitmap& surface,
                       std::span<const TRect> rects) = 0;
  // Which points of a window drag it (the title band); asked by backends whose
  // desktop decides on a press (Wayland).
  virtual void SetDragArea(WindowHandle window, std::function<bool(TPoint)> isCaption) = 0;
  // Starts moving the window with the mouse, for a press now in progress (the
  // caption-drag request); the move ends when the button is released.
  virtual void BeginMove(WindowHandle window) = 0;
  // A modal window starts (true) or ends (false): while it runs the program's
  // other windows take no input, as the desktop knows. They take it again
  // before the modal window hides, so that its owner, not another program,
  // becomes the active window.
  virtual void SetModal(WindowHandle window, bool modal) {
    (void)window;
    (void)modal;
  }

  // --- input -------------------------------------------------------------------------
  virtual void SetCursor(TCursor cursor) = 0;
  // Keeps the mouse events coming to this program while a button is held,
  // wherever the pointer goes.
  virtual void SetMouseCapture(bool capture) = 0;

  // --- time and events --------------------------------------------------------------
  // Milliseconds of a monotonic clock.
  virtual uint64_t Now() const = 0;
  // Waits up to timeoutMs (negative: without limit) for the next event; false
  // when none came.
  virtual bool WaitEvent(Event& event, int timeoutMs) = 0;
  virtual void Sleep(int ms) = 0;
  // The shortest interval the backend ticks timers at.
  virtual int TimerFloor() const = 0;
  // How far apart in milliseconds the turns come now, when the pace is not
  // the loop's own (the system's timer tick, while the system moves a
  // window); 0 when the loop wakes at each timer's deadline itself.
  virtual int TurnPeriod() const { return 0; }
  // Waits on source's descriptors too from now on (WaitEvent then returns
  // false, with no event, once a source has handled something, so that the
  // loop takes its turn). False when this backend cannot wait on descriptors.
  virtual bool AddWaitSource(WaitSource& source) {
    (void)source;
    return false;
  }
  virtual void RemoveWaitSource(WaitSource& source) { (void)source; }
  // Called when the connection to the display is lost, wherever the backend
  // notices it (possibly deep inside a call to the display). It ends the
  // process; should it return, the backend ends the process itself.
  std::function<void(const std::string& display)> OnDisplayLost;
  // Set by the application: handles the queued events (WaitEvent without
  // waiting), ticks the due timers, paints and presents. A backend calls it
  // where the system runs a loop of its own (Windows moves a window in one)
  // or must see an event handled before it goes on (the session ending).
  std::function<void()> RunTurn;
  // Set by the application: reports an error the backend can no longer raise
  // to a caller (one left pending by the system's callbacks when it closes).
  std::function<void(const std::exception& error)> ReportError;
  // Set by the accessibility bridge where the system asks a window for its
  // accessible object (Windows: WM_GETOBJECT, with the message's wParam and
  // lParam): the message's answer, or nothing to leave it to the system.
  std::function<std::optional<intptr_t>(WindowHandle window, uintptr_t wParam, intptr_t lParam)>
      AccessibleObjectAsked;
  // Set by the accessibility bridge: a window is about to be destroyed.
  std::function<void(WindowHandle window)> WindowDestroying;

  // --- the screen -----------------------------------------------------------------------
  virtual TSize ScreenSize() const = 0;
  virtual TRect WorkArea() const = 0;
  // Every screen's bounds in desktop coordinates, the primary one first.
  virtual std::vector<TRect> Monitors() const {
    const TSize size = ScreenSize();
    return {Rect(0, 0, size.cx, size.cy)};
  }
  // Every screen's work area (without the task bar and docked bars), in the
  // order of Monitors().
  virtual std::vector<TRect> WorkAreas() const { return Monitors(); }
  virtual double Scale() const = 0;
  // The scale of the screen that holds most of the rectangle (desktop
  // coordinates): where a window is about to be made.
  virtual double ScaleAt(const TRect& bounds) const {
    (void)bounds;
    return Scale();
  }
  // Whether one of the program's windows is the desktop's active window.
  virtual bool ApplicationActive() const = 0;
};

}  // namespace vark
