#include "platform/os/ShellWatch.h"

#include "platform/os/linux/ShellWatch.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "platform/os/linux/Spawn.h"

namespace vark::os {
namespace {

struct Pending {
  int fd;
  std::string file;
  std::string received;
};

// The watches whose answer has not come in, oldest first. The launcher
// starts programs and takes reports on its one user-interface thread.
std::vector<Pending>& PendingWatches() {
  static std::vector<Pending> pending;
  return pending;
}

std::string StatusText(int status) {
  if (WIFSIGNALED(status)) {
    const int sig = WTERMSIG(status);
    const char* name = sigdescr_np(sig);
    return "signal " + std::to_string(sig) + (name ? std::string(" (") + name + ")" : "");
  }
  return "exit code " + std::to_string(WEXITSTATUS(status));
}

// The last lines of `output`, within the dialog's limits, cut at a line's
// start where the byte limit falls inside one and never inside a character.
std::string LastLines(std::string_view output) {
  std::string text;
  for (char c : output)
    if (c != '\r') text += c;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
    text.pop_back();
  if (text.size() > kShellEarlyExitChars) {
    size_t start = text.size() - kShellEarlyExitChars;
    const size_t line = text.find('\n', start - 1);
    if (line != std::string::npos && line + 1 < text.size()) {
      start = line + 1;
    } else {
      while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        ++start;
    }
    text.erase(0, start);
  }
  int lines = 0;
  for (size_t at = text.size(); at-- > 0;) {
    if (text[at] == '\n' && ++lines == kShellEarlyExitLines) {
      text.erase(0, at + 1);
      break;
    }
  }
  return text;
}

}  // namespace

void AddShellWatch(int fd, std::string file) {
  PendingWatches().push_back({fd, std::move(file), {}});
}

}  // namespace vark::os

bool ShellWatchPending() {
  return !vark::os::PendingWatches().empty();
}

std::vector<ShellEarlyExit> TakeShellEarlyExits() {
  std::vector<ShellEarlyExit> reports;
  auto& pending = vark::os::PendingWatches();
  for (auto it = pending.begin(); it != pending.end();) {
    vark::os::WatchReport report;
    const vark::os::WatchState state = vark::os::ReadWatchReport(it->fd, it->received, report);
    if (state == vark::os::WatchState::Waiting) {
      ++it;
      continue;
    }
    if (state == vark::os::WatchState::Reported)
      reports.push_back(
          {it->file, vark::os::StatusText(report.status), vark::os::LastLines(report.errorTail)});
    close(it->fd);
    it = pending.erase(it);
  }
  return reports;
}
