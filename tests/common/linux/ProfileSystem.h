// TempProfile's Linux side: a folder made by mkdtemp, environment variables,
// and HOME and the XDG base folders pointed into the profile.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vark::testing::profile {

inline std::string MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vark-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

inline void RemoveTree(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

inline std::optional<std::string> Variable(const std::string& name) {
  const char* value = getenv(name.c_str());
  return value ? std::optional<std::string>(value) : std::nullopt;
}

inline void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name.c_str(), value->c_str(), 1);
  } else {
    unsetenv(name.c_str());
  }
}

class ProfileRedirect {
 public:
  explicit ProfileRedirect(const std::string& root) {
    const std::pair<const char*, std::string> folders[] = {{"HOME", root + "/home"},
                                                           {"XDG_DATA_HOME", root + "/data"},
                                                           {"XDG_CONFIG_HOME", root + "/config"},
                                                           {"XDG_STATE_HOME", root + "/state"}};
    for (const auto& [name, folder] : folders) {
      saved_.emplace_back(name, Variable(name));
      SetVariable(name, folder);
    }
  }
  ~ProfileRedirect() {
    for (const auto& [name, value] : saved_)
      SetVariable(name, value);
  }
  ProfileRedirect(const ProfileRedirect&) = delete;
  ProfileRedirect& operator=(const ProfileRedirect&) = delete;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace vark::testing::profile
