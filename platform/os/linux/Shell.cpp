#include "platform/os/Shell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Exceptions.h"
#include "platform/os/CommandLine.h"
#include "platform/os/linux/PathMapping.h"
#include "platform/os/linux/Spawn.h"

namespace {

using vark::os::SpawnFailure;
using vark::os::SpawnRequest;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

enum FileKind { kWindowsProgram, kNativeProgram, kDocument };

// Reads the first bytes to tell a Windows program from a native one from a
// document. A file that only carries an execute bit (as everything on a
// Windows-formatted drive does) is not a program.
FileKind Classify(int fd, const std::string& path) {
  char head[4] = {};
  const ssize_t n = pread(fd, head, sizeof head, 0);
  if (n >= 2 && head[0] == 'M' && head[1] == 'Z') return kWindowsProgram;
  const bool elf = n >= 4 && head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F';
  const bool script = n >= 2 && head[0] == '#' && head[1] == '!';
  if ((elf || script) && access(path.c_str(), X_OK) == 0) return kNativeProgram;
  return kDocument;
}

// A path made absolute against the current folder, without "." and ".." and
// without a trailing separator, as the opener is given it.
std::string Absolute(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  if (ec) p = path;
  std::string s = p.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/')
    s.pop_back();
  return s;
}

// A file or folder that does not exist: "file not found" when its folder
// exists, "path not found" when the folder is missing too.
intptr_t MissingResult(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(Absolute(path)).parent_path();
  struct stat st;
  return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? SE_ERR_FNF : SE_ERR_PNF;
}

intptr_t FromErrno(int error) {
  switch (error) {
    case ENOENT:
      return SE_ERR_FNF;
    case ENOTDIR:
      return SE_ERR_PNF;
    case EACCES:
    case EPERM:
      return SE_ERR_ACCESSDENIED;
    case ENOMEM:
      return SE_ERR_OOM;
    case ENOEXEC:
      return SE_ERR_BAD_FORMAT;
    case EAGAIN:
    case EMFILE:
    case ENFILE:
      return SE_ERR_OUT_OF_RESOURCES;
  }
  return SE_ERR_ACCESSDENIED;
}

intptr_t Start(SpawnRequest request, bool viaHelper) {
  const SpawnFailure failure = vark::os::SpawnDetached(request);
  if (!failure) return SE_OK;
  switch (failure.stage) {
    case SpawnFailure::Directory:
      return SE_ERR_PNF;
    // The helper (wine, xdg-open) vanished or cannot run: nothing opens the file.
    case SpawnFailure::Exec:
      return viaHelper ? SE_ERR_NOASSOC : FromErrno(failure.error);
    default:
      return FromErrno(failure.error);
  }
}

// wine's own overrides stay; ours only adds the one entry if it is not named.
std::string WineOverrides() {
  const char* current = std::getenv("WINEDLLOVERRIDES");
  const std::string ours = "winemenubuilder.exe=d";
  if (!current || !*current) return ours;
  const std::string value = current;
  if (value.find("winemenubuilder") != std::string::npos) return value;
  return value + ";" + ours;
}

intptr_t Execute(const char* verb, const char* file, const char* parameters,
                 const char* directory) {
  const bool explore = verb && EqualsIgnoringCase(verb, "explore");
  if (verb && *verb && !EqualsIgnoringCase(verb, "open") && !explore) return SE_ERR_NOASSOC;
  if (!file || !*file) return SE_ERR_FNF;

  std::string path = vark::os::ToLinuxPath(file);
  // A bare program name that is not in the current folder is looked up on PATH.
  struct stat st;
  const std::string_view name(file);
  if (name.find_first_of("/\\") == std::string_view::npos && stat(path.c_str(), &st) != 0) {
    const std::string found = vark::os::FindInPath(name);
    if (!found.empty()) path = found;
  }

  SpawnRequest request;
  if (directory && *directory) {
    request.directory = vark::os::ToLinuxPath(directory);
    if (stat(request.directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return SE_ERR_PNF;
  }

  if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? MissingResult(path) : FromErrno(errno);
  const std::string absolute = Absolute(path);
  auto openWith = [&](const char* helper) -> intptr_t {
    request.program = vark::os::FindInPath(helper);
    if (request.program.empty()) return SE_ERR_NOASSOC;
    request.arguments = {absolute};
    return Start(std::move(request), true);
  };

  if (S_ISDIR(st.st_mode)) return openWith("xdg-open");
  if (explore) return SE_ERR_NOASSOC;

  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FromErrno(errno);
  const FileKind kind = Classify(fd, path);
  close(fd);

  const std::vector<std::string> args =
      parameters ? vark::os::SplitCommandLine(parameters) : std::vector<std::string>{};
  switch (kind) {
    case kWindowsProgram:
      request.program = vark::os::FindInPath("wine");
      if (request.program.empty()) return SE_ERR_NOASSOC;
      request.arguments = {absolute};
      request.arguments.insert(request.arguments.end(), args.begin(), args.end());
      request.environment = {{"WINEDLLOVERRIDES", WineOverrides()}};
      return Start(std::move(request), true);
    case kNativeProgram:
      request.program = absolute;
      request.arguments = args;
      return Start(std::move(request), false);
    case kDocument:
      return openWith("xdg-open");
  }
  return SE_ERR_NOASSOC;
}

}  // namespace

intptr_t ShellExecuteW(void* /*hwnd*/, const char* verb, const char* file, const char* parameters,
                       const char* directory, int /*showCmd*/) {
  try {
    return Execute(verb, file, parameters, directory);
  } catch (const EInOutError&) {
    // The path names a drive or a network share that has no place here.
    return SE_ERR_PNF;
  } catch (const std::bad_alloc&) {
    return SE_ERR_OOM;
  } catch (const std::exception&) {
    return SE_ERR_FNF;
  }
}

std::string ShellErrorText(intptr_t result) {
  if (result > 32) return "";
  switch (result) {
    case SE_ERR_FNF:
      return "The file was not found.";
    case SE_ERR_PNF:
      return "The folder was not found.";
    case SE_ERR_ACCESSDENIED:
      return "Access was denied: the file is not readable or not marked as a program.";
    case SE_ERR_OOM:
    case SE_ERR_OUT_OF_RESOURCES:
      return "The system could not start another program just now.";
    case SE_ERR_BAD_FORMAT:
      return "It is not a program this system can run.";
    case SE_ERR_NOASSOC:
      return "No program was found to open it. Windows programs need Wine (the wine "
             "package); folders and files need xdg-open (the xdg-utils package).";
    default:
      return "The system could not start it.";
  }
}
