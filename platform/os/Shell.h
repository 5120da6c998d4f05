// ShellExecuteW: starts a program or opens a file or folder, the way the
// desktop's shell would, without a shell command line in between.
//
// On Windows the system's shell does it (ShellExecuteExW with the verb, the
// parameters as they are and the working folder). The shell takes no path of
// 260 characters or more: such a file or working folder is refused
// (SE_ERR_PNF) with the system's "too long" reason. On Linux:
//
//   a folder                      xdg-open with its absolute path
//   a Windows program ("MZ")      Wine (see linux/WineLookup.h for which one) with
//                                 the path and the parameters as its arguments,
//                                 WINEDLLOVERRIDES=winemenubuilder.exe=d added so
//                                 the game leaves the desktop's menus alone; a
//                                 file with no 32-bit or 64-bit PE header, or a
//                                 32-bit program where Wine runs only 64-bit
//                                 ones, is refused (SE_ERR_BAD_FORMAT)
//   a native program (ELF, "#!")  started directly with the parameters
//   any other file                xdg-open with its absolute path
//
// There paths are the launcher's Windows-style paths, mapped to the file
// system; parameters are split into arguments as a Windows program's runtime
// splits its command line (see CommandLine.h); the program runs in its own
// session with stdin from /dev/null.
//
// A relative path is taken from the current folder. The program runs in the
// working folder given (ours when it is null or empty); the call returns as
// soon as it has started and never waits for it.
//
// The result follows the classic convention: greater than 32 on success, else
// one of the error codes below. It never throws.
#pragma once

#include <cstdint>
#include <string>

// Show commands. The programs started here choose their own window state, so
// the value is accepted and not used.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// Results of ShellExecuteW at or below 32.
constexpr intptr_t SE_ERR_OUT_OF_RESOURCES = 0;  // the system could not start a process
constexpr intptr_t SE_ERR_FNF = 2;               // file not found
constexpr intptr_t SE_ERR_PNF = 3;               // path (or working folder) not found
constexpr intptr_t SE_ERR_ACCESSDENIED = 5;
constexpr intptr_t SE_ERR_OOM = 8;
constexpr intptr_t SE_ERR_BAD_FORMAT = 11;  // not a program the system can run
constexpr intptr_t SE_ERR_NOASSOC = 31;     // no program to open it (or an unknown verb)
// The value returned on success.
constexpr intptr_t SE_OK = 42;

// `verb` null, empty or "open" (any case) opens; "explore" opens a folder. The
// owner window and the show command are accepted for the callers' sake and
// not used. `parameters` and `directory` may be null (missing) or empty.
intptr_t ShellExecuteW(void* hwnd, const char* verb, const char* file, const char* parameters,
                       const char* directory, int showCmd);

// Why the ShellExecuteW call that returned `result` failed, as a sentence a
// user can act on ("The file was not found."); for a result above 32, an empty
// string. It is the reason of the last failed call when that call returned
// `result`: on Windows the system's own, on Linux the shell's (Wine or
// xdg-open missing, each with what to install, a 32-bit program with no
// 32-bit Wine); else the code's general text.
std::string ShellErrorText(intptr_t result);
