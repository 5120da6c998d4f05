#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/Exceptions.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/os/linux/LocalTime.h"
#include "tests/common/TempProfile.h"

using vark::testing::TempProfile;
using vark::testing::WriteBytes;
namespace fs = std::filesystem;

namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  // The launcher's own folder in Windows form and where it lives on Linux.
  std::string AppData() const {
    return R"(C:\Users\)" + vark::os::LogonName() + R"(\AppData\Local\VarkelSoftware\)";
  }
  std::string AppDataOnDisk() const { return profile.DataHome() + "/VarkelSoftware/"; }

  TempProfile profile;
};

TEST_F(FileSystemTest, TellsFilesFromFoldersAndEverythingElse) {
  const std::string dir = profile.Root() + "/kinds/";
  WriteBytes(dir + "File.txt", "x");
  fs::create_directories(dir + "Folder");
  fs::create_symlink(dir + "File.txt", dir + "link-to-file");
  fs::create_symlink(dir + "Folder", dir + "link-to-folder");
  fs::create_symlink(dir + "gone", dir + "dangling");
  ASSERT_EQ(mkfifo((dir + "pipe").c_str(), 0600), 0);

  struct Case {
    std::string path;
    bool file;
    bool folder;
  };
  const Case cases[] = {
      {dir + "File.txt", true, false},
      {dir + "file.TXT", true, false},  // matched without case
      {dir + "Folder", false, true},
      {dir + "FOLDER/", false, true},
      {dir + "link-to-file", true, false},
      {dir + "link-to-folder", false, true},
      {dir + "dangling", false, false},
      {dir + "pipe", false, false},
      {dir + "missing", false, false},
      {dir + "File.txt/below", false, false},  // a path through a file
      {R"(D:\anything)", false, false},        // an unmapped drive holds nothing
      {std::string("File.txt\0x", 10), false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileExists(c.path), c.file) << c.path;
    EXPECT_EQ(DirectoryExists(c.path), c.folder) << c.path;
  }
}

TEST_F(FileSystemTest, ForceDirectoriesCreatesEveryMissingLevel) {
  const std::string nested = AppData() + R"(Valdor III Launcher\Deeper\)";
  EXPECT_FALSE(DirectoryExists(nested));
  EXPECT_TRUE(ForceDirectories(nested));
  EXPECT_TRUE(fs::is_directory(AppDataOnDisk() + "Valdor III Launcher/Deeper"));
  // Existing folders are success, also when named in another case.
  EXPECT_TRUE(ForceDirectories(nested));
  EXPECT_TRUE(ForceDirectories(R"(C:\Users\)" + vark::os::LogonName() +
                               R"(\AppData\Local\VARKELSOFTWARE\valdor iii launcher\New)"));
  EXPECT_TRUE(fs::is_directory(AppDataOnDisk() + "Valdor III Launcher/New"));
  EXPECT_FALSE(fs::exists(AppDataOnDisk() + "VARKELSOFTWARE"));
}

TEST_F(FileSystemTest, ForceDirectoriesReportsAFolderItCannotMake) {
  WriteBytes(AppDataOnDisk() + "blocker", "a file where a folder should be");
  errno = 0;
  EXPECT_FALSE(ForceDirectories(AppData() + R"(blocker\App\)"));
  EXPECT_EQ(errno, ENOTDIR);
  EXPECT_FALSE(ForceDirectories(AppData() + "blocker"));
  EXPECT_EQ(fs::file_size(AppDataOnDisk() + "blocker"), 31u);
}

TEST_F(FileSystemTest, ForceDirectoriesRefusesPathsThatAreNotValid) {
  struct Case {
    std::string path;
    std::string message;
  };
  const std::string syntax = "The filename, directory name, or volume label syntax is incorrect";
  const Case cases[] = {
      {"", "Unable to create directory"}, {R"(E:\Games\)", "The drive cannot be found"},
      {AppData() + "what?", syntax},      {AppData() + "a<b", syntax},
      {AppData() + R"(pipe|d)", syntax},  {AppData() + "C:", syntax},
      {AppData() + "tab\there", syntax},
  };
  for (const Case& c : cases) {
    try {
      ForceDirectories(c.path);
      ADD_FAILURE() << c.path << " was accepted";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.path;
    }
  }
  EXPECT_FALSE(fs::exists(AppDataOnDisk()));
}

TEST_F(FileSystemTest, CurrentDirIsTheProcessFolder) {
  const fs::path before = fs::current_path();
  ASSERT_EQ(chdir(profile.Home().c_str()), 0);
  EXPECT_EQ(GetCurrentDir(), fs::canonical(profile.Home()).string());
  ASSERT_EQ(chdir(before.c_str()), 0);
}

TEST_F(FileSystemTest, LastWriteTimeFollowsTheFileAndIgnoresOthers) {
  const std::string path = AppDataOnDisk() + "Stamp.txt";
  WriteBytes(path, "x");
  const auto setTime = [&](time_t seconds, long nanoseconds) {
    timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  };
  setTime(1733700000, 250000000);
  auto first = vark::os::FileLastWriteTime(AppData() + "stamp.TXT");
  ASSERT_TRUE(first.has_value());
  EXPECT_DOUBLE_EQ(*first, vark::os::LocalDayNumber({1733700000, 250000000}));

  // Two saves within one second are still told apart.
  setTime(1733700000, 260000000);
  auto second = vark::os::FileLastWriteTime(AppData() + "Stamp.txt");
  ASSERT_TRUE(second.has_value());
  EXPECT_GT(*second, *first);

  fs::create_directories(AppDataOnDisk() + "Folder.txt");
  EXPECT_FALSE(vark::os::FileLastWriteTime(AppData() + "Folder.txt").has_value());
  EXPECT_FALSE(vark::os::FileLastWriteTime(AppData() + "Missing.txt").has_value());
  EXPECT_FALSE(vark::os::FileLastWriteTime(R"(D:\Missing.txt)").has_value());
}

}  // namespace
