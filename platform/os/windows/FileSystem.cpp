#include "platform/os/FileSystem.h"

#include "platform/Exceptions.h"
#include "platform/os/PathSyntax.h"
#include "platform/os/SystemError.h"
#include "platform/os/windows/LocalTime.h"
#include "platform/os/windows/LongPath.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace {

using vark::os::win32::FilePath;
using vark::os::win32::ResolveFilePath;

// The file's attributes, or INVALID_FILE_ATTRIBUTES for no file and for a
// path that is not valid.
DWORD AttributesOf(const std::string& path) {
  try {
    return GetFileAttributesW(ResolveFilePath(path).api.c_str());
  } catch (const EInOutError&) {
    return INVALID_FILE_ATTRIBUTES;
  }
}

// The length of the part of a full path that is no folder to make: "C:\" or
// "\\server\share\".
size_t RootLength(const std::string& full) {
  if (full.size() >= 3 && full[1] == ':') return 3;
  size_t separators = 0;
  for (size_t i = 2; i < full.size(); ++i) {
    if (full[i] == '\\' && ++separators == 2) return i + 1;
  }
  return full.size();
}

}  // namespace

bool FileExists(const std::string& FileName) {
  const DWORD attributes = AttributesOf(FileName);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& Directory) {
  const DWORD attributes = AttributesOf(Directory);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& Dir) {
  if (Dir.empty()) throw EInOutError("Unable to create directory");
  if (Dir.find('\0') != std::string::npos || vark::os::HasReservedCharacter(Dir)) {
    throw EInOutError(vark::os::kInvalidPathSyntax);
  }
  const FilePath target = ResolveFilePath(Dir);
  const std::string& full = target.shown;
  const size_t root = RootLength(full);
  if (full.size() >= 2 && full[1] == ':' &&
      GetDriveTypeW(vark::os::win32::Widen(full.substr(0, 3)).c_str()) == DRIVE_NO_ROOT_DIR) {
    throw EInOutError("The drive cannot be found");
  }
  // Each missing level from the top down. A level that exists already is
  // fine; whether the whole chain worked is decided at the end.
  DWORD firstError = 0;
  for (size_t i = root; i <= full.size(); ++i) {
    if (i != full.size() && full[i] != '\\') continue;
    if (i == root) continue;
    const std::wstring level =
        vark::os::win32::WithLongPathPrefix(vark::os::win32::Widen(full.substr(0, i)));
    if (!CreateDirectoryW(level.c_str(), nullptr)) {
      const DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS && firstError == 0) firstError = error;
    }
  }
  const DWORD attributes = GetFileAttributesW(target.api.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  SetLastError(firstError != 0 ? firstError : ERROR_DIRECTORY);
  return false;
}

std::string GetCurrentDir() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, folder.data());
  if (needed == 0 || length == 0 || length >= needed) {
    vark::os::RaiseOSError(static_cast<int>(GetLastError()));
  }
  folder.resize(length);
  return vark::os::win32::Narrow(folder);
}

namespace vark::os {

std::optional<TDateTime> FileLastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  try {
    if (!GetFileAttributesExW(win32::ResolveFilePath(path).api.c_str(), GetFileExInfoStandard,
                              &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return std::nullopt;
    }
  } catch (const EInOutError&) {
    return std::nullopt;
  }
  return win32::LocalDayNumber((uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                               data.ftLastWriteTime.dwLowDateTime);
}

}  // namespace vark::os
