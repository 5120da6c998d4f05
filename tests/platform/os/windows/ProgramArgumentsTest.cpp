// CTest starts the tests of this file with one more argument, a file name
// with characters from inside and outside the ANSI code page
// (tests/CMakeLists.txt).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "platform/os/CommandLine.h"

TEST(ProgramArguments, ComeInUtf8WhatTheAnsiCodePageCannotHold) {
  const std::vector<std::string> args = vark::os::ProgramArguments(__argc, __argv);
  ASSERT_GE(args.size(), 2u);
  EXPECT_NE(args.front().find("test_platform_os"), std::string::npos) << args.front();
  EXPECT_EQ(args.back(), "Jörg Ω.png");
}
