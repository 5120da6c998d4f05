// A fresh folder for one Windows test, removed afterwards, and the few file
// checks the tests make through the system directly (not through the code
// under test).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/common/TempProfile.h"

namespace vark::testing {

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override { root_ = profile::MakeTempFolder(); }
  void TearDown() override { profile::RemoveTree(root_); }
  // A path inside the folder (a Windows path).
  std::string At(const std::string& name) const { return root_ + "\\" + name; }

  std::string root_;
};

}  // namespace vark::testing
