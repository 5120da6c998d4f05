// On Windows the shell reports a program that cannot start as the call's
// failure: there is nothing to watch afterwards.
#include "platform/os/ShellWatch.h"

#include "platform/os/Shell.h"

intptr_t ShellExecuteWatchedW(void* hwnd, const char* verb, const char* file,
                              const char* parameters, const char* directory, int showCmd) {
  return ShellExecuteW(hwnd, verb, file, parameters, directory, showCmd);
}

bool ShellWatchPending() {
  return false;
}

std::vector<ShellEarlyExit> TakeShellEarlyExits() {
  return {};
}
