#include "platform/os/FileAccess.h"

#include <algorithm>
#include <atomic>

#include "platform/Exceptions.h"
#include "platform/os/SystemError.h"
#include "platform/os/windows/FileReplace.h"
#include "platform/os/windows/LongPath.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::os {
namespace {

using win32::FilePath;

std::string LastErrorText() {
  return SystemErrorText(static_cast<int>(GetLastError()));
}

// Closes the handle when the scope ends, whatever path it ends on.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = !valid() || CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// A path error (a NUL inside, say) becomes the caller's file error, naming
// the path as given.
FilePath Resolve(const std::string& path, bool forCreate) {
  try {
    return win32::ResolveFilePath(path);
  } catch (const EInOutError& e) {
    (forCreate ? RaiseFileCreateError : RaiseFileOpenError)(path, e.Message());
  }
  return {};
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A new file beside the target, named by our process and a counter, created
// exclusively so an existing file is never reused.
HANDLE CreateTemporary(const std::wstring& target, std::wstring& tempPath) {
  static std::atomic<unsigned> counter{0};
  const size_t slash = target.find_last_of(L'\\');
  const std::wstring folder = target.substr(0, slash + 1);
  const std::wstring stem = target.substr(slash + 1, 200);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder + L"." + stem + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(counter.fetch_add(1)) + L".tmp";
    const HANDLE file = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

// Whether the existing file can be replaced, asked the way the replacing
// itself will ask: the system refuses a read-only file (Wine would let the
// move replace it regardless), and one that another program holds open
// without sharing it for writing and deletion, which a scanner may do for a
// moment (waited out). The reason is then the last error. Asking first keeps
// the system's replacing from meeting the holder: Wine's leaves a file
// behind each time it is refused.
bool CanReplace(const FilePath& target, DWORD attributes) {
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  win32::PassingRefusals refusals;
  for (;;) {
    Handle probe(CreateFileW(target.api.c_str(), GENERIC_WRITE | DELETE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe.valid()) return true;
    if (!refusals.WaitAfter(GetLastError())) return false;
  }
}

}  // namespace

FileReader::FileReader(const std::string& path) {
  const FilePath file = Resolve(path, false);
  name_ = file.shown;
  const HANDLE handle = CreateFileW(
      file.api.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) RaiseFileOpenError(name_, LastErrorText());
  handle_ = reinterpret_cast<intptr_t>(handle);
  LARGE_INTEGER size{};
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size)) {
    CloseHandle(handle);
    RaiseFileOpenError(name_, "The file is not a regular file");
  }
  size_ = static_cast<uint64_t>(size.QuadPart);
}

FileReader::~FileReader() {
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

size_t FileReader::Read(char* buffer, size_t size) {
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
  if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) {
    RaiseFileReadError(name_, LastErrorText());
  }
  return got;
}

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
  const FilePath target = Resolve(path, true);
  const DWORD attributes = GetFileAttributesW(target.api.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && !CanReplace(target, attributes))
    RaiseFileCreateError(target.shown, LastErrorText());

  std::wstring tempPath;
  Handle file(CreateTemporary(target.api, tempPath));
  if (!file.valid()) RaiseFileCreateError(target.shown, LastErrorText());
  const auto failAndRemove = [&] {
    const std::string reason = LastErrorText();
    file.Close();
    DeleteFileW(tempPath.c_str());
    RaiseFileCreateError(target.shown, reason);
  };
  if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get()) || !file.Close()) {
    failAndRemove();
  }
  if (!win32::PutInPlace(tempPath, target.api, exists)) {
    RaiseFileCreateError(target.shown, LastErrorText());
  }
}

}  // namespace vark::os
