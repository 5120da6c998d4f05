#include "platform/backend/windows/ConsoleControl.h"

#include <atomic>

#include "platform/os/windows/Win32.h"

namespace vark::win32 {

namespace {

// The handler is a plain function, called on the system's thread at any time,
// also while a backend goes away: it reads only these.
std::atomic<HWND> targetWindow{nullptr};
std::atomic<UINT> targetMessage{0};

HANDLE AnsweredEvent() {
  static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return event;
}

// The system gives a handler some seconds after a close before it ends the
// process; waiting longer gains nothing.
constexpr DWORD kAnswerWaitMs = 10000;

BOOL WINAPI OnConsoleEvent(DWORD kind) {
  return ConsoleControl::Handle(kind);
}

}  // namespace

bool ConsoleControl::Handle(unsigned long kind) {
  const HWND window = targetWindow.load();
  if (window == nullptr) return false;  // the system's default: the process ends
  ResetEvent(AnsweredEvent());
  if (!PostMessageW(window, targetMessage.load(), kind, 0)) return false;
  if (kind == CTRL_CLOSE_EVENT || kind == CTRL_LOGOFF_EVENT || kind == CTRL_SHUTDOWN_EVENT) {
    WaitForSingleObject(AnsweredEvent(), kAnswerWaitMs);
  }
  return true;
}

ConsoleControl::ConsoleControl(void* window, uint32_t message) {
  targetMessage.store(message);
  targetWindow.store(static_cast<HWND>(window));
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

ConsoleControl::~ConsoleControl() {
  SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
  targetWindow.store(nullptr);
  Answered();  // a handler waiting now goes
}

void ConsoleControl::Answered() {
  SetEvent(AnsweredEvent());
}

}  // namespace vark::win32
