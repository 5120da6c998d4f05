#include "platform/os/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/os/PathSyntax.h"
#include "platform/os/SystemError.h"
#include "platform/os/linux/LocalTime.h"
#include "platform/os/linux/PathMapping.h"

namespace vark::os {
namespace {

// stat() of the mapped path; when the exact name is missing, of the path after
// case matching. Returns false when neither exists. Mapping errors propagate.
bool StatMapped(const std::string& path, struct stat& st) {
  // A NUL inside the name would silently cut the path short.
  if (path.find('\0') != std::string::npos) {
    errno = EINVAL;
    return false;
  }
  std::string mapped = MapWindowsPath(path);
  if (stat(mapped.c_str(), &st) == 0) return true;
  if (errno != ENOENT && errno != ENOTDIR) return false;
  std::string matched = MatchPathCase(mapped);
  if (matched == mapped) {
    errno = ENOENT;
    return false;
  }
  return stat(matched.c_str(), &st) == 0;
}

}  // namespace

std::optional<TDateTime> FileLastWriteTime(const std::string& path) {
  struct stat st;
  try {
    if (!StatMapped(path, st) || !S_ISREG(st.st_mode)) return std::nullopt;
  } catch (const EInOutError&) {
    return std::nullopt;  // an unmapped drive holds no file
  }
  return LocalDayNumber(st.st_mtim);
}

}  // namespace vark::os

namespace {

struct stat StatOrZero(const std::string& path, bool& found) {
  struct stat st {};
  try {
    found = vark::os::StatMapped(path, st);
  } catch (const EInOutError&) {
    found = false;
  }
  return st;
}

bool IsWindowsPath(const std::string& path) {
  return !path.empty() && path[0] != '/';
}

}  // namespace

bool FileExists(const std::string& FileName) {
  bool found = false;
  struct stat st = StatOrZero(FileName, found);
  return found && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& Directory) {
  bool found = false;
  struct stat st = StatOrZero(Directory, found);
  return found && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& Dir) {
  if (Dir.empty()) throw EInOutError("Unable to create directory");
  if (Dir.find('\0') != std::string::npos ||
      (IsWindowsPath(Dir) && vark::os::HasReservedCharacter(Dir))) {
    throw EInOutError(vark::os::kInvalidPathSyntax);
  }
  std::string target = vark::os::ToLinuxPath(Dir);
  while (target.size() > 1 && target.back() == '/')
    target.pop_back();

  struct stat st;
  if (stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    errno = ENOTDIR;
    return false;
  }
  // Create each missing level from the top down. A level that already exists
  // (EEXIST) is fine; whether the whole chain worked is decided at the end.
  int firstError = 0;
  for (size_t i = 1; i <= target.size(); ++i) {
    if (i != target.size() && target[i] != '/') continue;
    std::string level = target.substr(0, i);
    if (mkdir(level.c_str(), 0777) != 0 && errno != EEXIST && firstError == 0) firstError = errno;
  }
  if (stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  errno = firstError != 0 ? firstError : ENOTDIR;
  return false;
}

std::string GetCurrentDir() {
  std::vector<char> buffer(256);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.data();
    if (errno != ERANGE) vark::os::RaiseOSError(errno);
    buffer.resize(buffer.size() * 2);
  }
}
