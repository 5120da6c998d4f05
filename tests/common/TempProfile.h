// A throw-away home for tests that touch files: a fresh folder under the
// system's temporary folder with HOME and the XDG base folders pointing into
// it. The previous values come back and the folder is removed when the object
// goes away, so no test can reach the real user's files or see another's.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vark::testing {

class TempProfile {
 public:
  TempProfile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vark-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    Set("HOME", root_ + "/home");
    Set("XDG_DATA_HOME", root_ + "/data");
    Set("XDG_CONFIG_HOME", root_ + "/config");
    Set("XDG_STATE_HOME", root_ + "/state");
    std::filesystem::create_directories(root_ + "/home");
  }
  ~TempProfile() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempProfile(const TempProfile&) = delete;
  TempProfile& operator=(const TempProfile&) = delete;

  // Sets (or with nullopt removes) a variable until the profile goes away.
  void Set(const std::string& name, const std::optional<std::string>& value) {
    const char* old = getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }

  const std::string& Root() const { return root_; }
  std::string DataHome() const { return root_ + "/data"; }
  std::string ConfigHome() const { return root_ + "/config"; }
  std::string StateHome() const { return root_ + "/state"; }
  std::string Home() const { return root_ + "/home"; }

 private:
  std::string root_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Whole-file helpers for test set-up, byte for byte.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vark::testing
