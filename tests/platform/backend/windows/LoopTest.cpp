// The Win32 backend's loop: waits that end on time or at the first message,
// the toolkit's turns while the system moves a window, the session and the
// console ending, and errors raised inside the window procedure.
#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/Messages.h"
#include "tests/platform/backend/windows/Win32TestSupport.h"

namespace {

using vark::EventKind;
using vark::test::Pointer;
using vark::test::Win32Test;

TEST_F(Win32Test, AWaitEndsAtItsTimeoutOrAtTheFirstMessage) {
  for (bool highResolution : {true, false}) {
    SCOPED_TRACE(highResolution);
    vark::win32::Win32Backend b(highResolution);
    vark::Event e;
    // Never early: the timers' floor rests on it. (How late is a figure of
    // bench/, not a test's.)
    const uint64_t start = b.Now();
    EXPECT_FALSE(b.WaitEvent(e, 16));
    EXPECT_GE(b.Now() - start, 16u);
    // A wait without limit ends with the message another thread posts.
    vark::WindowSpec params;
    params.bounds = Bounds(100, 100, 100, 100);
    const vark::WindowHandle window = b.CreateWindow(params);
    std::thread poster([window] { PostMessageW(Hwnd(window), WM_CLOSE, 0, 0); });
    EXPECT_TRUE(b.WaitEvent(e, -1));
    EXPECT_EQ(e.kind, EventKind::CloseRequest);
    poster.join();
  }
}

TEST_F(Win32Test, TheToolkitTakesTurnsWhileTheSystemMovesAWindow) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  HANDLE moving = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> released{false};
  int movesSeen = 0;
  backend.RunTurn = [&] {
    vark::Event e;
    while (backend.WaitEvent(e, 0))
      movesSeen += e.kind == EventKind::Moved;
    SetEvent(moving);
  };
  // The left button on the background, the drag handed to the system, the
  // pointer moved by 80, 50 and released, from a thread of its own once the
  // system's loop runs.
  Pointer({200, 200}, MOUSEEVENTF_LEFTDOWN);
  Next(EventKind::MouseDown);
  backend.BeginMove(window);
  std::thread user([&] {
    WaitForSingleObject(moving, kPatienceMs);
    for (int step = 1; step <= 5; ++step) {
      Pointer({200 + 16 * step, 200 + 10 * step});
      Sleep(20);
    }
    Pointer({280, 250}, MOUSEEVENTF_LEFTUP);
    released = true;
  });
  vark::Event e;
  const uint64_t end = backend.Now() + kPatienceMs;
  while (!released && backend.Now() < end)
    backend.WaitEvent(e, 20);
  user.join();
  Drain();
  CloseHandle(moving);
  EXPECT_GT(movesSeen, 0);  // the toolkit heard of the move while the system's loop ran
  RECT r{};
  GetWindowRect(Hwnd(window), &r);
  EXPECT_EQ(TPoint(r.left, r.top), TPoint(180, 150));
}

TEST_F(Win32Test, AFormThatWaitsInsideTheSystemsMoveEndsTheMove) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  HANDLE waiting = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool modal = false, released = false;
  backend.RunTurn = [&] {
    if (modal) return;
    // A modal form opened by a timer: its loop waits for the user's input,
    // which the system's move would otherwise keep for itself.
    modal = true;
    SetEvent(waiting);
    vark::Event e;
    const uint64_t end = backend.Now() + kPatienceMs;
    while (!released && backend.Now() < end) {
      released = backend.WaitEvent(e, 20) && e.kind == EventKind::MouseUp;
    }
  };
  Pointer({200, 200}, MOUSEEVENTF_LEFTDOWN);
  Next(EventKind::MouseDown);
  backend.BeginMove(window);
  std::thread user([&] {
    WaitForSingleObject(waiting, kPatienceMs);
    Pointer({280, 250});
    Pointer({280, 250}, MOUSEEVENTF_LEFTUP);
  });
  Drain();  // returns once the system's loop has ended
  user.join();
  CloseHandle(waiting);
  EXPECT_TRUE(released);  // the release was the modal form's
  RECT r{};
  GetWindowRect(Hwnd(window), &r);
  EXPECT_EQ(TPoint(r.left, r.top), TPoint(100, 100));
}

TEST_F(Win32Test, AnotherButtonDragsTheWindowUntilItComesUp) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  Pointer({200, 200}, MOUSEEVENTF_RIGHTDOWN);
  Next(EventKind::MouseDown);
  backend.BeginMove(window);
  Pointer({230, 220});
  Pointer({230, 220}, MOUSEEVENTF_RIGHTUP);
  const std::vector<vark::Event> events = Drain();
  EXPECT_FALSE(Has(events, EventKind::MouseUp));  // the release ended the move
  RECT r{};
  GetWindowRect(Hwnd(window), &r);
  EXPECT_EQ(TPoint(r.left, r.top), TPoint(130, 120));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Win32Test, TheSessionEndIsAnsweredBeforeTheSystemGoesOn) {
  const vark::WindowHandle main = Shown(Bounds(100, 100, 300, 200));
  const vark::WindowHandle other = Shown(Bounds(500, 100, 300, 200));
  int quits = 0;
  backend.RunTurn = [&] {
    vark::Event e;
    while (backend.WaitEvent(e, 0))
      quits += e.kind == EventKind::Quit;
  };
  EXPECT_TRUE(SendMessageW(Hwnd(main), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  EXPECT_EQ(quits, 0);
  SendMessageW(Hwnd(main), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(quits, 1);  // handled inside the call: the process may end after it
  SendMessageW(Hwnd(other), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(quits, 1);  // every window hears it; the program answers once
}

TEST_F(Win32Test, TheConsoleClosingWaitsUntilTheLoopHasAnswered) {
  std::atomic<int> step{0};
  int answeredAt = 0;
  backend.RunTurn = [&] {
    vark::Event e;
    while (backend.WaitEvent(e, 0)) {
      if (e.kind == EventKind::Quit) answeredAt = ++step;
    }
  };
  // The system calls the handler on a thread of its own and ends the process
  // once it returns.
  std::atomic<int> returnedAt{0};
  std::thread system([&] {
    if (vark::win32::ConsoleControl::Handle(CTRL_CLOSE_EVENT)) returnedAt = ++step;
  });
  vark::Event e;
  const uint64_t end = backend.Now() + kPatienceMs;
  while (returnedAt == 0 && backend.Now() < end)
    backend.WaitEvent(e, 20);
  system.join();
  EXPECT_EQ(answeredAt, 1);
  EXPECT_EQ(returnedAt, 2);
}

TEST_F(Win32Test, AnErrorInsideTheWindowProcedureIsRaisedOnceTheSystemReturns) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  backend.RunTurn = [] { throw std::runtime_error("turn failed"); };
  SendMessageW(Hwnd(window), WM_ENDSESSION, TRUE, 0);  // returns: nothing unwound the system
  vark::Event e;
  EXPECT_THROW(backend.WaitEvent(e, 0), std::runtime_error);
  EXPECT_TRUE(backend.WaitEvent(e, 0));  // the Quit is still there
  EXPECT_EQ(e.kind, EventKind::Quit);
}

}  // namespace

TEST_F(Win32Test, AnErrorTheBackendCannotRaiseAnyMoreGoesToTheReport) {
  std::vector<std::string> reported;
  const auto report = [&](const std::exception& e) { reported.push_back(e.what()); };
  {
    SCOPED_TRACE("a turn failing as the session ends: the process may end after the call");
    const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
    backend.ReportError = report;
    backend.RunTurn = [] { throw std::runtime_error("turn failed"); };
    SendMessageW(Hwnd(window), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(reported, std::vector<std::string>{"turn failed"});
  }
  reported.clear();
  {
    SCOPED_TRACE("a handler's error still kept when the backend closes");
    vark::win32::Win32Backend closing;
    closing.ReportError = report;
    vark::WindowSpec params;
    params.bounds = Bounds(100, 100, 300, 200);
    const vark::WindowHandle window = closing.CreateWindow(params);
    closing.SetDragArea(window,
                        [](TPoint) -> bool { throw std::runtime_error("hit test failed"); });
    SendMessageW(Hwnd(window), WM_NCHITTEST, 0, MAKELPARAM(150, 150));
  }  // nothing may leave the destructor
  EXPECT_EQ(reported, std::vector<std::string>{"hit test failed"});
}
