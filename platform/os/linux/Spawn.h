// Starting a program that lives on its own: no shell, an argument list, its own
// session, stdin from /dev/null, and no child left for us to wait for.
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
SpawnFailure SpawnDetached(const SpawnRequest& request);

// The absolute path of an executable found on $PATH, or "" when there is none.
std::string FindInPath(std::string_view name);
// The same on the search path `path` (folders separated by ":").
std::string FindInSearchPath(std::string_view name, std::string_view path);

}  // namespace vark::os
