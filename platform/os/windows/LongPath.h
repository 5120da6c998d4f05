// Paths on their way into the wide file API. The launcher's paths are UTF-8
// and may be relative to the current folder; the API wants full UTF-16 paths,
// and beyond the classic 260-character limit only takes them with the "\\?\"
// prefix (which also switches off its own clean-up, so the path is made full
// and clean first).
#pragma once

#include <string>
#include <string_view>

namespace vark::os::win32 {

// A file as the wide API takes it, and as messages name it.
struct FilePath {
  std::wstring api;   // full, with "\\?\" when it is long
  std::string shown;  // full, UTF-8, without the prefix
};

// The full path of a launcher path ("." and ".." resolved, "/" turned into
// "\", relative paths taken from the current folder). Raises EInOutError with
// the system's reason when the path is not valid (a NUL inside, say).
FilePath ResolveFilePath(std::string_view path);

// A full path with the prefix when it is long enough to need it: from 248
// characters on, where folder creation already fails without it. Drive paths
// become "\\?\C:\...", network paths "\\?\UNC\server\share\..."; paths that
// carry a prefix, and short ones, are returned as they are.
std::wstring WithLongPathPrefix(std::wstring fullPath);

}  // namespace vark::os::win32
