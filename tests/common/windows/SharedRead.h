// Reads a file that another process may still hold. A program that moves a
// finished file into place keeps it open for deletion until the move is
// done; an ordinary open (the C library's, which does not share deletion)
// fails with a sharing violation in that moment. Opening with every kind of
// sharing reads the file whatever its writer still holds.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vark::testing {

inline std::optional<std::string> ReadShared(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
    bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

}  // namespace vark::testing
