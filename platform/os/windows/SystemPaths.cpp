#include "platform/os/SystemPaths.h"

#include "platform/os/SystemError.h"
#include "platform/os/windows/LongPath.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::os {

std::string UserAppDataFolder(AppDataBranch branch) {
  const KNOWNFOLDERID* ids[] = {&FOLDERID_LocalAppData, &FOLDERID_RoamingAppData,
                                &FOLDERID_LocalAppDataLow};
  wchar_t* path = nullptr;
  // Not verified: a folder that does not exist yet is made by the caller, as
  // for the rest of the path.
  const HRESULT result =
      SHGetKnownFolderPath(*ids[static_cast<int>(branch)], KF_FLAG_DONT_VERIFY, nullptr, &path);
  std::string folder = SUCCEEDED(result) ? win32::Narrow(path) : std::string();
  CoTaskMemFree(path);
  if (FAILED(result)) {
    RaiseOSError(HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                            : static_cast<int>(result));
  }
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string SystemPathName(std::string_view path) {
  return win32::ResolveFilePath(path).shown;
}

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return win32::Narrow(path);
    }
    path.resize(path.size() * 2);  // cut short: try a larger buffer
  }
}

std::string ProgramName() {
  std::string name = ExecutablePath();
  if (name.empty()) return "Application";
  name = name.substr(name.find_last_of("\\/") + 1);
  if (name.size() > 4 && _stricmp(name.c_str() + name.size() - 4, ".exe") == 0)
    name.resize(name.size() - 4);
  return name;
}

}  // namespace vark::os
