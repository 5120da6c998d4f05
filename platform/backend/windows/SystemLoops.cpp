// The system's own loops (moving a window, the system menu): the toolkit's
// turns keep coming from a thread timer while one runs, and a modal form
// that opens meanwhile ends it, since the form's loop needs the input.
#include <algorithm>

#include "platform/backend/windows/Win32Backend.h"

namespace vark::win32 {

namespace {

// The system's timer tick is 15.6 ms, or shorter while a program has raised
// the clock's rate; a longer gap between the loop's timer messages is a slow
// turn, not the tick.
constexpr int kLongestLoopTickMs = 16;

}  // namespace

void Win32Backend::SystemLoopStarted(HWND hwnd) {
  ++systemLoops_;
  loopTicked_ = false;
  loopTickGap_ = 0;
  SetTimer(hwnd, kLoopTimer, USER_TIMER_MINIMUM, nullptr);
}

void Win32Backend::SystemLoopTicked() {
  // The loop's timer comes on the system's tick, whatever interval it asks
  // for: the timers learn how far apart the turns come, so that a deadline
  // just after this tick is met now, not a whole tick late.
  const uint64_t now = Now();
  if (loopTicked_) {
    loopTickGap_ = static_cast<int>(std::min<uint64_t>(now - lastLoopTick_, kLongestLoopTickMs));
  }
  loopTicked_ = true;
  lastLoopTick_ = now;
  if (RunTurn) RunTurn();
}

int Win32Backend::TurnPeriod() const {
  return systemLoops_ > 0 ? loopTickGap_ : 0;
}

namespace {

thread_local HHOOK moveEnder = nullptr;

// The filter codes of the move and size loops, which MinGW's headers lack.
constexpr int kMoveLoopFilter = 3, kSizeLoopFilter = 4;

// Ends a move loop that is still running once the form's loop has returned
// to it: its next message reads as the release. (Windows ends the loop when
// the window cancels its modes; Wine's loop ends only on a release, a Return
// or an Escape.)
LRESULT CALLBACK EndMoveLoop(int code, WPARAM wParam, LPARAM lParam) {
  if (code == kMoveLoopFilter || code == kSizeLoopFilter) {
    reinterpret_cast<MSG*>(lParam)->message = WM_LBUTTONUP;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void Win32Backend::CancelSystemLoop() {
  // The system's move and menu loops end when their window cancels its
  // modes, as it does when a message box opens; the loop's timer goes on to
  // bring the move loop its next message.
  for (auto& [handle, w] : std::map<WindowHandle, Window>(windows_)) {
    SendMessageW(w.hwnd, WM_CANCELMODE, 0, 0);
  }
  if (moveEnder == nullptr) {
    moveEnder = SetWindowsHookExW(WH_MSGFILTER, EndMoveLoop, nullptr, GetCurrentThreadId());
  }
  systemLoops_ = 0;
}

void Win32Backend::SystemLoopEnded(HWND hwnd) {
  systemLoops_ = std::max(0, systemLoops_ - 1);
  KillTimer(hwnd, kLoopTimer);
  if (systemLoops_ == 0 && moveEnder != nullptr) {
    UnhookWindowsHookEx(moveEnder);
    moveEnder = nullptr;
  }
}

}  // namespace vark::win32
