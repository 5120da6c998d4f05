// The Windows backend: real windows through Win32.
//
// Every window is a popup without the system's frame (the toolkit draws its
// own) that keeps the system menu and the minimise and maximise boxes its
// form's border icons name, so the task bar button, Alt+F4, Alt+Space and
// minimising work as for any program. A window made for an owner (a dialog)
// is owned by it: it stays above it and has no task bar button, so while it
// runs modal it cannot be minimised (its owner, disabled, could not bring it
// back). A window's handle is its HWND, which the system keeps
// within 32 bits (sign-extended on 64-bit Windows).
//
// The loop: WaitEvent takes the messages of the thread's queue, turning them
// into events, and waits for the next message or the timeout (LoopWait).
// Where the system runs a loop of its own (a window being moved, the system
// menu) a thread timer keeps the toolkit's turns coming through RunTurn, so
// timers tick and windows paint meanwhile. No exception crosses a window
// procedure: one raised inside is raised again once the system has returned
// (at the latest from WaitEvent, where the application reports it), never
// from DestroyWindow, which leaves it for the next wait, nor from the
// destructor, which hands it to ReportError.
#pragma once

#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/backend/windows/ConsoleControl.h"
#include "platform/backend/windows/Input.h"
#include "platform/backend/windows/LoopWait.h"
#include "platform/backend/windows/XInputPad.h"
#include "platform/os/windows/Win32.h"

namespace vark::win32 {

inline HWND WindowOf(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(window)));
}

inline WindowHandle HandleOf(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(window));
}

class Win32Backend : public Backend {
 public:
  // highResolutionTimer false waits with the fallback timer (for its tests).
  explicit Win32Backend(bool highResolutionTimer = true);
  ~Win32Backend() override;

  const char* Name() const override { return "windows"; }

  WindowHandle CreateWindow(const WindowSpec& params) override;
  void DestroyWindow(WindowHandle window) override;
  void SetVisible(WindowHandle window, bool visible) override;
  void SetTitle(WindowHandle window, const std::string& title) override;
  void SetBounds(WindowHandle window, const TRect& bounds) override;
  void SetState(WindowHandle window, TWindowState state) override;
  bool ManagesWindowState() const override { return true; }
  void Activate(WindowHandle window) override;
  void Present(WindowHandle window, const TBitmap& surface, std::span<const TRect> rects) override;
  void SetDragArea(WindowHandle window, std::function<bool(TPoint)> isCaption) override;
  void BeginMove(WindowHandle window) override;
  void SetModal(WindowHandle window, bool modal) override;

  void SetCursor(TCursor cursor) override;
  void SetMouseCapture(bool capture) override;

  uint64_t Now() const override;
  bool WaitEvent(Event& event, int timeoutMs) override;
  void Sleep(int ms) override { wait_.Sleep(ms); }
  int TimerFloor() const override;
  // Inside the system's loop: the gap between its last two timer messages.
  int TurnPeriod() const override;

  TSize ScreenSize() const override;
  TRect WorkArea() const override;
  std::vector<TRect> Monitors() const override;
  std::vector<TRect> WorkAreas() const override;
  double Scale() const override;
  double ScaleAt(const TRect& bounds) const override;
  bool ApplicationActive() const override;

  bool HighResolutionTimer() const { return wait_.HighResolution(); }

 private:
  struct Window {
    HWND hwnd = nullptr;
    TRect bounds;  // as last known, outer; kept while minimised
    TWindowState state = wsNormal;
    bool trackingLeave = false;  // the system tells when the pointer leaves
    bool minimizeBox = true;     // as made; a running modal window lacks it
    std::function<bool(TPoint)> isCaption;
  };
  // A move we make ourselves, for a button other than the left one (the
  // system's move follows the left button only).
  struct OwnMove {
    HWND hwnd = nullptr;
    POINT grab{};        // the pointer's offset in the window
    int buttonDown = 0;  // WM_RBUTTONUP or WM_MBUTTONUP ends it
  };

  // The console handler's request (wParam: the kind of console event).
  static constexpr UINT kConsoleMessage = WM_APP + 1;
  // Keeps the toolkit's turns coming while the system runs a loop of its own;
  // the toolkit's timers keep their own floor.
  static constexpr UINT_PTR kLoopTimer = 1;

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The window procedure's work (WindowMessages.cpp).
  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool OnMouse(Window& w, UINT message, WPARAM wParam, LPARAM lParam);
  void OnPositionChanged(Window& w);
  void EndSession();

  Window* Find(WindowHandle window);
  Window* Find(HWND hwnd) { return Find(HandleOf(hwnd)); }
  void Queue(Event event) { queue_.push_back(std::move(event)); }
  // Dispatches the thread's messages until one of them made an event.
  void Pump();
  void RaisePending();
  void EndOwnMove();
  // Tells the toolkit that the mouse was taken away from its press.
  void CaptureLost(WindowHandle window);
  // Whether the window may be minimised now, and its minimise box to match.
  bool Minimizable(const Window& w) const;
  void ShowMinimizeBox(WindowHandle window);
  // The system's move and menu loops (SystemLoops.cpp). A modal form opened
  // while one runs ends it.
  void SystemLoopStarted(HWND hwnd);
  void SystemLoopEnded(HWND hwnd);
  // The loop's timer message came: takes the toolkit's turn.
  void SystemLoopTicked();
  void CancelSystemLoop();

  LoopWait wait_;
  uint64_t epoch_ = 0;
  std::map<WindowHandle, Window> windows_;
  std::deque<Event> queue_;
  std::exception_ptr pending_;
  HWND messageWindow_ = nullptr;  // hears from the console handler
  std::unique_ptr<ConsoleControl> console_;
  std::unique_ptr<XInputPad> pads_;  // null where the system has no XInput
  HCURSOR cursor_ = nullptr;
  HWND pressWindow_ = nullptr;     // the window of the last press: capture goes there
  bool releasingCapture_ = false;  // the toolkit's own release, which is no loss
  OwnMove ownMove_;
  CharAssembler chars_;
  int wheelRemainder_ = 0;
  int systemLoops_ = 0;        // inside the system's move or menu loop
  bool loopTicked_ = false;    // the loop's timer message came in this loop
  uint64_t lastLoopTick_ = 0;  // when it came last
  int loopTickGap_ = 0;        // the gap before it; 0 until two have come
  int ownChanges_ = 0;         // inside a move or resize the toolkit asked for
  bool sessionEnded_ = false;  // the system ends the session: answered once
  // Each running modal window and the windows it took the input from.
  std::vector<std::pair<WindowHandle, std::vector<WindowHandle>>> modal_;
};

}  // namespace vark::win32
