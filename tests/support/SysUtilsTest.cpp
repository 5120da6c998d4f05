#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/Exceptions.h"
#include "platform/os/SystemInfo.h"
#include "support/Vark.SysUtils.h"
#include "tests/common/TempProfile.h"

using vark::testing::PathOf;
using vark::testing::TempProfile;
using vark::testing::WriteBytes;
namespace fs = std::filesystem;

namespace {

TEST(EqualApprox, IncludesBothEndsOfTheSpan) {
  struct Case {
    int number1, number2;
    double span;
    bool equal;
  };
  const Case cases[] = {
      {5, 3, 2.0, true},
      {1, 3, 2.0, true},
      {6, 3, 2.0, false},
      {0, 3, 2.0, false},
      {3, 3, 0.0, true},
      {4, 3, 0.5, false},
      {4, 3, 1.5, true},
      {-2, 0, 2.0, true},
      {-3, 0, 2.0, false},
      // Far from zero the difference must not overflow in integers.
      {INT32_MIN, INT32_MAX, 2.0, false},
      {INT32_MAX, INT32_MAX - 2, 2.0, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EqualApprox(c.number1, c.number2, c.span), c.equal)
        << c.number1 << " " << c.number2 << " " << c.span;
  }
}

TEST(AppDataRoot, ChoosesTheLayoutByVersion) {
  struct Case {
    float version;
    CAddDataType type;
    const char* path;
  };
  const Case cases[] = {
      {10.0f, adtLocal, R"(C:\Users\ann\AppData\Local\)"},
      {10.0f, adtRoaming, R"(C:\Users\ann\AppData\Roaming\)"},
      {10.0f, adtLocalLow, R"(C:\Users\ann\AppData\LocalLow\)"},
      {6.0f, adtLocal, R"(C:\Users\ann\AppData\Local\)"},
      {5.1f, adtLocal, R"(C:\Documents and Settings\ann\Application Data\)"},
      {5.1f, adtRoaming, R"(C:\Documents and Settings\ann\Application Data\)"},
      {5.1f, adtLocalLow, R"(C:\Documents and Settings\ann\Application Data\)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AppDataRoot(c.version, "ann", c.type), c.path);
}

TEST(NTKernelVersion, SelectsTheCurrentLayout) {
  EXPECT_EQ(NTKernelVersion(), 10.0f);
}

class GetPathInAppDataTest : public ::testing::Test {
 protected:
  TempProfile profile;
  const std::string user = vark::os::LogonName();

  // Where a kind of application data lies, as the launcher names it: on
  // Linux the classic path assembled from the logon name, on Windows the
  // user's own known folder (here the profile's folder).
  std::string Root(const char* classic, const std::string& folder) const {
#if defined(_WIN32)
    (void)classic;
    std::string path = folder + "\\";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
#else
    (void)folder;
    return R"(C:\Users\)" + user + classic;
#endif
  }
  std::string Local() const {
    return Root(R"(\AppData\Local\)", profile.DataHome());
  }
};

TEST_F(GetPathInAppDataTest, BuildsAndCreatesTheLauncherFolder) {
  EXPECT_EQ(GetUserNm(), user);
  const std::string path = GetPathInAppData("Valdor III Launcher", true, true, adtLocal);
  EXPECT_EQ(path, Local() + R"(VarkelSoftware\Valdor III Launcher\)");
  EXPECT_TRUE(fs::is_directory(PathOf(profile.DataHome() + "/VarkelSoftware/Valdor III Launcher")));

  EXPECT_EQ(GetPathInAppData("Tool", false, true, adtRoaming),
            Root(R"(\AppData\Roaming\)", profile.ConfigHome()) + R"(Tool\)");
  EXPECT_TRUE(fs::is_directory(PathOf(profile.ConfigHome() + "/Tool")));
  EXPECT_FALSE(fs::exists(PathOf(profile.ConfigHome() + "/VarkelSoftware")));

  EXPECT_EQ(GetPathInAppData("Low", true, true, adtLocalLow),
            Root(R"(\AppData\LocalLow\)", profile.StateHome()) + R"(VarkelSoftware\Low\)");
  EXPECT_TRUE(fs::is_directory(PathOf(profile.StateHome() + "/VarkelSoftware/Low")));
}

TEST_F(GetPathInAppDataTest, OnlyBuildsTheNameWithoutCreate) {
  EXPECT_EQ(GetPathInAppData("Valdor III Launcher", true, false, adtLocal),
            Local() + R"(VarkelSoftware\Valdor III Launcher\)");
  EXPECT_FALSE(fs::exists(PathOf(profile.DataHome())));
}

TEST_F(GetPathInAppDataTest, ReturnsThePathWhenTheSystemRefusesTheFolder) {
  // A file where the company folder should be: nothing can be created below it.
  WriteBytes(profile.DataHome() + "/VarkelSoftware", "in the way");
  EXPECT_EQ(GetPathInAppData("Valdor III Launcher", true, true, adtLocal),
            Local() + R"(VarkelSoftware\Valdor III Launcher\)");
  EXPECT_TRUE(fs::is_regular_file(PathOf(profile.DataHome() + "/VarkelSoftware")));
}

TEST_F(GetPathInAppDataTest, RaisesForANameThatIsNotAValidPath) {
  EXPECT_THROW(GetPathInAppData("What?", true, true, adtLocal), EInOutError);
  EXPECT_THROW(GetPathInAppData("a|b", false, true, adtLocal), EInOutError);
  EXPECT_NO_THROW(GetPathInAppData("What?", true, false, adtLocal));
}

}  // namespace
