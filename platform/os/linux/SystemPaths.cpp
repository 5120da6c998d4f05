#include "platform/os/SystemPaths.h"

#include <unistd.h>

#include <filesystem>

#include "platform/os/SystemInfo.h"
#include "platform/os/linux/PathMapping.h"

namespace vark::os {

std::string UserAppDataFolder(AppDataBranch branch) {
  const char* names[] = {"Local", "Roaming", "LocalLow"};
  return "C:\\Users\\" + LogonName() + "\\AppData\\" + names[static_cast<int>(branch)] + "\\";
}

std::string SystemPathName(std::string_view path) {
  return std::filesystem::path(ToLinuxPath(path)).lexically_normal().string();
}

std::string ExecutablePath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

std::string ProgramName() {
  const std::string path = ExecutablePath();
  if (path.empty()) return "Application";
  return path.substr(path.rfind('/') + 1);
}

}  // namespace vark::os
