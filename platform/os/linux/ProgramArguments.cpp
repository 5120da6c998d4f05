#include "platform/os/CommandLine.h"

namespace vark::os {

// Linux hands a program its arguments as the bytes they were given: UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return {argv, argv + argc};
}

}  // namespace vark::os
