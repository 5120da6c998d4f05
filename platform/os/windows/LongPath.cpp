#include "platform/os/windows/LongPath.h"

#include "platform/Exceptions.h"
#include "platform/os/SystemError.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::os::win32 {
namespace {

// CreateDirectoryW's limit, the lowest of the API's: MAX_PATH less room for
// an 8.3 file name.
constexpr size_t kLongPath = MAX_PATH - 12;

std::wstring FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) throw EInOutError(SystemErrorText(static_cast<int>(GetLastError())));
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // the size it needs, with its terminating NUL
  }
}

}  // namespace

std::wstring WithLongPathPrefix(std::wstring fullPath) {
  if (fullPath.size() < kLongPath || fullPath.starts_with(L"\\\\?\\") ||
      fullPath.starts_with(L"\\\\.\\")) {
    return fullPath;
  }
  if (fullPath.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + fullPath.substr(2);
  return L"\\\\?\\" + fullPath;
}

FilePath ResolveFilePath(std::string_view path) {
  if (path.find('\0') != std::string_view::npos || path.empty()) {
    throw EInOutError(SystemErrorText(ERROR_INVALID_NAME));
  }
  std::wstring full = FullPath(Widen(path));
  std::string shown = Narrow(full);
  return {WithLongPathPrefix(std::move(full)), std::move(shown)};
}

}  // namespace vark::os::win32
