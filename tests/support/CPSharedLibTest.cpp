#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Vark.CPSharedLib.h"

TEST(StrInArray, MatchesWholeStringsCaseSensitively) {
  EXPECT_TRUE(StrInArray("Windows", nothemes));
  EXPECT_TRUE(StrInArray("Mountain_Mist", nothemes));
  EXPECT_FALSE(StrInArray("windows", nothemes));
  EXPECT_FALSE(StrInArray("Windows ", nothemes));
  EXPECT_FALSE(StrInArray("", nothemes));
  EXPECT_FALSE(StrInArray("Windows", std::vector<std::string>{}));
  EXPECT_TRUE(StrInArray("", std::vector<std::string>{"a", ""}));
}
