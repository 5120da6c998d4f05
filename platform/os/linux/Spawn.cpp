#include "platform/os/linux/Spawn.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
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

// --- the watcher: after fork, so only async-signal-safe calls, no allocation.

// The report's fixed part, then `length` bytes of error output.
struct ReportHeader {
  int32_t status;
  uint32_t length;
};

int64_t NowMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool Failed(int status) {
  return (WIFEXITED(status) && WEXITSTATUS(status) != 0) || WIFSIGNALED(status);
}

// The last kWatchTailBytes bytes that went by, in a ring.
struct Tail {
  char bytes[kWatchTailBytes];
  size_t total = 0;  // bytes ever kept; the ring holds the last of them
  void Keep(const char* data, size_t n) {
    for (size_t i = 0; i < n; ++i)
      bytes[(total + i) % kWatchTailBytes] = data[i];
    total += n;
  }
  // Copies the kept bytes, oldest first, to out; returns how many.
  size_t CopyTo(char* out) const {
    const size_t n = total < kWatchTailBytes ? total : kWatchTailBytes;
    for (size_t i = 0; i < n; ++i)
      out[i] = bytes[(total - n + i) % kWatchTailBytes];
    return n;
  }
};

void WriteAll(int fd, const char* data, size_t n) {
  while (n > 0) {
    const ssize_t w = write(fd, data, n);
    if (w < 0 && errno == EINTR) continue;
    // Our stderr gone or full for good: what cannot be passed on is dropped,
    // and the program's output is still read.
    if (w <= 0) return;
    data += w;
    n -= static_cast<size_t>(w);
  }
}

// Reads what the program's error output holds now; false once it is closed.
bool Forward(int errorRead, Tail& tail) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(errorRead, buffer, sizeof buffer);
    if (n > 0) {
      WriteAll(STDERR_FILENO, buffer, static_cast<size_t>(n));
      tail.Keep(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && errno == EAGAIN;
  }
}

void SendReport(int report, int status, const Tail& tail) {
  // One write of at most kWatchTailBytes + 8 bytes into an empty pipe: it
  // neither blocks nor splits (below PIPE_BUF).
  char message[sizeof(ReportHeader) + kWatchTailBytes];
  const size_t length = tail.CopyTo(message + sizeof(ReportHeader));
  const ReportHeader header{status, static_cast<uint32_t>(length)};
  memcpy(message, &header, sizeof header);
  WriteAll(report, message, sizeof header + length);
}

[[noreturn]] void Watch(pid_t program, int errorRead, int report, int watchMilliseconds,
                        int maxFd) {
  // Default handling for every signal but SIGPIPE: a reader of our stderr
  // that went away must not end the watcher, or the program's next write
  // to its error output would end the program.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig)
    sigaction(sig, &action, nullptr);
  action.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &action, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  // The watcher may live for hours: it keeps nothing of ours but stdin,
  // stdout, stderr and its two pipes.
  const int low = errorRead < report ? errorRead : report;
  const int high = errorRead < report ? report : errorRead;
  CloseFrom(3, low - 1, maxFd);
  CloseFrom(low + 1, high - 1, maxFd);
  CloseFrom(high + 1, ~0u >> 1, maxFd);
  fcntl(errorRead, F_SETFL, fcntl(errorRead, F_GETFL) | O_NONBLOCK);
  // The program's end wakes the poll where the kernel offers a descriptor
  // for a process; elsewhere the watch looks every 50 ms.
  int programFd = -1;
#ifdef SYS_pidfd_open
  programFd = static_cast<int>(syscall(SYS_pidfd_open, program, 0));
#endif

  Tail tail;
  const int64_t deadline = NowMilliseconds() + watchMilliseconds;
  bool ended = false, errorOpen = true, reportOpen = true;
  int status = 0;
  for (;;) {
    if (!ended) {
      const pid_t done = waitpid(program, &status, WNOHANG);
      ended = done == program || (done < 0 && errno == ECHILD);
    }
    const int64_t left = deadline - NowMilliseconds();
    if (reportOpen && (ended || left <= 0)) {
      if (ended && left > 0 && Failed(status)) {
        // What the program wrote last is in the pipe by now.
        if (errorOpen) errorOpen = Forward(errorRead, tail);
        SendReport(report, status, tail);
      }
      close(report);
      reportOpen = false;
    }
    if (ended && !errorOpen) break;
    if (!ended && !errorOpen && !reportOpen) {
      while (waitpid(program, &status, 0) < 0 && errno == EINTR) {
      }
      break;
    }
    int timeout = -1;
    if (reportOpen) timeout = static_cast<int>(left);
    if (!ended && programFd < 0 && (timeout < 0 || timeout > 50)) timeout = 50;
    pollfd fds[2] = {{errorOpen ? errorRead : -1, POLLIN, 0}, {ended ? -1 : programFd, POLLIN, 0}};
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) {
      // Nothing to wait on any more: the program's end is all that is left.
      errorOpen = false;
      continue;
    }
    if (errorOpen && fds[0].revents != 0) errorOpen = Forward(errorRead, tail);
  }
  _exit(0);
}

}  // namespace

SpawnFailure SpawnDetached(const SpawnRequest& request, int* reportFd) {
  const Prepared prepared = Prepare(request);
  const char* directory = request.directory.empty() ? nullptr : request.directory.c_str();
  rlimit files{};
  const int maxFd = getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < 65536
                        ? static_cast<int>(files.rlim_cur)
                        : 65536;

  const bool watch = reportFd != nullptr && request.watchMilliseconds > 0;
  // The start's own pipe (a failed exec), and for a watch the report pipe and
  // the program's error output.
  int pipeFds[2], reportPipe[2] = {-1, -1}, errorPipe[2] = {-1, -1};
  auto closeAll = [&] {
    for (int fd :
         {pipeFds[0], pipeFds[1], reportPipe[0], reportPipe[1], errorPipe[0], errorPipe[1]})
      if (fd >= 0) close(fd);
  };
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return {SpawnFailure::Fork, errno};
  if (watch && (pipe2(reportPipe, O_CLOEXEC) != 0 || pipe2(errorPipe, O_CLOEXEC) != 0)) {
    const int error = errno;
    closeAll();
    return {SpawnFailure::Fork, error};
  }
  const pid_t middle = fork();
  if (middle < 0) {
    const int error = errno;
    closeAll();
    return {SpawnFailure::Fork, error};
  }
  if (middle == 0) {
    close(pipeFds[0]);
    setsid();
    if (watch) {
      close(reportPipe[0]);
      const pid_t watcher = fork();
      if (watcher < 0) {
        Report(pipeFds[1], SpawnFailure::Fork, errno);
        _exit(1);
      }
      if (watcher > 0) _exit(0);
    }
    const pid_t program = fork();
    if (program < 0) {
      Report(pipeFds[1], SpawnFailure::Fork, errno);
      _exit(1);
    }
    if (program == 0) {
      // The copy on stderr stays open across exec; the pipe's own ends close.
      if (watch) dup2(errorPipe[1], STDERR_FILENO);
      RunProgram(prepared, directory, pipeFds[1], maxFd);
    }
    if (!watch) _exit(0);
    // The start's pipe must close with the exec alone, and the error output
    // with the program and its children.
    close(pipeFds[1]);
    close(errorPipe[1]);
    Watch(program, errorPipe[0], reportPipe[1], request.watchMilliseconds, maxFd);
  }

  close(pipeFds[1]);
  if (watch) {
    close(reportPipe[1]);
    close(errorPipe[0]);
    close(errorPipe[1]);
  }
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
  if (got == sizeof message) {
    if (watch) close(reportPipe[0]);
    return {static_cast<SpawnFailure::Stage>(message[0]), message[1]};
  }
  if (watch) {
    fcntl(reportPipe[0], F_SETFL, fcntl(reportPipe[0], F_GETFL) | O_NONBLOCK);
    *reportFd = reportPipe[0];
  }
  return {};
}

WatchState ReadWatchReport(int fd, std::string& received, WatchReport& report) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      received.append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return WatchState::Waiting;
    break;  // closed (or broken): the answer is final
  }
  ReportHeader header{};
  if (received.size() < sizeof header) return WatchState::Quiet;
  memcpy(&header, received.data(), sizeof header);
  if (received.size() != sizeof header + header.length) return WatchState::Quiet;
  report.status = header.status;
  report.errorTail = received.substr(sizeof header);
  return WatchState::Reported;
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
