// Random bytes as one of the store's five files, loaded through the store
// with a window that only holds numbers. The first byte picks the file: even
// values AppSettings.txt, odd ones a list file. Only the failures the store
// documents may come out; afterwards the selected edition is still valid, and
// a successful load saves and loads back to the same table and window.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/ValdorLaunch.Store.h"
#include "platform/Exceptions.h"
#include "support/Vark.SysUtils.h"
#include "tests/common/FakeWindow.h"
#include "tests/common/TempProfile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

struct Snapshot {
  TEditionColumn columns[kListFileCount];
  int width, top, left, index;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const WindowPlacement& window) {
  return {{launchfolders, exenames, launchername, mapednames},
          window.Width(),
          window.Top(),
          window.Left(),
          selectedindex};
}

const std::string& Folder() {
  static vark::testing::TempProfile profile;
  static const std::string appfolder = [] {
    RestoreStartState();
    appdata = GetPathInAppData(kLauncherAppName, true, true, adtLocal);
    return appdata;
  }();
  return appfolder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = Folder();
  const std::string onDisk =
      std::string(getenv("XDG_DATA_HOME")) + "/VarkelSoftware/" + kLauncherAppName + "/";
  std::string name = kSettingsFileName;
  if (size > 0 && (data[0] & 1) != 0) name = editfilenames[(data[0] >> 1) % kListFileCount];
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& file : editfilenames)
    std::remove((onDisk + file).c_str());
  vark::testing::WriteBytes(onDisk + kSettingsFileName, "801\r\n120\r\n340\r\n2\r\n");
  vark::testing::WriteBytes(onDisk + name, size > 0 ? bytes.substr(1) : bytes);

  RestoreStartState();
  appdata = folder;
  vark::testing::FakeWindow window;
  bool loaded = true;
  try {
    ProgramSettings(true, window);
  } catch (const EListError&) {
    loaded = false;
  } catch (const EConvertError&) {
    loaded = false;
  }
  Check(selectedindex >= 1 && selectedindex <= kEditionCount);
  if (!loaded) return 0;

  const Snapshot before = Take(window);
  ProgramSettings(false, window);
  RestoreStartState();
  appdata = folder;
  vark::testing::FakeWindow again(0, 0, 0);
  ProgramSettings(true, again);
  Check(Take(again) == before);
  return 0;
}
