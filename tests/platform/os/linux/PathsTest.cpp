#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/Exceptions.h"
#include "platform/os/SystemInfo.h"
#include "platform/os/linux/PasswordDatabase.h"
#include "platform/os/linux/PathMapping.h"
#include "tests/common/TempProfile.h"

using vark::os::MapWindowsPath;
using vark::os::MatchPathCase;
using vark::os::ToLinuxPath;
using vark::testing::TempProfile;
using vark::testing::WriteBytes;

namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return s;
}

// Replaces {data}, {config}, {state}, {drive}, {user} and {USER} in a pattern.
std::string Expand(std::string s, const TempProfile& p) {
  const std::pair<std::string, std::string> keys[] = {
      {"{data}", p.DataHome()},          {"{config}", p.ConfigHome()},
      {"{state}", p.StateHome()},        {"{drive}", p.DataHome() + "/valdor-launcher/drive_c"},
      {"{user}", vark::os::LogonName()}, {"{USER}", Upper(vark::os::LogonName())}};
  for (const auto& [key, value] : keys) {
    for (size_t at; (at = s.find(key)) != std::string::npos;)
      s.replace(at, key.size(), value);
  }
  return s;
}

class PathsTest : public ::testing::Test {
 protected:
  TempProfile profile;
};

TEST_F(PathsTest, MapsWindowsPathsToTheProfileAndTheDriveFolder) {
  struct Case {
    const char* windows;
    const char* mapped;
  };
  const Case cases[] = {
      {R"(C:\Users\{user}\AppData\Local\VarkelSoftware\Valdor III Launcher\)",
       "{data}/VarkelSoftware/Valdor III Launcher/"},
      {R"(C:\Users\{user}\AppData\Local\FolderLocations.txt)", "{data}/FolderLocations.txt"},
      {R"(C:\Users\{user}\AppData\Local)", "{data}"},
      {R"(C:\Users\{user}\AppData\Local\)", "{data}/"},
      {R"(C:\Users\{user}\AppData\Roaming\App\)", "{config}/App/"},
      {R"(C:\Users\{user}\AppData\LocalLow\App\x.txt)", "{state}/App/x.txt"},
      // Windows compares these names without case.
      {R"(c:\USERS\{USER}\appdata\LOCAL\x)", "{data}/x"},
      {R"(C:/Users/{user}/AppData/Local/x)", "{data}/x"},
      {R"(C:\Documents and Settings\{user}\Application Data\V\)", "{config}/V/"},
      // Another user's profile is only a folder of drive C.
      {R"(C:\Users\somebody-else\AppData\Local\x)", "{drive}/Users/somebody-else/AppData/Local/x"},
      {R"(C:\Users\{user}\Documents\x)", "{drive}/Users/{user}/Documents/x"},
      // Dots are resolved before the profile is recognised, as Windows does.
      {R"(C:\Users\{user}\AppData\Local\..\Roaming\.\x)", "{config}/x"},
      {R"(C:\..\..\Program Files\Game)", "{drive}/Program Files/Game"},
      {R"(C:\\Users\\{user}\\AppData\\Local\\x)", "{data}/x"},
      {R"(C:\Program Files\Game\game.exe)", "{drive}/Program Files/Game/game.exe"},
      {R"(\Windows\notepad.exe)", "{drive}/Windows/notepad.exe"},
      {"C:", "{drive}"},
      {R"(C:\)", "{drive}/"},
      // Relative paths stay relative, Linux paths stay where they are.
      {R"(..\Valdor III Tidemark\vtide HD.exe)", "../Valdor III Tidemark/vtide HD.exe"},
      {R"(Tools\Lumen Start Menu\start.exe)", "Tools/Lumen Start Menu/start.exe"},
      {R"(/opt/games\..\Valdor III EF\vember.exe)", "/opt/games/../Valdor III EF/vember.exe"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MapWindowsPath(Expand(c.windows, profile)), Expand(c.mapped, profile)) << c.windows;
  }
}

TEST_F(PathsTest, RefusesDrivesAndSharesWithoutAMapping) {
  for (const char* path : {R"(D:\Games\x.exe)", "z:", R"(a:\)", "Q:relative"}) {
    try {
      ToLinuxPath(path);
      ADD_FAILURE() << path << " was mapped";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.Message(), "The drive cannot be found") << path;
    }
  }
  EXPECT_THROW(ToLinuxPath(R"(\\server\share\x)"), EInOutError);
}

TEST_F(PathsTest, IgnoresXdgValuesThatAreEmptyOrRelative) {
  const std::string local = R"(C:\Users\{user}\AppData\Local\x)";
  profile.Set("XDG_DATA_HOME", "");
  EXPECT_EQ(MapWindowsPath(Expand(local, profile)), profile.Home() + "/.local/share/x");
  profile.Set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(MapWindowsPath(Expand(local, profile)), profile.Home() + "/.local/share/x");
  profile.Set("XDG_DATA_HOME", std::nullopt);
  EXPECT_EQ(MapWindowsPath(Expand(local, profile)), profile.Home() + "/.local/share/x");
  profile.Set("XDG_DATA_HOME", profile.Root() + "/other//");
  EXPECT_EQ(MapWindowsPath(Expand(local, profile)), profile.Root() + "/other/x");

  profile.Set("XDG_CONFIG_HOME", "");
  EXPECT_EQ(MapWindowsPath(Expand(R"(C:\Users\{user}\AppData\Roaming\x)", profile)),
            profile.Home() + "/.config/x");
  profile.Set("XDG_STATE_HOME", "state");
  EXPECT_EQ(MapWindowsPath(Expand(R"(C:\Users\{user}\AppData\LocalLow\x)", profile)),
            profile.Home() + "/.local/state/x");

  // Without a usable HOME the password database names the home folder.
  profile.Set("XDG_DATA_HOME", std::nullopt);
  profile.Set("HOME", "not/absolute");
  EXPECT_EQ(MapWindowsPath(Expand(local, profile)), vark::os::PasswordHome() + "/.local/share/x");
}

TEST_F(PathsTest, MatchesComponentsWithoutCaseWhenTheExactNameIsMissing) {
  const std::string base = profile.Root() + "/games";
  WriteBytes(base + "/Valdor III Tidemark/Data/File.TXT", "x");
  WriteBytes(base + "/Édition Spéciale/ΔΕΛΤΑ/Файл.txt", "x");
  WriteBytes(base + "/twins/README", "x");
  WriteBytes(base + "/twins/readme", "x");
  WriteBytes(base + "/plain", "x");

  struct Case {
    std::string asked;
    std::string found;
  };
  const Case cases[] = {
      {"/valdor iii tidemark/DATA/file.txt", "/Valdor III Tidemark/Data/File.TXT"},
      {"/VALDOR III TIDEMARK/data/", "/Valdor III Tidemark/Data/"},
      {"/édition spéciale/δελτα/файл.TXT", "/Édition Spéciale/ΔΕΛΤΑ/Файл.txt"},
      // Of two names that differ only in case, the first in byte order.
      {"/twins/ReadMe", "/twins/README"},
      {"/twins/readme", "/twins/readme"},
      // Once a level is missing, the rest is kept as asked.
      {"/valdor iii tidemark/Missing/File.TXT", "/Valdor III Tidemark/Missing/File.TXT"},
      {"/PLAIN/below", "/plain/below"},
      {"/Valdor III Tidemark/Data/File.TXT", "/Valdor III Tidemark/Data/File.TXT"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchPathCase(base + c.asked), base + c.found) << c.asked;
  }

  // Relative paths are matched from the current folder.
  const std::string before = std::filesystem::current_path();
  ASSERT_EQ(chdir((base + "/twins").c_str()), 0);
  EXPECT_EQ(ToLinuxPath(R"(..\VALDOR III TIDEMARK\data\file.txt)"),
            "../Valdor III Tidemark/Data/File.TXT");
  EXPECT_EQ(ToLinuxPath("Readme"), "README");
  ASSERT_EQ(chdir(before.c_str()), 0);
}

TEST_F(PathsTest, MatchesCaseInsideTheProfileFolders) {
  WriteBytes(profile.DataHome() + "/VarkelSoftware/Valdor III Launcher/MapNames.txt", "x");
  EXPECT_EQ(ToLinuxPath(Expand(R"(C:\Users\{user}\AppData\Local\varkelsoftware\valdor iii )"
                               R"(launcher\MAPNAMES.TXT)",
                               profile)),
            profile.DataHome() + "/VarkelSoftware/Valdor III Launcher/MapNames.txt");
}

}  // namespace
