// The system's own words for the file failures the tests cause, which the
// file layer puts at the end of its messages: errno texts on Linux, the
// system's message texts on Windows (whose wording Wine's differs from).
#pragma once

#include <string>

#include "platform/os/SystemError.h"

#if !defined(_WIN32)
#include <cerrno>
#endif

namespace vark::testing {

#if defined(_WIN32)
inline constexpr int kFolderInTheWay = 5;  // ERROR_ACCESS_DENIED
inline constexpr int kFileInThePath = 3;   // ERROR_PATH_NOT_FOUND
#else
inline constexpr int kFolderInTheWay = EISDIR;
inline constexpr int kFileInThePath = ENOTDIR;
#endif

// Writing a file whose place a folder takes.
inline std::string FolderInTheWay() {
  return os::SystemErrorText(kFolderInTheWay);
}
// Writing a file below another file, as if that were a folder.
inline std::string FileInThePath() {
  return os::SystemErrorText(kFileInThePath);
}

}  // namespace vark::testing
