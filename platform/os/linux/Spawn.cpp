#include "platform/os/linux/Spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace vark::os {
namespace {

// Everything the child needs is built before fork: after it, only calls that
// are safe in a forked copy of a threaded process (the sound system and the
// display connection run threads) are made.
struct Prepared {
  std::vector<std::string> argStorage, envStorage;
  std::vector<char*> argv, envp;
};

Prepared Prepare(const SpawnRequest& request) {
  Prepared p;
  p.argStorage.push_back(request.program);
  p.argStorage.insert(p.argStorage.end(), request.arguments.begin(), request.arguments.end());
  for (char** e = environ; e && *e; ++e) {
    const std::string_view entry(*e);
    const std::string_view key = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& [name, value] : request.environment)
      replaced |= name == key;
    if (!replaced) p.envStorage.emplace_back(entry);
  }
  for (const auto& [name, value] : request.environment)
    p.envStorage.push_back(name + "=" + value);
  for (auto& s : p.argStorage)
    p.argv.push_back(s.data());
  for (auto& s : p.envStorage)
    p.envp.push_back(s.data());
  p.argv.push_back(nullptr);
  p.envp.push_back(nullptr);
  return p;
}

void Report(int fd, SpawnFailure::Stage stage, int error) {
  const int message[2] = {stage, error};
  // Nothing more can be done if the pipe is gone; the parent then sees success.
  [[maybe_unused]] const ssize_t n = write(fd, message, sizeof message);
}

void CloseFrom(int first, int last, int maxFd) {
  if (first > last) return;
  if (close_range(static_cast<unsigned>(first), static_cast<unsigned>(last), 0) == 0) return;
  for (int fd = first; fd <= last && fd < maxFd; ++fd)
    close(fd);
}

// In the grandchild: becomes the program or reports why not.
[[noreturn]] void RunProgram(const Prepared& p, const char* directory, int errorFd, int maxFd) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig)
    sigaction(sig, &dfl, nullptr);

  const int null = open("/dev/null", O_RDONLY);
  if (null >= 0 && null != STDIN_FILENO) {
    dup2(null, STDIN_FILENO);
    close(null);
  }
  // Keep stdin, stdout, stderr and the error pipe; close what else we hold
  // (display and sound connections, open files).
  CloseFrom(3, errorFd - 1, maxFd);
  CloseFrom(errorFd + 1, ~0u >> 1, maxFd);

  if (directory && chdir(directory) != 0) {
    Report(errorFd, SpawnFailure::Directory, errno);
    _exit(127);
  }
  execve(p.argv[0], p.argv.data(), p.envp.data());
  Report(errorFd, SpawnFailure::Exec, errno);
  _exit(127);
}

}  // namespace

SpawnFailure SpawnDetached(const SpawnRequest& request) {
  const Prepared prepared = Prepare(request);
  const char* directory = request.directory.empty() ? nullptr : request.directory.c_str();
  rlimit files{};
  const int maxFd = getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < 65536
                        ? static_cast<int>(files.rlim_cur)
                        : 65536;

  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return {SpawnFailure::Fork, errno};
  const pid_t middle = fork();
  if (middle < 0) {
    const int error = errno;
    close(pipeFds[0]);
    close(pipeFds[1]);
    return {SpawnFailure::Fork, error};
  }
  if (middle == 0) {
    close(pipeFds[0]);
    setsid();
    const pid_t program = fork();
    if (program < 0) {
      Report(pipeFds[1], SpawnFailure::Fork, errno);
      _exit(1);
    }
    if (program == 0) RunProgram(prepared, directory, pipeFds[1], maxFd);
    _exit(0);
  }

  close(pipeFds[1]);
  // The middle process exits as soon as it has forked; reaping it is immediate.
  while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes on a successful exec (close-on-exec) or carries the failure.
  int message[2] = {SpawnFailure::None, 0};
  size_t got = 0;
  while (got < sizeof message) {
    const ssize_t n =
        read(pipeFds[0], reinterpret_cast<char*>(message) + got, sizeof message - got);
    if (n > 0) {
      got += static_cast<size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipeFds[0]);
  if (got < sizeof message) return {};
  return {static_cast<SpawnFailure::Stage>(message[0]), message[1]};
}

std::string FindInPath(std::string_view name) {
  const char* path = std::getenv("PATH");
  return FindInSearchPath(name, path ? path : "/usr/local/bin:/usr/bin:/bin");
}

std::string FindInSearchPath(std::string_view name, std::string_view dirs) {
  if (name.empty()) return {};
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string_view dir = dirs.substr(start, end - start);
    // An empty entry means the current folder.
    const std::filesystem::path candidate =
        std::filesystem::path(dir.empty() ? std::string_view(".") : dir) / name;
    struct stat st;
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      std::error_code ec;
      const std::filesystem::path absolute = std::filesystem::absolute(candidate, ec);
      return ec ? candidate.string() : absolute.lexically_normal().string();
    }
    start = end + 1;
  }
  return {};
}

}  // namespace vark::os
