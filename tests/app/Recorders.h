// Programs that record how they were started, for the launch-action tests:
// each start leaves a record (the program's name, its arguments, its working
// folder) in a folder of the test's own. Edition programs are recorders put
// in the editions' places; the program the shell opens folders and list
// files with is one too, for as long as the Recorders object lives (on Linux
// `xdg-open` and `wine` on a search path of the test's own, on Windows the
// handler of folders and .txt files).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/common/TempProfile.h"

namespace vark::test {

struct Record {
  std::string name;               // the started file's name
  std::vector<std::string> args;  // without the program itself
  std::string cwd;                // the working folder, as the system names it
};

class Recorders {
 public:
  // Records go to folder; what the shell needs changed is set through the
  // profile or put back by the destructor.
  Recorders(testing::TempProfile& profile, std::string folder);
  ~Recorders() {
    for (auto it = restore_.rbegin(); it != restore_.rend(); ++it)
      (*it)();
  }
  Recorders(const Recorders&) = delete;
  Recorders& operator=(const Recorders&) = delete;

  // A recorder program at path (its folder is made).
  void Put(const std::string& path) const;
  // The records finished so far.
  std::vector<Record> Finished() const;
  // Forgets every record.
  void Clear() const;

  // A folder as a recorder names its working folder.
  static std::string AsRecorded(const std::string& folder);
  // The name of the program that opens folders and list files.
  static const char* const kOpener;

 private:
  testing::TempProfile& profile_;
  std::string folder_;
  std::string bin_;                             // programs of the test's own
  std::vector<std::function<void()>> restore_;  // puts back what the shell was given
};

}  // namespace vark::test
