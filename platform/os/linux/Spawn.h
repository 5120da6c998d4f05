// Starting a program that lives on its own: no shell, an argument list, its own
// session, stdin from /dev/null, and no child left for us to wait for; and,
// when asked, word of it ending at once with a failure.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vark::os {

struct SpawnRequest {
  std::string program;                 // absolute path of the executable
  std::vector<std::string> arguments;  // after argv[0], which is `program`
  std::string directory;               // working folder; empty keeps ours
  // Variables set (or replaced) in the program's environment; the rest is ours.
  std::vector<std::pair<std::string, std::string>> environment;
  // How long after its start the program is watched (see SpawnDetached); 0
  // watches nothing.
  int watchMilliseconds = 0;
};

// What went wrong when the program could not be started.
struct SpawnFailure {
  enum Stage : int { None, Fork, Directory, Exec } stage = None;
  int error = 0;  // errno
  explicit operator bool() const { return stage != None; }
};

// Starts the program through a double fork: the middle process starts a new
// session and exits at once (we reap it), so the program is adopted by init
// (or the nearest subreaper) and never becomes our zombie. Returns once the
// program has been exec'd or has failed to be; it does not wait for it to run.
// The program gets default signal handling and an empty signal mask, and none
// of our file descriptors beyond stdout and stderr.
//
// With a watch (request.watchMilliseconds > 0 and reportFd given), a third
// fork puts a watcher between: the go-between forks the watcher and exits,
// the watcher (adopted by init, so never our zombie either) forks the program
// and is its parent. It passes everything the program writes to its stderr on
// to ours as it comes, keeping the last kWatchTailBytes, and reaps the
// program. When the program ends within the watch time with a failure (an
// exit code other than 0, or a signal), it writes a report (the wait status
// and the kept bytes) to the report pipe; at the end of the watch time, or
// at a normal end, it closes the pipe with nothing in it. It goes on passing
// the error output until the last writer closes it (Wine's own processes
// keep it for as long as they run), so nothing the program writes hits a
// closed pipe, and lives on no longer. *reportFd gets the pipe's reading end,
// non-blocking and close-on-exec, for ReadWatchReport; on failure it is
// untouched. The watcher makes only calls that are safe after fork and
// allocates nothing.
SpawnFailure SpawnDetached(const SpawnRequest& request, int* reportFd = nullptr);

// How many of the last bytes of a watched program's error output a report
// carries.
constexpr size_t kWatchTailBytes = 2048;

// What a watch said.
struct WatchReport {
  int status = 0;  // as waitpid gives it
  std::string errorTail;
};
enum class WatchState { Waiting, Quiet, Reported };

// Takes what has arrived on a report pipe without blocking, gathering it in
// `received` across calls. Waiting: nothing final yet; Quiet: the pipe was
// closed with no report (the program runs on, or ended well); Reported: the
// program ended early with a failure, told in `report`. The caller closes
// the pipe once the answer is final.
WatchState ReadWatchReport(int fd, std::string& received, WatchReport& report);

// The absolute path of an executable found on $PATH, or "" when there is none.
std::string FindInPath(std::string_view name);
// The same on the search path `path` (folders separated by ":").
std::string FindInSearchPath(std::string_view name, std::string_view path);

}  // namespace vark::os
