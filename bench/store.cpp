// The settings store on a real file system: a load of the five files, a
// load whose first list file is 50 MB, and one tick of the change scan while
// nothing changed (which should cost four stat calls and nothing else).
#include <benchmark/benchmark.h>

#include <string>

#include "app/ValdorLaunch.Store.h"
#include "support/Vark.SysUtils.h"
#include "tests/common/FakeWindow.h"
#include "tests/common/TempProfile.h"

namespace {

// A fresh profile with the five files as the first close writes them.
class SavedStore {
 public:
  SavedStore() {
    RestoreStartState();
    appdata = GetPathInAppData(kLauncherAppName, true, true, adtLocal);
    ProgramSettings(false, window);
    ProgramSettings(true, window);
  }
  ~SavedStore() { RestoreStartState(); }
  std::string Folder() const {
    return profile.DataHome() + "/VarkelSoftware/" + kLauncherAppName + "/";
  }

  vark::testing::TempProfile profile;
  vark::testing::FakeWindow window;
};

void BM_LoadFiveFiles(benchmark::State& state) {
  SavedStore store;
  for (auto _ : state) {
    ProgramSettings(true, store.window);
    benchmark::DoNotOptimize(exenames);
  }
}
BENCHMARK(BM_LoadFiveFiles);

void BM_LoadWithA50MBListFile(benchmark::State& state) {
  SavedStore store;
  std::string bytes;
  for (int i = 1; i <= 8; ++i)
    bytes += "Folder " + std::to_string(i) + "\r\n";
  bytes += std::string(50u << 20, 'x');
  vark::testing::WriteBytes(store.Folder() + "FolderLocations.txt", bytes);
  for (auto _ : state) {
    ProgramSettings(true, store.window);
    benchmark::DoNotOptimize(launchfolders);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadWithA50MBListFile)->Unit(benchmark::kMillisecond);

void BM_ScanTickUnchanged(benchmark::State& state) {
  SavedStore store;
  store.window.sets = 0;
  for (auto _ : state)
    ScanChangedFiles(store.window);
  if (store.window.sets != 0) state.SkipWithError("the scan reloaded although nothing changed");
}
BENCHMARK(BM_ScanTickUnchanged);

}  // namespace

BENCHMARK_MAIN();
