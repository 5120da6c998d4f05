#include "tests/platform/ui/windows/RealDesktop.h"

#include "platform/backend/windows/Win32Backend.h"
#include "platform/os/Shell.h"
#include "platform/ui/Messages.h"
#include "tests/platform/backend/windows/Win32TestSupport.h"

namespace vark::test::desktop {

using win32::HandleOf;
using win32::WindowOf;

std::unique_ptr<Backend> RealBackend() {
  return std::make_unique<win32::Win32Backend>();
}

TColor PixelOnScreen(uint32_t window, int x, int y) {
  HDC dc = GetDC(WindowOf(window));
  const COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(WindowOf(window), dc);
  return pixel;  // 0x00BBGGRR, as TColor
}

TRect BoundsOf(uint32_t window) {
  RECT r{};
  GetWindowRect(WindowOf(window), &r);
  return Rect(r.left, r.top, r.right, r.bottom);
}

bool IsEnabled(uint32_t window) {
  return IsWindowEnabled(WindowOf(window)) != FALSE;
}

uint32_t OwnerOf(uint32_t window) {
  return HandleOf(GetWindow(WindowOf(window), GW_OWNER));
}

uint32_t ForegroundWindow() {
  return HandleOf(GetForegroundWindow());
}

void Pointer(int x, int y, Press press) {
  const DWORD flags = press == Press::LeftDown ? MOUSEEVENTF_LEFTDOWN
                      : press == Press::LeftUp ? MOUSEEVENTF_LEFTUP
                                               : 0;
  test::Pointer({x, y}, flags);
}

void TypeKey(uint16_t virtualKey) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = virtualKey;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

void Maximise(uint32_t window) {
  ShowWindow(WindowOf(window), SW_MAXIMIZE);
}

void AskToMinimise(uint32_t window) {
  SendMessageW(WindowOf(window), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CancelMode(uint32_t window) {
  SendMessageW(WindowOf(window), WM_CANCELMODE, 0, 0);
}

bool IsMinimised(uint32_t window) {
  return IsIconic(WindowOf(window)) != FALSE;
}

Boxes BoxesOf(uint32_t window) {
  const LONG_PTR style = GetWindowLongPtrW(WindowOf(window), GWL_STYLE);
  return {(style & WS_SYSMENU) != 0, (style & WS_MINIMIZEBOX) != 0, (style & WS_MAXIMIZEBOX) != 0};
}

void EndSession(uint32_t window) {
  if (SendMessageW(WindowOf(window), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)) {
    SendMessageW(WindowOf(window), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  }
}

}  // namespace vark::test::desktop
