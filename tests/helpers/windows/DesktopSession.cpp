// Holds a Windows test session's desktop open until the session is stopped.
// Wine closes a desktop a second after the last program on it ends, so every
// windowed test would start Wine's desktop process anew; and that process,
// started by a test, would keep the test's output open for CTest until it
// closed. Started once at the session's start, with its output elsewhere, it
// holds the desktop for all of them.
//
//   DesktopSession.exe READY   creates the file READY once the desktop is up
#include <windows.h>

#include <shellapi.h>  // after windows.h, whose types it uses

int main() {
  if (GetDesktopWindow() == nullptr) return 1;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv != nullptr && argc > 1) {
    HANDLE ready = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(ready);
  }
  Sleep(INFINITE);
  return 0;
}
