// Where things are on Windows: the known folders (followed wherever the
// profile lies), full paths, and the "\\?\" form of long ones.
#include "platform/os/SystemPaths.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Exceptions.h"
#include "platform/os/windows/LongPath.h"
#include "platform/os/windows/WideString.h"
#include "tests/common/TempProfile.h"

using vark::os::AppDataBranch;
using vark::os::UserAppDataFolder;
using vark::os::win32::WithLongPathPrefix;

namespace {

TEST(LongPath, PrefixesOnlyPathsTooLongForTheClassicLimit) {
  const std::wstring tail(250, L'x');
  struct Case {
    std::wstring full, api;
  };
  const Case cases[] = {
      {L"C:\\short\\path.txt", L"C:\\short\\path.txt"},
      {L"C:\\" + tail, L"\\\\?\\C:\\" + tail},
      {L"\\\\server\\share\\" + tail, L"\\\\?\\UNC\\server\\share\\" + tail},
      {L"\\\\?\\C:\\" + tail, L"\\\\?\\C:\\" + tail},
      {L"\\\\.\\pipe\\" + tail, L"\\\\.\\pipe\\" + tail},
      {L"C:\\" + std::wstring(244, L'x'), L"C:\\" + std::wstring(244, L'x')},  // 247 long
      {L"C:\\" + std::wstring(245, L'x'), L"\\\\?\\C:\\" + std::wstring(245, L'x')},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WithLongPathPrefix(c.full), c.api) << vark::os::win32::Narrow(c.full);
}

TEST(LongPath, ResolvesToTheFullPath) {
  const auto resolved = vark::os::win32::ResolveFilePath("C:\\Games\\launcher\\..\\Valdor/x.exe");
  EXPECT_EQ(resolved.shown, "C:\\Games\\Valdor\\x.exe");
  EXPECT_EQ(vark::os::SystemPathName("C:\\Games\\.\\Valdor III Émeraude\\"),
            "C:\\Games\\Valdor III Émeraude\\");
  EXPECT_THROW(vark::os::SystemPathName(std::string("a\0b", 3)), EInOutError);
}

TEST(KnownFolders, FollowTheProfileWhereverItLies) {
  // A profile folder not named after the logon name, as after a rename or a
  // move: the folders come from the system, not from the name.
  vark::testing::TempProfile profile;
  const std::string root = vark::os::SystemPathName(profile.Root());
  EXPECT_EQ(UserAppDataFolder(AppDataBranch::Local), root + "\\data\\");
  EXPECT_EQ(UserAppDataFolder(AppDataBranch::Roaming), root + "\\config\\");
  EXPECT_EQ(UserAppDataFolder(AppDataBranch::LocalLow), root + "\\state\\");
}

TEST(KnownFolders, AreTheUsersOwn) {
  const std::string local = UserAppDataFolder(AppDataBranch::Local);
  EXPECT_EQ(local.back(), '\\');
  EXPECT_NE(local, UserAppDataFolder(AppDataBranch::Roaming));
  EXPECT_NE(local, UserAppDataFolder(AppDataBranch::LocalLow));
  // The tests run as a user whose name is not ASCII: it is in the path whole.
  if (const auto user = vark::testing::profile::Variable("VARK_TEST_USER")) {
    EXPECT_NE(local.find("\\" + *user + "\\"), std::string::npos) << local;
  }
}

TEST(Program, NamesItselfWithoutTheExtension) {
  EXPECT_EQ(vark::os::ProgramName(), "test_platform_os");
  EXPECT_EQ(vark::os::ExecutablePath().substr(vark::os::ExecutablePath().size() - 21),
            "\\test_platform_os.exe");
}

}  // namespace
