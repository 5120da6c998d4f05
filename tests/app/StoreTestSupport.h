// Shared pieces of the settings-store tests: a throw-away profile with the
// launcher's data folder made as the program makes it, the module state as at
// program start, and the lines and columns the tests write and expect.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/ValdorLaunch.Store.h"
#include "platform/os/SystemPaths.h"
#include "support/Vark.SysUtils.h"
#include "tests/common/FakeWindow.h"
#include "tests/common/TempProfile.h"

namespace vark::test {

using Table = std::array<TEditionColumn, kListFileCount>;

inline Table CurrentTable() {
  return {launchfolders, exenames, launchername, mapednames};
}
inline Table DefaultTable() {
  return {DefaultEditionColumn(0), DefaultEditionColumn(1), DefaultEditionColumn(2),
          DefaultEditionColumn(3)};
}

// Eight CR LF lines "<prefix>1" .. "<prefix>8".
inline std::string EightLines(const std::string& prefix) {
  std::string s;
  for (int i = 1; i <= 8; ++i)
    s += prefix + std::to_string(i) + "\r\n";
  return s;
}

inline TEditionColumn Column(const std::string& prefix) {
  TEditionColumn c;
  for (int i = 0; i < 8; ++i)
    c[i] = prefix + std::to_string(i + 1);
  return c;
}

// The message of the exception E that the action raises.
template <typename E>
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  }
  return "(no error)";
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestoreStartState();
    appdata = GetPathInAppData(kLauncherAppName, true, true, adtLocal);
    folder = profile.DataHome() + "/VarkelSoftware/Valdor III Launcher/";
    ASSERT_TRUE(std::filesystem::is_directory(testing::PathOf(folder)));
  }
  void TearDown() override { RestoreStartState(); }

  // Writes a file of the store with a last-write time of its own, so every
  // rewrite differs from the previous one whatever the file system records.
  void Put(const std::string& name, const std::string& bytes) {
    testing::WriteBytes(folder + name, bytes);
    static int64_t tick = 0;
    testing::SetLastWriteTime(folder + name, 1733700000 + ++tick);
  }
  std::string Get(const std::string& name) const { return testing::ReadBytes(folder + name); }
  std::vector<std::string> Entries() const { return testing::FolderEntries(folder); }
  void PutAllLists() {
    Put("FolderLocations.txt", EightLines("folder"));
    Put("ExecutableNames.txt", EightLines("exe"));
    Put("LauncherNames.txt", EightLines("launcher"));
    Put("MapNames.txt", EightLines("map"));
  }
  // The message of a file error for the data folder's file name, as the
  // system names the file.
  static std::string FileError(const char* what, const std::string& name,
                               const std::string& reason) {
    return std::string(what) + " \"" + vark::os::SystemPathName(appdata + name) + "\". " + reason;
  }

  testing::TempProfile profile;
  std::string folder;  // the data folder, with "/" and ending in it
  testing::FakeWindow window;
};

}  // namespace vark::test
