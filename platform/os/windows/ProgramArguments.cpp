#include "platform/os/CommandLine.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::os {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  // Without memory for the split, the runtime's own is all there is.
  if (wide == nullptr) return {argv, argv + argc};
  std::vector<std::string> args;
  args.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    args.push_back(win32::Narrow(wide[i]));
  LocalFree(wide);
  return args;
}

}  // namespace vark::os
