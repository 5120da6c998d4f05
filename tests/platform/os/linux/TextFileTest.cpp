#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/os/SystemInfo.h"
#include "platform/os/TextFile.h"
#include "tests/common/TempProfile.h"
#include "tests/common/linux/ResourceLimit.h"

using vark::os::ReadTextLines;
using vark::os::WriteTextLines;
using vark::testing::FailureUnder;
using vark::testing::ReadBytes;
using vark::testing::TempProfile;
using vark::testing::WriteBytes;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

class TextFileTest : public ::testing::Test {
 protected:
  std::string Windows(const std::string& name) const {
    return R"(C:\Users\)" + vark::os::LogonName() + R"(\AppData\Local\Vark\)" + name;
  }
  std::string OnDisk(const std::string& name) const { return profile.DataHome() + "/Vark/" + name; }
  // Everything in the folder, to see that no temporary file stays behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(profile.DataHome() + "/Vark")) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  template <typename E>
  static std::string MessageOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const E& e) {
      return e.Message();
    }
    return "(no error)";
  }
  template <typename E>
  static std::string MessageOf(std::exception_ptr failure) {
    return MessageOf<E>([&] {
      if (failure) std::rethrow_exception(failure);
    });
  }

  TempProfile profile;
};

TEST_F(TextFileTest, ReadsThroughTheMappedPathInAnyCase) {
  WriteBytes(OnDisk("List.txt"), "one\r\ntwo\rthree\n");
  EXPECT_EQ(ReadTextLines(Windows("LIST.TXT")), (Lines{"one", "two", "three"}));
  EXPECT_EQ(ReadTextLines(Windows("list.txt"), 2), (Lines{"one", "two"}));
}

TEST_F(TextFileTest, ReportsFilesThatCannotBeOpened) {
  fs::create_directories(OnDisk("Folder.txt"));
  WriteBytes(OnDisk("Plain.txt"), "x");
  ASSERT_EQ(mkfifo(OnDisk("Pipe.txt").c_str(), 0600), 0);

  EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadTextLines(Windows("Missing.txt")); }),
            "Cannot open file \"" + OnDisk("Missing.txt") + "\". No such file or directory");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadTextLines(Windows("Folder.txt")); }),
            "Cannot open file \"" + OnDisk("Folder.txt") + "\". Is a directory");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadTextLines(Windows(R"(Plain.txt\x)")); }),
            "Cannot open file \"" + OnDisk("Plain.txt/x") + "\". Not a directory");
  // A pipe in the file's place must neither hang the read nor be taken as text.
  EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadTextLines(Windows("Pipe.txt")); }),
            "Cannot open file \"" + OnDisk("Pipe.txt") + "\". The file is not a regular file");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadTextLines(R"(D:\List.txt)"); }),
            "Cannot open file \"D:\\List.txt\". The drive cannot be found");
  const std::string plain = Windows("Plain.txt");  // looked up before the limit
  EXPECT_EQ(MessageOf<EFOpenError>(FailureUnder(RLIMIT_NOFILE, 0, [&] { ReadTextLines(plain); })),
            "Cannot open file \"" + OnDisk("Plain.txt") + "\". Too many open files");
  EXPECT_EQ(ReadTextLines(Windows("Plain.txt")), Lines{"x"});
}

TEST_F(TextFileTest, WritesWholeFilesWithCrLf) {
  fs::create_directories(OnDisk(""));
  WriteTextLines(Windows("New.txt"), Lines{"café", "", "x"});
  EXPECT_EQ(ReadBytes(OnDisk("New.txt")), "caf\xE9\r\n\r\nx\r\n");
  WriteTextLines(Windows("New.txt"), Lines{"日本"});
  EXPECT_EQ(ReadBytes(OnDisk("New.txt")), "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\n");
  // An existing file in another case is replaced, not joined by a second one.
  WriteTextLines(Windows("NEW.TXT"), Lines{"again"});
  EXPECT_EQ(ReadBytes(OnDisk("New.txt")), "again\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"New.txt"});
  // A name as long as the file system allows still has room for its temporary.
  const std::string longest(255, 'n');
  WriteTextLines(Windows(longest), Lines{"long"});
  EXPECT_EQ(ReadBytes(OnDisk(longest)), "long\r\n");
}

TEST_F(TextFileTest, ReplacingKeepsPermissionsAndLinks) {
  WriteBytes(OnDisk("Private.txt"), "old");
  fs::permissions(OnDisk("Private.txt"), fs::perms::owner_read | fs::perms::owner_write);
  WriteTextLines(Windows("Private.txt"), Lines{"new"});
  EXPECT_EQ(fs::status(OnDisk("Private.txt")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  WriteBytes(profile.Root() + "/elsewhere/Real.txt", "old");
  fs::create_symlink(profile.Root() + "/elsewhere/Real.txt", OnDisk("Linked.txt"));
  WriteTextLines(Windows("Linked.txt"), Lines{"through the link"});
  EXPECT_TRUE(fs::is_symlink(OnDisk("Linked.txt")));
  EXPECT_EQ(ReadBytes(profile.Root() + "/elsewhere/Real.txt"), "through the link\r\n");
}

TEST_F(TextFileTest, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  fs::create_directories(OnDisk("Folder.txt"));
  WriteBytes(OnDisk("Plain.txt"), "keep me\r\n");
  const Lines lines{"replacement"};

  EXPECT_EQ(MessageOf<EFCreateError>([&] { WriteTextLines(Windows("Folder.txt"), lines); }),
            "Cannot create file \"" + OnDisk("Folder.txt") + "\". Is a directory");
  EXPECT_EQ(
      MessageOf<EFCreateError>([&] { WriteTextLines(Windows(R"(Plain.txt\Inner.txt)"), lines); }),
      "Cannot create file \"" + OnDisk("Plain.txt/Inner.txt") + "\". Not a directory");
  EXPECT_EQ(MessageOf<EFCreateError>([&] { WriteTextLines(R"(F:\x.txt)", lines); }),
            "Cannot create file \"F:\\x.txt\". The drive cannot be found");
  // The file-size limit stops the write half way: the classic way to lose a
  // file, if it were written in place.
  const std::string plain = Windows("Plain.txt");
  EXPECT_EQ(MessageOf<EFCreateError>(
                FailureUnder(RLIMIT_FSIZE, 4, [&] { WriteTextLines(plain, lines); })),
            "Cannot create file \"" + OnDisk("Plain.txt") + "\". File too large");
  EXPECT_EQ(ReadBytes(OnDisk("Plain.txt")), "keep me\r\n");
  EXPECT_TRUE(fs::is_directory(OnDisk("Folder.txt")));
  EXPECT_TRUE(fs::is_empty(OnDisk("Folder.txt")));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Folder.txt", "Plain.txt"}));
}

TEST_F(TextFileTest, OnlyTheLinesAskedForAreRead) {
  // Ten short lines in Windows-1252, then 50 MB of zero bytes without a break:
  // a line too long to be an entry, where reading stops.
  std::string bytes;
  for (int i = 1; i <= 10; ++i)
    bytes += "line " + std::to_string(i) + "\xE9\r\n";
  WriteBytes(OnDisk("Big.txt"), bytes);
  fs::resize_file(OnDisk("Big.txt"), bytes.size() + (50u << 20));
  const Lines first = ReadTextLines(Windows("Big.txt"), 8);
  ASSERT_EQ(first.size(), 8u);
  EXPECT_EQ(first[0], "line 1é");
  EXPECT_EQ(first[7], "line 8é");
  EXPECT_EQ(ReadTextLines(Windows("Big.txt")).size(), 10u);
}

}  // namespace
