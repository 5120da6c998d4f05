#include "platform/os/linux/WineLookup.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "platform/os/linux/Spawn.h"

extern char** environ;

namespace vark::os {
namespace {

namespace fs = std::filesystem;

bool Runnable(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string AbsoluteOf(const std::string& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

enum class Format { Script, Elf32, Elf64, Other };

Format FormatOf(const std::string& path) {
  char head[5] = {};
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Format::Other;
  const ssize_t n = read(fd, head, sizeof head);
  close(fd);
  if (n >= 2 && head[0] == '#' && head[1] == '!') return Format::Script;
  if (n == 5 && head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F')
    return head[4] == 1 ? Format::Elf32 : head[4] == 2 ? Format::Elf64 : Format::Other;
  return Format::Other;
}

bool LoaderWorks(const std::string& loader, const WineSearch& search) {
  return Runnable(loader) && search.loaderRuns && search.loaderRuns(loader);
}

// `LOADER --version`, its output discarded, given a few seconds to exit 0.
bool AnswersVersion(const std::string& loader) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  std::string program = loader, option = "--version";
  char* argv[] = {program.data(), option.data(), nullptr};
  pid_t pid = 0;
  const int error = posix_spawn(&pid, loader.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (done < 0 && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() > until) {
      kill(pid, SIGKILL);
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string& DebianFolderOverride() {
  static std::string folder;
  return folder;
}

}  // namespace

void SetDebianWineFolder(std::string folder) {
  DebianFolderOverride() = std::move(folder);
}

WineSearch CurrentWineSearch() {
  WineSearch search;
  if (!DebianFolderOverride().empty()) search.debianLoaderFolder = DebianFolderOverride();
  const char* wine = std::getenv("WINE");
  if (wine) search.wineVariable = wine;
  const char* path = std::getenv("PATH");
  search.searchPath = path ? path : "/usr/local/bin:/usr/bin:/bin";
  search.loaderRuns = [](const std::string& loader) {
    // One answer per loader and run: the launcher has one thread that starts
    // programs, the user interface's.
    static std::map<std::string, bool> answers;
    const auto known = answers.find(loader);
    if (known != answers.end()) return known->second;
    return answers[loader] = AnswersVersion(loader);
  };
  return search;
}

FoundWine FindWine(const WineSearch& search) {
  FoundWine found;
  if (search.wineVariable && !search.wineVariable->empty()) {
    const std::string& named = *search.wineVariable;
    found.named = named;
    const std::string program = named.find('/') != std::string::npos
                                    ? (Runnable(named) ? AbsoluteOf(named) : std::string())
                                    : FindInSearchPath(named, search.searchPath);
    found.kind = program.empty() ? FoundWine::VariableNotRunnable : FoundWine::FromVariable;
    found.program = program;
    return found;
  }
  if (std::string wine = FindInSearchPath("wine", search.searchPath); !wine.empty()) {
    found.kind = FoundWine::WineOnPath;
    found.program = std::move(wine);
  } else if (std::string wine64 = FindInSearchPath("wine64", search.searchPath); !wine64.empty()) {
    found.kind = FoundWine::Wine64OnPath;
    found.program = std::move(wine64);
  } else if (const std::string debian = search.debianLoaderFolder + "/wine64"; Runnable(debian)) {
    found.kind = FoundWine::DebianLoader;
    found.program = AbsoluteOf(debian);
  }
  return found;
}

bool Runs32BitPrograms(const FoundWine& wine, const WineSearch& search) {
  switch (wine.kind) {
    case FoundWine::None:
    case FoundWine::VariableNotRunnable:
      return false;
    case FoundWine::FromVariable:
      return true;
    case FoundWine::Wine64OnPath:
    case FoundWine::DebianLoader: {
      // The 32-bit loader sits beside the real file, not beside a link to it.
      std::error_code ec;
      fs::path real = fs::canonical(wine.program, ec);
      if (ec) real = wine.program;
      return LoaderWorks((real.parent_path() / "wine").string(), search);
    }
    case FoundWine::WineOnPath:
      switch (FormatOf(wine.program)) {
        case Format::Elf32:
          return LoaderWorks(wine.program, search);
        case Format::Elf64:
          return true;
        case Format::Script: {
          struct stat st;
          const bool debian =
              stat(search.debianLoaderFolder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
          return !debian || LoaderWorks(search.debianLoaderFolder + "/wine", search);
        }
        case Format::Other:
          return true;
      }
  }
  return false;
}

}  // namespace vark::os
