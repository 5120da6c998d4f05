// The settings store against Linux's own limits: the read count the kernel
// keeps, a process without file descriptors, and a named pipe in a list
// file's place.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Exceptions.h"
#include "tests/app/StoreTestSupport.h"
#include "tests/common/linux/ResourceLimit.h"

using vark::test::Column;
using vark::test::CurrentTable;
using vark::test::DefaultTable;
using vark::test::EightLines;
using vark::test::ErrorOf;
using vark::test::StoreTest;
namespace fs = std::filesystem;

namespace {

// What this process has read from files so far, in bytes.
uint64_t BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  ADD_FAILURE() << "no read count in /proc/self/io";
  return 0;
}

TEST_F(StoreTest, AHugeListFileIsReadOnlyAsFarAsItsEightLines) {
  struct Case {
    const char* name;
    std::string head;
    uintmax_t size;  // the rest reads as zero bytes: a sparse file
    const char* error;
  };
  const Case cases[] = {
      {"3 GB, eight good lines first", EightLines("exe"), uintmax_t{3} << 30, nullptr},
      {"one line of 100 MB", "", uintmax_t{100} << 20, "List index out of bounds (0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put("ExecutableNames.txt", c.head);
    fs::resize_file(folder + "ExecutableNames.txt", c.size);
    const uint64_t before = BytesRead();
    if (c.error == nullptr) {
      ProgramSettings(true, window);
      EXPECT_EQ(exenames, Column("exe"));
    } else {
      EXPECT_EQ(ErrorOf<EListError>([&] { ProgramSettings(true, window); }), c.error);
    }
    EXPECT_LT(BytesRead() - before, uint64_t{1} << 20);
  }
}

TEST_F(StoreTest, AListFileThatCannotBeOpenedStopsTheLoad) {
  PutAllLists();
  Put(kSettingsFileName, "900\r\n10\r\n20\r\n4\r\n");
  std::exception_ptr failure =
      vark::testing::FailureUnder(RLIMIT_NOFILE, 0, [&] { ProgramSettings(true, window); });
  const std::string message = ErrorOf<EFOpenError>([&] {
    if (failure) std::rethrow_exception(failure);
  });
  EXPECT_EQ(message, FileError("Cannot open file", "FolderLocations.txt", "Too many open files"));
  EXPECT_EQ(CurrentTable(), DefaultTable());
  EXPECT_EQ(window.sets, 0);
}

TEST_F(StoreTest, APipeInAListFilesPlaceCountsAsMissing) {
  PutAllLists();
  fs::remove(folder + "MapNames.txt");
  ASSERT_EQ(mkfifo((folder + "MapNames.txt").c_str(), 0600), 0);
  ProgramSettings(true, window);
  EXPECT_EQ(exenames, Column("exe"));
  EXPECT_EQ(mapednames, DefaultEditionColumn(3));
  window.sets = 0;
  ScanChangedFiles(window);
  EXPECT_EQ(window.sets, 0);
}

}  // namespace
