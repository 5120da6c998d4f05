// A fresh folder for one Windows test, removed afterwards, and the few file
// checks the tests make through the system directly (not through the code
// under test).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/common/TempProfile.h"

namespace vark::testing {

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override { root_ = profile::MakeTempFolder(); }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(PathOf(root_), ignored);
  }
  // A path inside the folder (a Windows path).
  std::string At(const std::string& name) const { return root_ + "\\" + name; }
  // The names in a folder, to see that nothing was left behind.
  static std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf(folder))) {
      const std::u8string name = entry.path().filename().u8string();
      names.emplace_back(name.begin(), name.end());
    }
    return names;
  }

  std::string root_;
};

}  // namespace vark::testing
