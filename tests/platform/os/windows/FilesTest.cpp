// Files through the wide API: text files in folders and under names outside
// ASCII, the atomic save and the ways it is refused, paths past the classic
// 260-character limit, and the file-system queries.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/os/FileSystem.h"
#include "platform/os/TextFile.h"
#include "platform/os/windows/FileReplace.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"
#include "tests/platform/os/windows/ScratchFolder.h"

using vark::os::ReadFileBytes;
using vark::os::ReadTextLines;
using vark::os::WriteTextLines;
using vark::os::win32::Widen;
using vark::testing::FolderEntries;
using vark::testing::ReadBytes;
using vark::testing::WriteBytes;

namespace {

class Files : public vark::testing::ScratchFolder {
 protected:
  static void Save(const std::string& path, const std::vector<std::string>& lines) {
    WriteTextLines(path, lines);
  }
  // The message of the file error that f raises (none: "").
  template <typename Error, typename F>
  static std::string ErrorOf(F f) {
    try {
      f();
    } catch (const Error& e) {
      return e.Message();
    }
    return "";
  }
};

TEST_F(Files, SavesAndReadsBackUnderNamesOutsideAscii) {
  const std::string folder = At("Valdor III Émeraude");
  ASSERT_TRUE(ForceDirectories(folder));
  const std::string list = folder + "\\Jörg's Liste.txt";
  const std::vector<std::string> lines = {"..\\Valdor III Émeraude\\", "vtide É.exe", "", "日本"};
  Save(list, lines);
  EXPECT_EQ(ReadTextLines(list), lines);
  // Windows-1252 where every character fits; UTF-8 with a mark otherwise.
  Save(list, {"vtide É.exe"});
  EXPECT_EQ(ReadBytes(list), "vtide \xC9.exe\r\n");
  Save(list, lines);
  EXPECT_EQ(ReadBytes(list).substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_TRUE(FileExists(list));
  EXPECT_FALSE(DirectoryExists(list));
  EXPECT_TRUE(DirectoryExists(folder));
  EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Jörg's Liste.txt"});
}

TEST_F(Files, ASaveThatIsRefusedLeavesTheOldFileWhole) {
  const std::string list = At("FolderLocations.txt");
  WriteBytes(list, "old\r\n");
  const std::string expected = "Cannot create file \"" + list + "\". ";

  // Read-only: Windows refuses to replace it (Wine's move alone would not).
  SetFileAttributesW(Widen(list).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ErrorOf<EFCreateError>([&] { Save(list, {"new"}); }).substr(0, expected.size()),
            expected);
  SetFileAttributesW(Widen(list).c_str(), FILE_ATTRIBUTE_NORMAL);

  // Held open by another program that shares it with no one.
  const HANDLE holder = CreateFileW(Widen(list).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const std::string held = ErrorOf<EFCreateError>([&] { Save(list, {"new"}); });
  EXPECT_EQ(held.substr(0, expected.size()), expected);
  EXPECT_GT(held.size(), expected.size()) << "the system's reason follows the name";
  EXPECT_EQ(held.find('\r'), std::string::npos);
  EXPECT_EQ(ErrorOf<EFOpenError>([&] { ReadFileBytes(list); }).substr(0, 18),
            "Cannot open file \"");
  CloseHandle(holder);

  // A folder where the file should be, and a folder that is not there.
  ASSERT_TRUE(ForceDirectories(At("Blocker.txt")));
  EXPECT_NE(ErrorOf<EFCreateError>([&] { Save(At("Blocker.txt"), {"x"}); }), "");
  EXPECT_NE(ErrorOf<EFCreateError>([&] { Save(At("Missing\\x.txt"), {"x"}); }), "");

  EXPECT_EQ(ReadBytes(list), "old\r\n");
  EXPECT_EQ(FolderEntries(root_).size(), 2u) << "no temporary file is left behind";
  Save(list, {"new"});
  EXPECT_EQ(ReadBytes(list), "new\r\n");
}

TEST_F(Files, ASaveWaitsOutAProgramThatHoldsTheFileForAMoment) {
  // A virus scanner or the search indexer reading the list just written,
  // sharing it for deletion with no one, or with no one at all.
  for (const DWORD sharing : {DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}, DWORD{0}}) {
    const std::string list = At("FolderLocations.txt");
    WriteBytes(list, "old\r\n");
    const HANDLE holder = CreateFileW(Widen(list).c_str(), GENERIC_READ, sharing, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::thread scanner([holder] {
      Sleep(150);
      CloseHandle(holder);
    });
    const std::string error = ErrorOf<EFCreateError>([&] { Save(list, {"new"}); });
    scanner.join();
    EXPECT_EQ(error, "") << "sharing " << sharing;
    EXPECT_EQ(ReadBytes(list), "new\r\n") << "sharing " << sharing;
    EXPECT_EQ(FolderEntries(root_), std::vector<std::string>{"FolderLocations.txt"});
  }
}

TEST_F(Files, WhenTheSystemHasTakenTheOldFileAwayTheNewOneTakesItsName) {
  // What ReplaceFileW does when it cannot rename the new file: the old one is
  // already under another name.
  const auto lostOnTheWay = [](LPCWSTR replaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) -> BOOL {
    MoveFileW(replaced, (std::wstring(replaced) + L".old").c_str());
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
  };
  const std::string list = At("MapNames.txt");
  WriteBytes(list, "old\r\n");
  WriteBytes(At("new.tmp"), "new\r\n");
  EXPECT_TRUE(vark::os::win32::PutInPlace(Widen(At("new.tmp")), Widen(list), true, lostOnTheWay));
  EXPECT_EQ(ReadBytes(list), "new\r\n");
  EXPECT_FALSE(FileExists(At("new.tmp")));
}

TEST_F(Files, ReadErrorsNameTheFullPath) {
  const std::string missing = At("Missing.txt");
  EXPECT_EQ(ErrorOf<EFOpenError>([&] { ReadTextLines(missing); }).substr(0, 20 + missing.size()),
            "Cannot open file \"" + missing + "\".");
  EXPECT_NE(ErrorOf<EFOpenError>([&] { ReadTextLines(root_); }), "");
  EXPECT_NE(ErrorOf<EFOpenError>([&] { ReadTextLines(std::string("a\0b", 3)); }), "");
}

TEST_F(Files, WorkPastTheClassicPathLimit) {
  std::string folder = root_;
  while (folder.size() < 300)
    folder += "\\Valdor III Launcher Édition";
  ASSERT_TRUE(ForceDirectories(folder));
  EXPECT_TRUE(DirectoryExists(folder));
  const std::string list = folder + "\\MapNames.txt";
  Save(list, {"Jörg"});
  Save(list, {"Jörg", "zwei"});  // the second save replaces the first
  EXPECT_EQ(ReadTextLines(list), (std::vector<std::string>{"Jörg", "zwei"}));
  EXPECT_TRUE(FileExists(list));
  EXPECT_TRUE(vark::os::FileLastWriteTime(list).has_value());
}

TEST_F(Files, ForceDirectoriesRefusesPathsWindowsCannotHold) {
  struct Case {
    std::string path;
    const char* message;
  };
  // A drive letter no volume has.
  const DWORD drives = GetLogicalDrives();
  char unused = 0;
  for (char letter = 'Z'; letter >= 'D' && unused == 0; --letter)
    if (!(drives & (1u << (letter - 'A')))) unused = letter;
  ASSERT_NE(unused, 0);
  const Case cases[] = {
      {"", "Unable to create directory"},
      {At("What?"), "The filename, directory name, or volume label syntax is incorrect"},
      {At("a|b\\c"), "The filename, directory name, or volume label syntax is incorrect"},
      {std::string(1, unused) + ":\\Games\\Valdor", "The drive cannot be found"},
  };
  for (const Case& c : cases) {
    try {
      ForceDirectories(c.path);
      ADD_FAILURE() << c.path;
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.path;
    }
  }
  EXPECT_TRUE(ForceDirectories(At("a\\b\\..\\c")));
  EXPECT_TRUE(DirectoryExists(At("a\\c")));
  EXPECT_TRUE(ForceDirectories(At("a\\c")));  // already there
}

TEST_F(Files, LastWriteTimeIsTheLocalDayNumber) {
  const std::string file = At("AppSettings.txt");
  WriteBytes(file, "800\r\n");
  // 2024-07-01 10:30:15.25 UTC, in 100 ns ticks since 1601.
  const uint64_t ticks = 133643034152500000;
  const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const HANDLE handle = CreateFileW(Widen(file).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_TRUE(SetFileTime(handle, nullptr, nullptr, &time));
  CloseHandle(handle);

  // The local time the C runtime gives for the same second.
  const __time64_t seconds = static_cast<__time64_t>(ticks / 10000000 - 11644473600);
  tm local{};
  ASSERT_EQ(_localtime64_s(&local, &seconds), 0);
  const double expected =
      vark::os::DayNumberOfDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
      (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + 0.25) / 86400.0;
  ASSERT_TRUE(vark::os::FileLastWriteTime(file).has_value());
  EXPECT_NEAR(*vark::os::FileLastWriteTime(file), expected, 1e-8);

  EXPECT_FALSE(vark::os::FileLastWriteTime(At("Missing.txt")).has_value());
  EXPECT_FALSE(vark::os::FileLastWriteTime(root_).has_value());
}

TEST_F(Files, CurrentFolderOutsideAscii) {
  const std::string folder = At("Valdor III Émeraude");
  ASSERT_TRUE(ForceDirectories(folder));
  wchar_t old[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, old);
  ASSERT_TRUE(SetCurrentDirectoryW(Widen(folder).c_str()));
  const std::string current = GetCurrentDir();
  SetCurrentDirectoryW(old);
  EXPECT_EQ(current, folder);
}

}  // namespace
