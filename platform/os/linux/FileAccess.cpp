#include "platform/os/FileAccess.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/Exceptions.h"
#include "platform/os/SystemError.h"
#include "platform/os/linux/PathMapping.h"

namespace vark::os {
namespace {

// Closes the descriptor when the scope ends, whatever path it ends on.
class FileHandle {
 public:
  explicit FileHandle(int fd) : fd_(fd) {}
  ~FileHandle() {
    if (fd_ >= 0) close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int get() const { return fd_; }
  // Closes now and reports close's own error, which can be the first sign of a
  // failed write on some file systems.
  int Close() {
    int result = close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// The path to open: the exact mapped name when it exists, otherwise the name
// after case matching. Drive errors become the caller's file error.
std::string Resolve(const std::string& path, bool forCreate) {
  const auto fail = forCreate ? RaiseFileCreateError : RaiseFileOpenError;
  if (path.find('\0') != std::string::npos) fail(path, SystemErrorText(EINVAL));
  try {
    return ToLinuxPath(path);
  } catch (const EInOutError& e) {
    fail(path, e.Message());
  }
  return {};
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// A name no other writer uses at the same moment: our pid and a counter,
// created exclusively so an existing file is never reused.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  // Leave room for the suffix within the file system's limit on a name.
  const std::string stem = name.substr(0, 200);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder + "." + stem + "." + std::to_string(getpid()) + "-" +
               std::to_string(counter.fetch_add(1)) + ".tmp";
    int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

FileReader::FileReader(const std::string& path) : name_(Resolve(path, false)) {
  // O_NONBLOCK keeps a pipe put in the file's place from hanging the open; such
  // a file is refused right after.
  handle_ = open(name_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (handle_ < 0) RaiseFileOpenError(name_, SystemErrorText(errno));
  struct stat st;
  std::string refusal;
  if (fstat(static_cast<int>(handle_), &st) != 0) {
    refusal = SystemErrorText(errno);
  } else if (S_ISDIR(st.st_mode)) {
    refusal = SystemErrorText(EISDIR);
  } else if (!S_ISREG(st.st_mode)) {
    refusal = "The file is not a regular file";
  }
  if (!refusal.empty()) {
    close(static_cast<int>(handle_));
    RaiseFileOpenError(name_, refusal);
  }
  size_ = static_cast<uint64_t>(st.st_size);
}

FileReader::~FileReader() {
  close(static_cast<int>(handle_));
}

size_t FileReader::Read(char* buffer, size_t size) {
  for (;;) {
    const ssize_t n = read(static_cast<int>(handle_), buffer, size);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) RaiseFileReadError(name_, SystemErrorText(errno));
  }
}

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
  std::string target = Resolve(path, true);
  // Errors name the file where it is on this system, as the user finds it.
  const std::string shown = target;

  struct stat old;
  bool exists = lstat(target.c_str(), &old) == 0;
  if (exists && S_ISLNK(old.st_mode)) {
    // Replace what the link points to, not the link itself.
    char real[PATH_MAX];
    if (realpath(target.c_str(), real) != nullptr) target = real;
    exists = stat(target.c_str(), &old) == 0;
  }
  if (target.empty() || target.back() == '/') RaiseFileCreateError(shown, SystemErrorText(EISDIR));
  if (exists && S_ISDIR(old.st_mode)) RaiseFileCreateError(shown, SystemErrorText(EISDIR));

  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);

  std::string tempPath;
  FileHandle file(CreateTemporary(folder, name, tempPath));
  if (file.get() < 0) RaiseFileCreateError(shown, SystemErrorText(errno));

  const auto failAndRemove = [&](int err) {
    if (file.get() >= 0) file.Close();
    unlink(tempPath.c_str());
    RaiseFileCreateError(shown, SystemErrorText(err));
  };
  if (exists && S_ISREG(old.st_mode)) fchmod(file.get(), old.st_mode & 07777);
  if (!WriteAll(file.get(), bytes)) failAndRemove(errno);
  if (fsync(file.get()) != 0) failAndRemove(errno);
  if (file.Close() != 0) failAndRemove(errno);
  if (rename(tempPath.c_str(), target.c_str()) != 0) failAndRemove(errno);

  // Make the rename itself durable. A folder that cannot be synced loses
  // nothing that the rename did not already risk, so this is best effort.
  int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
}

}  // namespace vark::os
