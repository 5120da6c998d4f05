#include "platform/backend/windows/Win32Backend.h"

#include <algorithm>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/backend/windows/Screens.h"
#include "platform/graphics/Bitmap.h"
#include "platform/os/Shell.h"
#include "platform/os/SystemError.h"
#include "platform/os/windows/WideString.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Messages.h"

namespace vark::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"VarkWindow";

// Timers never tick faster than this: the window's animations count their
// length in ticks of the classic desktop timer (about 64 a second).
constexpr int kTimerFloorMs = 16;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  // The program's icon, where the program carries one; the cursor and the
  // background are ours (WM_SETCURSOR, the back buffer).
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = kWindowClass;
  // A second backend in the same process (tests) finds the class there.
  if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    os::RaiseOSError(static_cast<int>(GetLastError()));
  }
}

TRect WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return Rect(r.left, r.top, r.right, r.bottom);
}

}  // namespace

Win32Backend::Win32Backend(bool highResolutionTimer)
    : wait_(highResolutionTimer), epoch_(MonotonicMilliseconds()) {
  DeclareDpiAwareness();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterWindowClass(instance, &Win32Backend::Procedure);
  messageWindow_ =
      CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  if (messageWindow_ != nullptr) {
    console_ = std::make_unique<ConsoleControl>(messageWindow_, kConsoleMessage);
  }
  pads_ = XInputPad::Load();
  if (pads_ && messageWindow_ != nullptr) pads_->Listen(messageWindow_);
  cursor_ = LoadCursorW(nullptr, CursorResource(crDefault));
}

Win32Backend::~Win32Backend() {
  console_.reset();
  pads_.reset();
  for (auto& [handle, w] : std::map<WindowHandle, Window>(windows_)) {
    DestroyWindow(handle);
  }
  if (messageWindow_ != nullptr) ::DestroyWindow(messageWindow_);
  // Nothing may leave a destructor: what the window procedure kept goes to
  // the application's report instead.
  if (pending_ && ReportError) {
    try {
      std::rethrow_exception(std::exchange(pending_, nullptr));
    } catch (const std::exception& e) {
      try {
        ReportError(e);
      } catch (...) {
      }
    } catch (...) {
    }
  }
}

Win32Backend::Window* Win32Backend::Find(WindowHandle window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

// --- windows ---------------------------------------------------------------------------

WindowHandle Win32Backend::CreateWindow(const WindowSpec& params) {
  HWND owner = params.owner != 0 ? WindowOf(params.owner) : nullptr;
  // An owned window has no task bar button of its own; the others show one.
  DWORD exStyle = owner == nullptr && params.taskbar ? WS_EX_APPWINDOW : 0;
  // The system menu (Alt+Space), the task bar and the window keys offer what
  // the form's border icons name.
  DWORD style = WS_POPUP;
  if (params.systemMenu) style |= WS_SYSMENU;
  if (params.minimizeBox) style |= WS_MINIMIZEBOX;
  if (params.maximizeBox) style |= WS_MAXIMIZEBOX;
  const TRect& b = params.bounds;
  HWND hwnd = CreateWindowExW(exStyle, kWindowClass, os::win32::Widen(params.title).c_str(), style,
                              b.Left, b.Top, std::max(1, b.Width()), std::max(1, b.Height()), owner,
                              nullptr, GetModuleHandleW(nullptr), this);
  if (hwnd == nullptr) {
    const int error = static_cast<int>(GetLastError());
    throw EOSError("Cannot create a window: " + os::SystemErrorText(error), error);
  }
  Window& w = windows_[HandleOf(hwnd)];
  w.hwnd = hwnd;
  w.minimizeBox = params.minimizeBox;
  w.bounds = WindowRect(hwnd);
  RaisePending();
  return HandleOf(hwnd);
}

void Win32Backend::DestroyWindow(WindowHandle window) {
  Window* w = Find(window);
  if (w == nullptr) return;
  SetModal(window, false);
  HWND hwnd = w->hwnd;
  if (ownMove_.hwnd == hwnd) EndOwnMove();
  if (pressWindow_ == hwnd) pressWindow_ = nullptr;
  windows_.erase(window);
  if (WindowDestroying) WindowDestroying(window);
  // An error of the window procedure meanwhile stays pending for the loop's
  // next wait: windows go from destructors, which must not throw.
  ::DestroyWindow(hwnd);
}

void Win32Backend::SetVisible(WindowHandle window, bool visible) {
  Window* w = Find(window);
  if (w == nullptr) return;
  HWND hwnd = w->hwnd;
  ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
  RaisePending();
  if (visible) Activate(window);
}

void Win32Backend::SetTitle(WindowHandle window, const std::string& title) {
  if (Window* w = Find(window)) SetWindowTextW(w->hwnd, os::win32::Widen(title).c_str());
}

void Win32Backend::SetBounds(WindowHandle window, const TRect& bounds) {
  Window* w = Find(window);
  if (w == nullptr) return;
  HWND hwnd = w->hwnd;
  if (IsIconic(hwnd)) {
    // A minimised window sits out of sight: the bounds are those it comes
    // back to, which the placement holds in work-area coordinates.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(hwnd, &placement);
    const ScreenInfo screen = PrimaryScreen();
    const int dx = screen.work.Left - screen.bounds.Left, dy = screen.work.Top - screen.bounds.Top;
    placement.rcNormalPosition = {bounds.Left - dx, bounds.Top - dy, bounds.Right - dx,
                                  bounds.Bottom - dy};
    SetWindowPlacement(hwnd, &placement);
    w->bounds = bounds;
    return;
  }
  ++ownChanges_;
  SetWindowPos(hwnd, nullptr, bounds.Left, bounds.Top, std::max(1, bounds.Width()),
               std::max(1, bounds.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
  --ownChanges_;
  RaisePending();
  w = Find(window);
  if (w == nullptr) return;
  // The system may have placed it otherwise: the toolkit hears where it is.
  const TRect actual = WindowRect(hwnd);
  w->bounds = actual;
  if (actual.Left != bounds.Left || actual.Top != bounds.Top) {
    Queue({EventKind::Moved, window, actual.Left, actual.Top});
  }
  if (actual.Width() != bounds.Width() || actual.Height() != bounds.Height()) {
    Queue({EventKind::Resized, window, actual.Width(), actual.Height()});
  }
}

void Win32Backend::SetState(WindowHandle window, TWindowState state) {
  Window* w = Find(window);
  if (w == nullptr) return;
  ShowWindow(w->hwnd, state == wsMinimized   ? SW_MINIMIZE
                      : state == wsMaximized ? SW_MAXIMIZE
                                             : SW_RESTORE);
  RaisePending();
}

void Win32Backend::Activate(WindowHandle window) {
  Window* w = Find(window);
  if (w == nullptr || !IsWindowVisible(w->hwnd)) return;
  // Refused while another program is in front: its task bar button flashes.
  SetForegroundWindow(w->hwnd);
  RaisePending();
}

void Win32Backend::Present(WindowHandle window, const TBitmap& surface,
                           std::span<const TRect> rects) {
  Window* w = Find(window);
  if (w == nullptr || surface.Width() <= 0 || surface.Height() <= 0) return;
  const int width = surface.Width(), height = surface.Height();
  // A top-down DIB (negative height) of our 0xAARRGGBB words, which are the
  // system's 32-bit BGRX pixels in memory.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(w->hwnd);
  if (dc == nullptr) return;
  const TRect all = Rect(0, 0, width, height);
  for (const TRect& rect : rects) {
    const TRect r = IntersectRect(rect, all);
    if (r.IsEmpty()) continue;
    // The source row counts from the bottom of the DIB, top-down or not.
    SetDIBitsToDevice(dc, r.Left, r.Top, static_cast<DWORD>(r.Width()),
                      static_cast<DWORD>(r.Height()), r.Left, height - r.Bottom, 0,
                      static_cast<UINT>(height), surface.Bits(), &info, DIB_RGB_COLORS);
  }
  ReleaseDC(w->hwnd, dc);
}

void Win32Backend::SetDragArea(WindowHandle window, std::function<bool(TPoint)> isCaption) {
  if (Window* w = Find(window)) w->isCaption = std::move(isCaption);
}

void Win32Backend::BeginMove(WindowHandle window) {
  Window* w = Find(window);
  if (w == nullptr) return;
  if (GetKeyState(VK_LBUTTON) < 0) {
    // The system's move, as a press on the caption starts it. It runs a loop
    // of its own until the button comes up, so it starts from the queue,
    // once the press that asked for it has been handled; a message posted
    // now comes before the release, which is input.
    POINT cursor{};
    GetCursorPos(&cursor);
    ::ReleaseCapture();
    PostMessageW(w->hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
    return;
  }
  // The system's move ends only on a left release: another button drags
  // the window here, until it comes up.
  const int ups[] = {WM_RBUTTONUP, WM_MBUTTONUP};
  const int keys[] = {VK_RBUTTON, VK_MBUTTON};
  for (int i = 0; i < 2; ++i) {
    if (GetKeyState(keys[i]) >= 0) continue;
    POINT cursor{};
    GetCursorPos(&cursor);
    const TRect r = WindowRect(w->hwnd);
    ownMove_ = {w->hwnd, {cursor.x - r.Left, cursor.y - r.Top}, ups[i]};
    SetCapture(w->hwnd);
    return;
  }
}

void Win32Backend::EndOwnMove() {
  HWND hwnd = ownMove_.hwnd;
  ownMove_ = {};
  if (hwnd != nullptr && GetCapture() == hwnd) ::ReleaseCapture();
}

void Win32Backend::SetModal(WindowHandle window, bool modal) {
  if (modal) {
    std::vector<WindowHandle> taken;
    for (auto& [handle, w] : windows_) {
      if (handle == window || !IsWindowVisible(w.hwnd) || !IsWindowEnabled(w.hwnd)) continue;
      EnableWindow(w.hwnd, FALSE);
      taken.push_back(handle);
    }
    modal_.emplace_back(window, std::move(taken));
    ShowMinimizeBox(window);
    RaisePending();
    return;
  }
  auto it = std::find_if(modal_.begin(), modal_.end(),
                         [window](const auto& entry) { return entry.first == window; });
  if (it == modal_.end()) return;
  const std::vector<WindowHandle> taken = std::move(it->second);
  modal_.erase(it);
  ShowMinimizeBox(window);
  for (WindowHandle handle : taken) {
    if (Window* w = Find(handle)) EnableWindow(w->hwnd, TRUE);
  }
  RaisePending();
}

bool Win32Backend::Minimizable(const Window& w) const {
  // An owned window has no task bar button: minimised while it holds its
  // owner disabled, nothing would bring it back.
  const bool modal = std::any_of(modal_.begin(), modal_.end(), [&w](const auto& entry) {
    return entry.first == HandleOf(w.hwnd);
  });
  return w.minimizeBox && !(modal && GetWindow(w.hwnd, GW_OWNER) != nullptr);
}

void Win32Backend::ShowMinimizeBox(WindowHandle window) {
  Window* w = Find(window);
  if (w == nullptr) return;
  const LONG_PTR style = GetWindowLongPtrW(w->hwnd, GWL_STYLE);
  const LONG_PTR box = Minimizable(*w) ? WS_MINIMIZEBOX : 0;
  if ((style & WS_MINIMIZEBOX) != box) {
    SetWindowLongPtrW(w->hwnd, GWL_STYLE, (style & ~LONG_PTR{WS_MINIMIZEBOX}) | box);
  }
}

// --- input ---------------------------------------------------------------------------------

void Win32Backend::SetCursor(TCursor cursor) {
  const wchar_t* shape = CursorResource(cursor);
  cursor_ = shape != nullptr ? LoadCursorW(nullptr, shape) : nullptr;
  // Shown now when the pointer is over one of our windows (WM_SETCURSOR
  // shows it from then on).
  POINT p{};
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  if (under != nullptr && Find(under) != nullptr) ::SetCursor(cursor_);
}

void Win32Backend::SetMouseCapture(bool capture) {
  if (ownMove_.hwnd != nullptr) return;  // the move holds the mouse
  if (!capture) {
    if (GetCapture() != nullptr) {
      releasingCapture_ = true;
      ::ReleaseCapture();
      releasingCapture_ = false;
    }
    return;
  }
  HWND target = pressWindow_ != nullptr ? pressWindow_ : GetActiveWindow();
  if (target != nullptr && Find(target) != nullptr) SetCapture(target);
}

void Win32Backend::CaptureLost(WindowHandle window) {
  // WM_CANCELMODE takes the capture back in turn: one event says it.
  if (!queue_.empty() && queue_.back().kind == EventKind::CaptureLost) return;
  Queue({EventKind::CaptureLost, window});
}

// --- time and events ----------------------------------------------------------------------

uint64_t Win32Backend::Now() const {
  return MonotonicMilliseconds() - epoch_;
}

int Win32Backend::TimerFloor() const {
  return kTimerFloorMs;
}

void Win32Backend::RaisePending() {
  if (!pending_) return;
  std::exception_ptr error = pending_;
  pending_ = nullptr;
  std::rethrow_exception(error);
}

void Win32Backend::Pump() {
  MSG msg;
  while (queue_.empty() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      Queue({EventKind::Quit, 0});
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    RaisePending();
  }
}

bool Win32Backend::WaitEvent(Event& event, int timeoutMs) {
  RaisePending();
  if (queue_.empty() && systemLoops_ > 0) {
    // Inside the system's loop only the events it left are handed out: a
    // message taken here would be the loop's own.
    if (timeoutMs == 0) return false;
    CancelSystemLoop();
  }
  const uint64_t deadline = timeoutMs > 0 ? Now() + static_cast<uint64_t>(timeoutMs) : 0;
  while (true) {
    if (systemLoops_ == 0) Pump();
    const int untilPadRead =
        pads_ && queue_.empty() ? pads_->Update(ApplicationActive(), Now(), queue_) : -1;
    if (!queue_.empty()) {
      event = std::move(queue_.front());
      queue_.pop_front();
      return true;
    }
    if (timeoutMs == 0) return false;
    int remaining = -1;
    if (timeoutMs > 0) {
      const uint64_t now = Now();
      if (now >= deadline) return false;
      remaining = static_cast<int>(deadline - now);
    }
    if (untilPadRead >= 0 && (remaining < 0 || untilPadRead < remaining)) remaining = untilPadRead;
    wait_.ForMessage(remaining);
  }
}

// --- the screen -------------------------------------------------------------------------------

TSize Win32Backend::ScreenSize() const {
  const TRect b = PrimaryScreen().bounds;
  return {b.Width(), b.Height()};
}

TRect Win32Backend::WorkArea() const {
  return PrimaryScreen().work;
}

std::vector<TRect> Win32Backend::Monitors() const {
  std::vector<TRect> bounds;
  for (const ScreenInfo& screen : Screens())
    bounds.push_back(screen.bounds);
  return bounds;
}

std::vector<TRect> Win32Backend::WorkAreas() const {
  std::vector<TRect> areas;
  for (const ScreenInfo& screen : Screens())
    areas.push_back(screen.work);
  return areas;
}

double Win32Backend::Scale() const {
  return PrimaryScreen().dpi / 96.0;
}

double Win32Backend::ScaleAt(const TRect& bounds) const {
  return DpiAt(bounds) / 96.0;
}

bool Win32Backend::ApplicationActive() const {
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  if (foreground != nullptr) GetWindowThreadProcessId(foreground, &process);
  return foreground != nullptr && process == GetCurrentProcessId();
}

// --- the session ----------------------------------------------------------------------------

void Win32Backend::EndSession() {
  // The toolkit answers the Quit (saving, as a close does) before the
  // system goes on, which may end the process once this returns.
  Queue({EventKind::Quit, 0});
  if (!RunTurn) return;
  // The process may end once this returns, before the loop would raise a
  // kept error: the report comes now.
  try {
    RunTurn();
  } catch (const std::exception& e) {
    if (!ReportError) throw;
    ReportError(e);
  }
}

}  // namespace vark::win32
