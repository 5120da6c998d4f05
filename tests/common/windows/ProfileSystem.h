// TempProfile's Windows side: a folder under the user's temporary folder,
// environment variables, and the Local, Roaming and LocalLow known folders
// pointed into the profile through the registry's "User Shell Folders" (where
// the known-folder lookup reads them). The known folders belong to every
// process of the user (or of the Wine prefix), so tests/CMakeLists.txt runs
// the tests that use a profile one at a time. No system header here: test
// files include our framework's headers, whose names the system's clash with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vark::testing::profile {

std::string MakeTempFolder();
// Removes a folder and everything in it, however long the paths inside get
// (the standard library's removal stops at the classic 260 characters);
// what cannot be removed stays.
void RemoveTree(const std::string& folder);
std::optional<std::string> Variable(const std::string& name);
// Sets name, or removes it for nullopt.
void SetVariable(const std::string& name, const std::optional<std::string>& value);

class ProfileRedirect {
 public:
  explicit ProfileRedirect(const std::string& root);
  ~ProfileRedirect();
  ProfileRedirect(const ProfileRedirect&) = delete;
  ProfileRedirect& operator=(const ProfileRedirect&) = delete;

  struct Saved {
    std::wstring value;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    bool existed = false;
  };

 private:
  std::vector<Saved> saved_;
};

}  // namespace vark::testing::profile
