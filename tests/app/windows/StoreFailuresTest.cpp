// The settings store against what Windows users meet: a list file another
// program holds open without sharing, a read-only list file, and a data
// folder whose path is longer than the classic 260 characters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/os/SystemError.h"
#include "platform/os/windows/LongPath.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"
#include "tests/app/StoreTestSupport.h"

using vark::os::win32::Widen;
using vark::test::Column;
using vark::test::CurrentTable;
using vark::test::DefaultTable;
using vark::test::EightLines;
using vark::test::ErrorOf;
using vark::test::StoreTest;

namespace {

// A file held open the way another program may hold it: no sharing at all.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr)) {}
  ~HeldFile() {
    if (held()) CloseHandle(handle_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

TEST_F(StoreTest, AListFileHeldOrReadOnlyStopsTheSaveThereAndLosesNothing) {
  const bool kHeld = true, kReadOnly = false;
  for (bool held : {kHeld, kReadOnly}) {
    SCOPED_TRACE(held ? "held open" : "read-only");
    const std::string target = folder + "LauncherNames.txt";
    SetFileAttributesW(Widen(target).c_str(), FILE_ATTRIBUTE_NORMAL);
    Put("FolderLocations.txt", "old folders\r\n");
    Put("LauncherNames.txt", "old launchers\r\n");
    Put(kSettingsFileName, "1\r\n2\r\n3\r\n4\r\n");
    launchfolders = Column("folder");
    launchername = Column("launcher");
    std::string error;
    if (held) {
      HeldFile holder(target);
      ASSERT_TRUE(holder.held());
      error = ErrorOf<EFCreateError>([&] { ProgramSettings(false, window); });
    } else {
      ASSERT_TRUE(SetFileAttributesW(Widen(target).c_str(), FILE_ATTRIBUTE_READONLY));
      error = ErrorOf<EFCreateError>([&] { ProgramSettings(false, window); });
    }
    EXPECT_EQ(error, FileError("Cannot create file", "LauncherNames.txt",
                               vark::os::SystemErrorText(held ? ERROR_SHARING_VIOLATION
                                                              : ERROR_ACCESS_DENIED)));
    EXPECT_EQ(Get("FolderLocations.txt"), EightLines("folder"));
    EXPECT_EQ(Get("LauncherNames.txt"), "old launchers\r\n");
    EXPECT_EQ(Get(kSettingsFileName), "1\r\n2\r\n3\r\n4\r\n");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"AppSettings.txt", "ExecutableNames.txt",
                                                   "FolderLocations.txt", "LauncherNames.txt"}))
        << "nothing half-written is left beside them";
  }
  SetFileAttributesW(Widen(folder + "LauncherNames.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  ProgramSettings(false, window);
  EXPECT_EQ(Get("LauncherNames.txt"), EightLines("launcher"));
}

TEST_F(StoreTest, AListFileHeldWithoutSharingStopsTheLoad) {
  PutAllLists();
  Put(kSettingsFileName, "900\r\n10\r\n20\r\n4\r\n");
  HeldFile holder(folder + "FolderLocations.txt");
  ASSERT_TRUE(holder.held());
  EXPECT_EQ(ErrorOf<EFOpenError>([&] { ProgramSettings(true, window); }),
            FileError("Cannot open file", "FolderLocations.txt",
                      vark::os::SystemErrorText(ERROR_SHARING_VIOLATION)));
  EXPECT_EQ(CurrentTable(), DefaultTable());
  EXPECT_EQ(window.sets, 0);
}

TEST_F(StoreTest, ADataFolderBeyondTheClassicPathLimitSavesAndLoads) {
  std::string deep = appdata;
  while (deep.size() < 300)
    deep += "Valdor III Émeraude saves\\";
  appdata = deep;
  launchfolders = Column("deep");
  selectedindex = 6;
  ProgramSettings(false, window);
  const std::wstring file = vark::os::win32::ResolveFilePath(deep + "FolderLocations.txt").api;
  ASSERT_EQ(file.rfind(L"\\\\?\\", 0), 0u) << "the path is a long one";
  EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);

  RestoreStartState();
  appdata = deep;
  ProgramSettings(true, window);
  EXPECT_EQ(launchfolders, Column("deep"));
  EXPECT_EQ(selectedindex, 6);
}

}  // namespace
