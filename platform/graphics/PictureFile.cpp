#include "platform/graphics/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Exceptions.h"

namespace vark {

namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
  throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(error));
}

// Closes the descriptor on every way out.
struct FileDescriptor {
  int fd = -1;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::vector<uint8_t> ReadPictureFile(const std::string& path) {
  FileDescriptor file;
  file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file.fd < 0) Fail(path, errno);
  struct stat st {};
  if (fstat(file.fd, &st) != 0) Fail(path, errno);
  if (S_ISDIR(st.st_mode)) Fail(path, EISDIR);
  std::vector<uint8_t> bytes;
  if (S_ISREG(st.st_mode)) bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = ::read(file.fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(path, errno);
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

void WritePictureFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    throw EFCreateError("Cannot create file \"" + path + "\". " + std::strerror(errno));
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    throw EFCreateError("Cannot create file \"" + path + "\". " +
                        std::strerror(written ? errno : writeError));
  }
}

}  // namespace vark
