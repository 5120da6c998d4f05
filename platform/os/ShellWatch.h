// Programs that end at once. A game started through Wine may fail after Wine
// itself has started (no 32-bit Wine after all, a broken prefix, a missing
// DLL), and Wine then ends within moments with a failure status and its
// reason on its error output: to the launcher that would look like a game
// that started. ShellExecuteWatchedW starts a program as ShellExecuteW does
// and, on Linux, watches a Windows program started through Wine for its
// first kShellWatchSeconds; one that ends within them with a failure status
// (an exit code other than 0, or a signal) is reported, with the last lines
// it wrote to its error output. A program that runs on, or ends with 0, is
// never reported. The watch costs the caller nothing while it runs: reports
// are taken when the caller asks, without waiting.
//
// On Windows the system itself says when a program cannot start, so nothing
// is watched and nothing reported.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kShellWatchSeconds = 10;

// As ShellExecuteW (Shell.h), with the watch described above.
intptr_t ShellExecuteWatchedW(void* hwnd, const char* verb, const char* file,
                              const char* parameters, const char* directory, int showCmd);

struct ShellEarlyExit {
  std::string file;    // as it was given to ShellExecuteWatchedW
  std::string status;  // "exit code 3", "signal 11 (Segmentation fault)"
  // Its last lines of error output (at most kShellEarlyExitLines lines and
  // kShellEarlyExitChars bytes, whole UTF-8 characters), "\n" between them.
  std::string errorOutput;
};

constexpr int kShellEarlyExitLines = 8;
constexpr size_t kShellEarlyExitChars = 1000;

// Whether a watched program is still in its first seconds, or its report has
// not been taken yet: while this holds, the caller asks again now and then.
bool ShellWatchPending();

// The reports that have come in since the last call, oldest start first;
// never waits.
std::vector<ShellEarlyExit> TakeShellEarlyExits();
