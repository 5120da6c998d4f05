// A throw-away home for tests that touch files: a fresh folder under the
// system's temporary folder, with the user's application-data folders
// pointing into it (on Linux HOME and the XDG base folders, on Windows the
// Local, Roaming and LocalLow known folders). The previous settings come back
// and the folder is removed when the object goes away, so no test can reach
// the real user's files or see another's.
//
// DataHome, ConfigHome and StateHome are the Local, Roaming and LocalLow
// folders (XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_STATE_HOME on Linux).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include "tests/common/windows/ProfileSystem.h"
#else
#include "tests/common/linux/ProfileSystem.h"
#endif

namespace vark::testing {

// A UTF-8 path as the standard library takes it on every platform.
inline std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class TempProfile {
 public:
  TempProfile() : root_(profile::MakeTempFolder()), redirect_(root_) {
    std::filesystem::create_directories(PathOf(Home()));
  }
  ~TempProfile() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      profile::SetVariable(it->first, it->second);
    profile::RemoveTree(root_);
  }
  TempProfile(const TempProfile&) = delete;
  TempProfile& operator=(const TempProfile&) = delete;

  // Sets (or with nullopt removes) an environment variable until the profile
  // goes away.
  void Set(const std::string& name, const std::optional<std::string>& value) {
    saved_.emplace_back(name, profile::Variable(name));
    profile::SetVariable(name, value);
  }

  const std::string& Root() const { return root_; }
  std::string DataHome() const { return root_ + "/data"; }
  std::string ConfigHome() const { return root_ + "/config"; }
  std::string StateHome() const { return root_ + "/state"; }
  std::string Home() const { return root_ + "/home"; }

 private:
  std::string root_;
  profile::ProfileRedirect redirect_;  // points the user's folders into root_
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Whole-file helpers for test set-up, byte for byte.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(PathOf(path).parent_path());
  std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

// Gives a file a last-write time of its own, in seconds since 1970, so a
// rewrite is seen as one whatever the file system records.
inline void SetLastWriteTime(const std::string& path, int64_t unixSeconds) {
  const std::chrono::sys_seconds when{std::chrono::seconds(unixSeconds)};
  std::filesystem::last_write_time(PathOf(path), std::chrono::file_clock::from_sys(when));
}

// The names in a folder, in UTF-8, sorted.
inline std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PathOf(folder))) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vark::testing
