// The Windows backend under test: a fresh one per test, windows on the test
// run's own X server (scripts/wine-run.sh), and the events it hands out.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/windows/Win32Backend.h"

namespace vark::test {

inline const char* KindName(EventKind kind) {
  static const char* const names[] = {"None",         "MouseMove",    "MouseDown",  "MouseUp",
                                      "MouseWheel",   "MouseLeave",   "KeyDown",    "KeyUp",
                                      "TextInput",    "CloseRequest", "Moved",      "Resized",
                                      "StateChanged", "FocusGained",  "FocusLost",  "Exposed",
                                      "Quit",         "ScaleChanged", "CaptureLost"};
  return names[static_cast<int>(kind)];
}

// Moves the pointer to a desktop point and presses or releases buttons there
// (MOUSEEVENTF_* flags), as a user does.
inline void Pointer(POINT at, DWORD flags = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = MulDiv(at.x, 65535, width - 1);
  input.mi.dy = MulDiv(at.y, 65535, height - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  SendInput(1, &input, sizeof(input));
}

class Win32Test : public ::testing::Test {
 protected:
  // Generous: only a backend that never delivers what it should takes it.
  static constexpr int kPatienceMs = 5000;

  // A shown window of the given outer bounds, with what showing it said
  // (focus, exposure) taken from the queue.
  WindowHandle Shown(const TRect& bounds, WindowHandle owner = 0) {
    WindowSpec params;
    params.title = "Backend test";
    params.bounds = bounds;
    params.owner = owner;
    params.taskbar = owner == 0;
    WindowHandle window = backend.CreateWindow(params);
    backend.SetVisible(window, true);
    Drain();
    return window;
  }
  static HWND Hwnd(WindowHandle window) { return win32::WindowOf(window); }

  // Every event until the queue and the thread's messages are empty.
  std::vector<Event> Drain() {
    std::vector<Event> events;
    Event e;
    while (backend.WaitEvent(e, 50))
      events.push_back(e);
    return events;
  }
  // Waits for the next event of a kind, dropping others; fails the test
  // (kind None) when none comes.
  Event Next(EventKind kind) {
    const uint64_t end = backend.Now() + kPatienceMs;
    Event e;
    while (backend.Now() < end) {
      if (backend.WaitEvent(e, 50) && e.kind == kind) return e;
    }
    ADD_FAILURE() << "no " << KindName(kind) << " event came";
    return {};
  }
  static std::vector<EventKind> Kinds(const std::vector<Event>& events) {
    std::vector<EventKind> kinds;
    for (const Event& e : events)
      kinds.push_back(e.kind);
    return kinds;
  }
  static bool Has(const std::vector<Event>& events, EventKind kind) {
    for (const Event& e : events) {
      if (e.kind == kind) return true;
    }
    return false;
  }

  win32::Win32Backend backend;
};

}  // namespace vark::test
