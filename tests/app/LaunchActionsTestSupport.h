// The launch actions' fixture: the main window with fake editions. The
// edition folders lie beside the test's current folder, as they lie beside
// the launcher's, and hold recorders (tests/app/Recorders.h). The started
// programs run on their own, so a test waits (in real time, briefly) for
// their records.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/LauncherTestSupport.h"
#include "tests/app/Recorders.h"

namespace vark::test {

class LaunchActions : public LauncherTest {
 protected:
  void SetUp() override {
    LauncherTest::SetUp();
    recorders = std::make_unique<Recorders>(*profile, profile->Root() + "/records");
  }
  void TearDown() override {
    recorders.reset();
    LauncherTest::TearDown();
  }

  // A recorder as a program of an edition, relative to the folder that holds
  // the editions ("Valdor III EF/vember.exe").
  void PutProgram(const std::string& relative) const { recorders->Put(games + "/" + relative); }

  // Waits up to twenty seconds until count programs have recorded their start.
  bool WaitForRecords(size_t count) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (recorders->Finished().size() < count) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  // The only record there is; fails the test when there is not exactly one.
  Record OnlyRecord() const {
    EXPECT_TRUE(WaitForRecords(1)) << "nothing was started";
    const std::vector<Record> records = recorders->Finished();
    EXPECT_EQ(records.size(), 1u);
    return records.empty() ? Record{} : records[0];
  }

  // Whether anything started, after a moment to let it record.
  size_t RecordsAfterAMoment() const {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return recorders->Finished().size();
  }

  std::string EditionFolder(const std::string& name) const {
    return Recorders::AsRecorded(games + "/" + name);
  }

  // Whether a file a program was given is the one expected (a folder may come
  // with a final separator, which not every system's file lookup takes).
  static bool SameFile(std::string given, std::string expected) {
    for (std::string* path : {&given, &expected})
      while (path->size() > 1 && (path->back() == '/' || path->back() == '\\'))
        path->pop_back();
    std::error_code ignored;
    return std::filesystem::equivalent(testing::PathOf(given), testing::PathOf(expected), ignored);
  }

  std::unique_ptr<Recorders> recorders;
};

}  // namespace vark::test
