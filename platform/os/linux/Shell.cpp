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
#include "platform/os/ProgramHeader.h"
#include "platform/os/ShellWatch.h"
#include "platform/os/SystemError.h"
#include "platform/os/linux/PathMapping.h"
#include "platform/os/linux/ShellWatch.h"
#include "platform/os/linux/Spawn.h"
#include "platform/os/linux/WineLookup.h"

namespace {

using vark::os::FoundWine;
using vark::os::ProgramKind;
using vark::os::SpawnFailure;
using vark::os::SpawnRequest;

// The reason of the last failed call when it says more than its result's
// code: ShellErrorText gives it for that result, as Windows keeps the last
// error for the system's text.
struct Failure {
  intptr_t result = 0;
  std::string reason;
};

Failure& LastFailure() {
  static Failure failure;
  return failure;
}

intptr_t Fail(intptr_t result, std::string reason) {
  LastFailure() = {result, std::move(reason)};
  return result;
}

constexpr char kWineMissing[] =
    "Wine was not found: Windows programs start through it. Install the wine package (on "
    "Debian and Ubuntu: sudo apt install wine), or name its program in the WINE environment "
    "variable.";
constexpr char kXdgOpenMissing[] =
    "xdg-open was not found: folders and files open through it. Install the xdg-utils package "
    "(on Debian and Ubuntu: sudo apt install xdg-utils).";
constexpr char kNo32BitWine[] =
    "This is a 32-bit Windows program, and this system's Wine runs only 64-bit programs.";
constexpr char kAdd32BitWineOnDebian[] =
    " Add 32-bit Wine, as root: dpkg --add-architecture i386 && apt-get update && apt-get "
    "install wine32:i386";
constexpr char kAdd32BitWineElsewhere[] =
    " Add 32-bit Wine: your system's 32-bit (multilib) Wine packages.";
constexpr char kNoPeHeader[] =
    "It is not a 32-bit or 64-bit Windows program (it may be a DOS or 16-bit program, or a "
    "damaged file), so Wine cannot start it.";
constexpr char kOtherMachine[] = "It is a Windows program for another kind of processor.";

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

enum FileKind { kWindowsProgram, kNativeProgram, kDocument };

// The file's first bytes, as many as its PE header may need.
std::string Head(int fd) {
  std::string head(vark::os::kProgramHeaderBytes, '\0');
  size_t got = 0;
  while (got < head.size()) {
    const ssize_t n = pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
    if (n > 0) {
      got += static_cast<size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  head.resize(got);
  return head;
}

// Tells a Windows program from a native one from a document by the first
// bytes. A file that only carries an execute bit (as everything on a
// Windows-formatted drive does) is not a program.
FileKind Classify(std::string_view head, const std::string& path) {
  if (head.starts_with("MZ")) return kWindowsProgram;
  const bool elf = head.starts_with("\177ELF");
  const bool script = head.starts_with("#!");
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

// wine's own overrides stay; ours only adds the one entry if it is not named.
std::string WineOverrides() {
  const char* current = std::getenv("WINEDLLOVERRIDES");
  const std::string ours = "winemenubuilder.exe=d";
  if (!current || !*current) return ours;
  const std::string value = current;
  if (value.find("winemenubuilder") != std::string::npos) return value;
  return value + ";" + ours;
}

// `helper` names the program that opens the file (Wine, xdg-open); null when
// the file is the program. A watched start hands its report pipe on, under
// the file's name as the caller gave it.
intptr_t Start(SpawnRequest request, const char* helper, const char* watchedFile = nullptr) {
  int reportFd = -1;
  const SpawnFailure failure =
      vark::os::SpawnDetached(request, request.watchMilliseconds > 0 ? &reportFd : nullptr);
  if (!failure) {
    if (reportFd >= 0) vark::os::AddShellWatch(reportFd, watchedFile ? watchedFile : "");
    return SE_OK;
  }
  switch (failure.stage) {
    case SpawnFailure::Directory:
      return SE_ERR_PNF;
    // The helper vanished or cannot run: nothing opens the file.
    case SpawnFailure::Exec:
      if (!helper) return FromErrno(failure.error);
      return Fail(SE_ERR_NOASSOC,
                  std::string(helper) + " (" + request.program +
                      ") could not be started: " + vark::os::SystemErrorText(failure.error) + ".");
    default:
      return FromErrno(failure.error);
  }
}

// A 32-bit program with no Wine to run it: what to install, in Debian's
// words where Debian's Wine is installed.
intptr_t Refuse32Bit(const vark::os::WineSearch& search) {
  struct stat st;
  const bool debian = stat(search.debianLoaderFolder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  return Fail(SE_ERR_BAD_FORMAT, std::string(kNo32BitWine) +
                                     (debian ? kAdd32BitWineOnDebian : kAdd32BitWineElsewhere));
}

// How a Windows program starts: its kind checked, Wine found, and for a
// 32-bit program a Wine that runs it. Fills the request's program and
// environment, or fails with the reason.
intptr_t PrepareWine(SpawnRequest& request, ProgramKind kind) {
  switch (kind) {
    case ProgramKind::NotWindows:
    case ProgramKind::NoPeHeader:
      return Fail(SE_ERR_BAD_FORMAT, kNoPeHeader);
    case ProgramKind::OtherMachine:
      return Fail(SE_ERR_BAD_FORMAT, kOtherMachine);
    case ProgramKind::Windows32:
    case ProgramKind::Windows64:
      break;
  }
  const vark::os::WineSearch search = vark::os::CurrentWineSearch();
  const FoundWine wine = vark::os::FindWine(search);
  if (wine.kind == FoundWine::VariableNotRunnable) {
    return Fail(SE_ERR_NOASSOC,
                "The WINE environment variable names \"" + wine.named +
                    "\", which is no program that can run. Name Wine's program there (a path, or "
                    "a name on the search path), or clear the variable to use the installed Wine.");
  }
  if (!wine) return Fail(SE_ERR_NOASSOC, kWineMissing);
  if (kind == ProgramKind::Windows32 && !vark::os::Runs32BitPrograms(wine, search))
    return Refuse32Bit(search);
  request.program = wine.program;
  request.environment = {{"WINEDLLOVERRIDES", WineOverrides()}};
  // Started without Debian's wrapper, the loader gets what the wrapper would
  // give it: its own path to start further Wine processes with, and no
  // "fixme" chatter unless the player asks for it.
  if (wine.IsLoader64()) {
    if (!std::getenv("WINELOADER")) request.environment.emplace_back("WINELOADER", wine.program);
    if (!std::getenv("WINEDEBUG")) request.environment.emplace_back("WINEDEBUG", "fixme-all");
  }
  return SE_OK;
}

intptr_t Execute(const char* verb, const char* file, const char* parameters, const char* directory,
                 bool watch) {
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
  auto openWithXdgOpen = [&]() -> intptr_t {
    request.program = vark::os::FindInPath("xdg-open");
    if (request.program.empty()) return Fail(SE_ERR_NOASSOC, kXdgOpenMissing);
    request.arguments = {absolute};
    return Start(std::move(request), "xdg-open");
  };

  if (S_ISDIR(st.st_mode)) return openWithXdgOpen();
  if (explore) return SE_ERR_NOASSOC;

  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FromErrno(errno);
  const std::string head = Head(fd);
  close(fd);
  const FileKind kind = Classify(head, path);

  const std::vector<std::string> args =
      parameters ? vark::os::SplitCommandLine(parameters) : std::vector<std::string>{};
  switch (kind) {
    case kWindowsProgram: {
      if (const intptr_t refused = PrepareWine(request, vark::os::ReadProgramKind(head));
          refused <= 32)
        return refused;
      request.arguments = {absolute};
      request.arguments.insert(request.arguments.end(), args.begin(), args.end());
      if (watch) request.watchMilliseconds = kShellWatchSeconds * 1000;
      return Start(std::move(request), "Wine", file);
    }
    case kNativeProgram:
      request.program = absolute;
      request.arguments = args;
      return Start(std::move(request), nullptr);
    case kDocument:
      return openWithXdgOpen();
  }
  return SE_ERR_NOASSOC;
}

// Every failure of a call starts from no reason of its own.
intptr_t Shell(const char* verb, const char* file, const char* parameters, const char* directory,
               bool watch) {
  LastFailure() = {};
  try {
    return Execute(verb, file, parameters, directory, watch);
  } catch (const EInOutError&) {
    // The path names a drive or a network share that has no place here.
    return SE_ERR_PNF;
  } catch (const std::bad_alloc&) {
    return SE_ERR_OOM;
  } catch (const std::exception&) {
    return SE_ERR_FNF;
  }
}

}  // namespace

intptr_t ShellExecuteW(void* /*hwnd*/, const char* verb, const char* file, const char* parameters,
                       const char* directory, int /*showCmd*/) {
  return Shell(verb, file, parameters, directory, false);
}

intptr_t ShellExecuteWatchedW(void* /*hwnd*/, const char* verb, const char* file,
                              const char* parameters, const char* directory, int /*showCmd*/) {
  return Shell(verb, file, parameters, directory, true);
}

std::string ShellErrorText(intptr_t result) {
  if (result > 32) return "";
  const Failure& last = LastFailure();
  if (last.result == result && !last.reason.empty()) return last.reason;
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
      return "No program was found to open it.";
    default:
      return "The system could not start it.";
  }
}
