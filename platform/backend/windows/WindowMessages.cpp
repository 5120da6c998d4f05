// The window procedure: the system's messages as the toolkit's events.
#include "platform/backend/windows/Win32Backend.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Messages.h"

namespace vark::win32 {

namespace {

TPoint ClientPoint(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

TRect WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return Rect(r.left, r.top, r.right, r.bottom);
}

}  // namespace

LRESULT CALLBACK Win32Backend::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  // The system's frames below cannot unwind: the error waits until the
  // system has returned to us.
  try {
    return self->OnMessage(hwnd, message, wParam, lParam);
  } catch (...) {
    if (!self->pending_) self->pending_ = std::current_exception();
    return 0;
  }
}

LRESULT Win32Backend::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == messageWindow_) {
    if (message == kConsoleMessage) {
      EndSession();
      if (console_) console_->Answered();
      return 0;
    }
    if (message == WM_DEVICECHANGE && pads_) {
      pads_->DevicesChanged(Now());
      return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  Window* w = Find(hwnd);
  if (w == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  const WindowHandle id = HandleOf(hwnd);
  if (OnMouse(*w, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_NCHITTEST: {
      // The band the toolkit calls the caption drags the window, as the
      // system's caption does (and its right click opens the system menu).
      TPoint p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const TRect r = WindowRect(hwnd);
      if (w->isCaption && w->isCaption({p.X - r.Left, p.Y - r.Top})) return HTCAPTION;
      return HTCLIENT;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT) break;
      ::SetCursor(cursor_);
      return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      if (IsToolkitKey(wParam)) {
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        Event e{down ? EventKind::KeyDown : EventKind::KeyUp, id};
        e.key = static_cast<uint16_t>(wParam);
        e.shift = KeyboardShift();
        Queue(std::move(e));
      }
      // Alt+F4 and Alt+Space are the system's.
      if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) break;
      return 0;
    }
    case WM_CHAR: {
      std::string text = chars_.Add(static_cast<wchar_t>(wParam));
      if (!text.empty()) {
        Event e{EventKind::TextInput, id};
        e.text = std::move(text);
        Queue(std::move(e));
      }
      return 0;
    }
    case WM_SYSCHAR:
      // Alt+Space opens the system menu; other Alt+letters have no menu to
      // open, and the system would beep for them.
      if (wParam == ' ') break;
      return 0;
    case WM_SYSCOMMAND:
      // Alt or F10 alone would enter the menu bar the window does not show.
      if ((wParam & 0xFFF0) == SC_KEYMENU && lParam != ' ') return 0;
      // Win+Down asks whatever the window's style says.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && !Minimizable(*w)) return 0;
      break;
    case WM_CLOSE:
      // The close request (the task bar, Alt+F4): the toolkit decides.
      Queue({EventKind::CloseRequest, id});
      return 0;
    case WM_SETFOCUS:
      Queue({EventKind::FocusGained, id});
      return 0;
    case WM_KILLFOCUS:
      Queue({EventKind::FocusLost, id});
      return 0;
    case WM_WINDOWPOSCHANGED:
      OnPositionChanged(*w);
      return 0;  // no WM_MOVE and WM_SIZE: the event says it all
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      Queue({EventKind::Exposed, id});
      return 0;
    }
    case WM_GETOBJECT:
      // Screen readers ask for the window's accessible object.
      if (AccessibleObjectAsked) {
        if (const std::optional<intptr_t> answer = AccessibleObjectAsked(
                id, static_cast<uintptr_t>(wParam), static_cast<intptr_t>(lParam))) {
          return static_cast<LRESULT>(*answer);
        }
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // the back buffer covers it all
    case WM_ENTERSIZEMOVE:
    case WM_ENTERMENULOOP:
      SystemLoopStarted(hwnd);
      return 0;
    case WM_EXITSIZEMOVE:
    case WM_EXITMENULOOP:
      SystemLoopEnded(hwnd);
      return 0;
    case WM_TIMER:
      if (wParam != kLoopTimer) break;
      if (systemLoops_ > 0) SystemLoopTicked();
      return 0;
    case WM_DPICHANGED: {
      const RECT& r = *reinterpret_cast<const RECT*>(lParam);
      Event e{EventKind::ScaleChanged, id, LOWORD(wParam)};
      e.bounds = Rect(r.left, r.top, r.right, r.bottom);
      Queue(std::move(e));
      if (systemLoops_ > 0 && RunTurn) RunTurn();
      return 0;
    }
    case WM_CANCELMODE:
      // Sent when another window takes over (a prompt, this window being
      // disabled): the press in progress ends, captured or not; the system
      // ends its own modes and takes the capture back.
      CaptureLost(id);
      break;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Sent to every top-level window; the process may end once the first
      // one returns.
      if (wParam && !sessionEnded_) {
        sessionEnded_ = true;
        EndSession();
      }
      return 0;
    case WM_NCDESTROY:
      // Destroyed by the system with its owner.
      windows_.erase(id);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Win32Backend::OnMouse(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = w.hwnd;
  const WindowHandle id = HandleOf(hwnd);
  const TPoint p = ClientPoint(lParam);
  if (ownMove_.hwnd == hwnd) {
    if (message == WM_MOUSEMOVE) {
      POINT cursor{};
      GetCursorPos(&cursor);
      const TRect r = WindowRect(hwnd);
      const int left = cursor.x - ownMove_.grab.x, top = cursor.y - ownMove_.grab.y;
      if (left != r.Left || top != r.Top) {
        SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return true;
    }
    if (static_cast<int>(message) == ownMove_.buttonDown) {
      EndOwnMove();
      return true;
    }
    if (message == WM_CAPTURECHANGED) {
      ownMove_ = {};
      return true;
    }
  }
  Event e{EventKind::None, id, p.X, p.Y};
  e.shift = MouseShift(wParam);
  switch (message) {
    case WM_MOUSEMOVE:
      if (!w.trackingLeave) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd;
        w.trackingLeave = TrackMouseEvent(&track) != FALSE;
      }
      e.kind = EventKind::MouseMove;
      break;
    case WM_MOUSELEAVE:
      w.trackingLeave = false;
      Queue({EventKind::MouseLeave, id});
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      pressWindow_ = hwnd;
      e.kind = EventKind::MouseDown;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      e.kind = EventKind::MouseUp;
      break;
    case WM_CAPTURECHANGED:
      // Taken by another program's window, or released by the system (a
      // mode cancelled): the toolkit's press is over. Our own release, and
      // the capture moving to another of our windows, are no news.
      if (!releasingCapture_ && Find(reinterpret_cast<HWND>(lParam)) == nullptr) {
        CaptureLost(id);
      }
      return true;
    case WM_MOUSEWHEEL: {
      // Fine-grained wheels send parts of a notch; whole notches count.
      wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
      const int notches = wheelRemainder_ / WHEEL_DELTA;
      wheelRemainder_ %= WHEEL_DELTA;
      if (notches == 0) return true;
      POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ScreenToClient(hwnd, &screen);
      e = Event{EventKind::MouseWheel, id, screen.x, screen.y};
      e.wheel = notches;
      e.shift = MouseShift(GET_KEYSTATE_WPARAM(wParam));
      Queue(std::move(e));
      return true;
    }
    default:
      return false;
  }
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) e.button = mbRight;
  if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP) e.button = mbMiddle;
  Queue(std::move(e));
  return true;
}

void Win32Backend::OnPositionChanged(Window& w) {
  HWND hwnd = w.hwnd;
  const WindowHandle id = HandleOf(hwnd);
  const TWindowState state = IsIconic(hwnd) ? wsMinimized : IsZoomed(hwnd) ? wsMaximized : wsNormal;
  if (state != w.state) {
    w.state = state;
    Event e{EventKind::StateChanged, id};
    e.state = state;
    Queue(std::move(e));
  }
  // A minimised window is parked out of sight: its place is not news.
  if (state == wsMinimized) return;
  const TRect r = WindowRect(hwnd);
  const TRect old = w.bounds;
  w.bounds = r;
  if (ownChanges_ > 0) return;  // SetBounds tells what differs from the request
  if (r.Left != old.Left || r.Top != old.Top) Queue({EventKind::Moved, id, r.Left, r.Top});
  if (r.Width() != old.Width() || r.Height() != old.Height()) {
    Queue({EventKind::Resized, id, r.Width(), r.Height()});
  }
}

}  // namespace vark::win32
