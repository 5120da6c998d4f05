// The watches of programs that ShellExecuteWatchedW started (ShellWatch.cpp):
// the shell hands each one's report pipe over here.
#pragma once

#include <string>

namespace vark::os {

// Keeps the report pipe `fd` (see SpawnDetached) of the program started for
// `file`, and closes it once its answer is in.
void AddShellWatch(int fd, std::string file);

}  // namespace vark::os
