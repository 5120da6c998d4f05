// Windows as the Win32 backend makes them: placed, framed and owned as asked,
// moved and sized by the toolkit without echoes and by the system with
// events, minimised and maximised, closed by request, and made modal.
#include <new>
#include <vector>

#include "platform/backend/windows/Screens.h"
#include "platform/os/Shell.h"
#include "platform/os/windows/WideString.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Messages.h"
#include "tests/common/windows/FailingAllocation.h"
#include "tests/platform/backend/windows/Win32TestSupport.h"

namespace {

using vark::test::Win32Test;

TRect WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return Rect(r.left, r.top, r.right, r.bottom);
}

TEST_F(Win32Test, AWindowIsMadeHiddenShownFramelessAndOwnedAsAsked) {
  vark::WindowSpec params;
  params.title = "Jörg's Valdor";
  params.bounds = Bounds(120, 80, 300, 200);
  const vark::WindowHandle main = backend.CreateWindow(params);
  const HWND hwnd = Hwnd(main);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  wchar_t title[64] = {};
  GetWindowTextW(hwnd, title, 64);
  EXPECT_EQ(vark::os::win32::Narrow(title), "Jörg's Valdor");

  backend.SetVisible(main, true);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetForegroundWindow(), hwnd);
  EXPECT_TRUE(Has(Drain(), vark::EventKind::FocusGained));
  // No frame of the system's: the client area is the whole window.
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(WindowRect(hwnd), Bounds(120, 80, 300, 200));
  EXPECT_EQ(Rect(client.left, client.top, client.right, client.bottom), Rect(0, 0, 300, 200));
  // The system menu and the minimise box (Alt+F4, the task bar), no
  // maximise box: a double click on the band maximises nothing.
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CAPTION),
            WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);

  // A window the system asks to paint again is presented again, and is valid
  // after that (or the system would ask for ever).
  InvalidateRect(hwnd, nullptr, FALSE);
  EXPECT_TRUE(Has(Drain(), vark::EventKind::Exposed));
  EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));

  // A dialog is owned by its window and has no task bar button of its own.
  const HWND dialog = Hwnd(Shown(Bounds(200, 150, 200, 100), main));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), hwnd);
  EXPECT_FALSE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(Win32Test, TheToolkitsMovesAreNoNewsAndTheSystemsAre) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  backend.SetBounds(window, Bounds(150, 120, 420, 260));
  EXPECT_EQ(WindowRect(Hwnd(window)), Bounds(150, 120, 420, 260));
  for (const vark::Event& e : Drain()) {
    EXPECT_NE(e.kind, vark::EventKind::Moved);
    EXPECT_NE(e.kind, vark::EventKind::Resized);
  }
  SetWindowPos(Hwnd(window), nullptr, 10, 20, 330, 110, SWP_NOZORDER | SWP_NOACTIVATE);
  const vark::Event moved = Next(vark::EventKind::Moved);
  EXPECT_EQ(TPoint(moved.x, moved.y), TPoint(10, 20));
  const vark::Event resized = Next(vark::EventKind::Resized);
  EXPECT_EQ(TPoint(resized.x, resized.y), TPoint(330, 110));
}

TEST_F(Win32Test, MinimisedAndMaximisedAreStatesAndTheParkedPlaceIsNoMove) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  const HWND hwnd = Hwnd(window);
  auto state = [&](int command) {
    ShowWindow(hwnd, command);
    std::vector<vark::Event> events = Drain();
    for (const vark::Event& e : events)
      EXPECT_NE(e.kind, vark::EventKind::Moved) << command;
    for (const vark::Event& e : events) {
      if (e.kind == vark::EventKind::StateChanged) return e.state;
    }
    ADD_FAILURE() << "no state change for " << command;
    return wsNormal;
  };
  EXPECT_EQ(state(SW_MINIMIZE), wsMinimized);
  // Placed while minimised: it comes back there.
  backend.SetBounds(window, Bounds(140, 130, 300, 200));
  EXPECT_EQ(state(SW_RESTORE), wsNormal);
  EXPECT_EQ(WindowRect(hwnd), Bounds(140, 130, 300, 200));
  // Win+Up asks this of the window; the toolkit's form undoes it.
  ShowWindow(hwnd, SW_MAXIMIZE);
  EXPECT_EQ(Next(vark::EventKind::StateChanged).state, wsMaximized);
}

TEST_F(Win32Test, CloseRequestsLeaveTheDecisionToTheToolkit) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  PostMessageW(Hwnd(window), WM_CLOSE, 0, 0);
  EXPECT_EQ(Next(vark::EventKind::CloseRequest).window, window);
  // Alt+F4 goes the system's way to the same request.
  PostMessageW(Hwnd(window), WM_SYSKEYDOWN, VK_F4, LPARAM{1} << 29);
  EXPECT_EQ(Next(vark::EventKind::CloseRequest).window, window);
  EXPECT_TRUE(IsWindow(Hwnd(window)));
}

TEST_F(Win32Test, AModalWindowTakesTheInputFromTheOthersAndGivesItBack) {
  const vark::WindowHandle main = Shown(Bounds(100, 100, 400, 300));
  const vark::WindowHandle dialog = Shown(Bounds(150, 150, 200, 100), main);
  backend.SetModal(dialog, true);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(main)));
  EXPECT_TRUE(IsWindowEnabled(Hwnd(dialog)));
  // Given back before the dialog hides (as the toolkit does), the owner
  // becomes the active window again.
  backend.SetModal(dialog, false);
  backend.SetVisible(dialog, false);
  EXPECT_TRUE(IsWindowEnabled(Hwnd(main)));
  EXPECT_EQ(GetForegroundWindow(), Hwnd(main));
  // A modal window destroyed while it runs gives it back too.
  backend.SetVisible(dialog, true);
  backend.SetModal(dialog, true);
  backend.DestroyWindow(dialog);
  EXPECT_TRUE(IsWindowEnabled(Hwnd(main)));
}

TEST_F(Win32Test, TheScreensAreTheDesktopsWithThePrimaryOneFirst) {
  // The test display: one screen of the X server's size, at the system's
  // pixels per inch.
  const std::vector<TRect> screens = backend.Monitors();
  ASSERT_FALSE(screens.empty());
  EXPECT_EQ(screens[0], Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(backend.ScreenSize(), (TSize{screens[0].Width(), screens[0].Height()}));
  EXPECT_TRUE(screens[0].Contains(backend.WorkArea().TopLeft()));
  EXPECT_EQ(backend.Scale(), GetDpiForSystem() / 96.0);
  EXPECT_EQ(backend.ScaleAt(Bounds(100, 100, 300, 200)), backend.Scale());
  // The program is the active one once its window shows.
  Shown(Bounds(100, 100, 300, 200));
  EXPECT_TRUE(backend.ApplicationActive());
}

TEST(Win32Screens, MemoryRunningOutWhileTheSystemListsThemComesBackAsAnError) {
  // The system calls back for each screen; the error must not pass through
  // its code on the way back to ours.
  vark::testing::FailAllocationAfter(0);
  EXPECT_THROW(vark::win32::Screens(), std::bad_alloc);
  EXPECT_FALSE(vark::win32::Screens().empty());
}

}  // namespace
