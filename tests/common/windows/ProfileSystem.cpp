#include "tests/common/windows/ProfileSystem.h"

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>

#include "platform/os/windows/LongPath.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::testing::profile {
namespace {

using vark::os::win32::Narrow;
using vark::os::win32::Widen;

constexpr const wchar_t* kShellFolders =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The key, open for reading and writing while the object lives.
class ShellFolders {
 public:
  ShellFolders() {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key_, nullptr) != ERROR_SUCCESS) {
      throw std::runtime_error("cannot open the user shell folders");
    }
  }
  ~ShellFolders() { RegCloseKey(key_); }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::string MakeTempFolder() {
  static std::atomic<unsigned> counter{0};
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring folder = std::wstring(temp, length) + L"vark-test-" +
                                std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(counter.fetch_add(1));
    if (CreateDirectoryW(folder.c_str(), nullptr)) return Narrow(folder);
  }
  throw std::runtime_error("cannot make a temporary folder");
}

namespace {

void RemoveTreeW(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTreeW(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

void RemoveTree(const std::string& folder) {
  std::wstring full = vark::os::win32::ResolveFilePath(folder).api;
  if (full.rfind(L"\\\\", 0) != 0) full = L"\\\\?\\" + full;  // a drive path, not yet prefixed
  RemoveTreeW(full);
}

std::optional<std::string> Variable(const std::string& name) {
  const wchar_t* value = _wgetenv(Widen(name).c_str());
  return value ? std::optional<std::string>(Narrow(value)) : std::nullopt;
}

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  // An empty value removes the variable.
  _wputenv_s(Widen(name).c_str(), value ? Widen(*value).c_str() : L"");
}

ProfileRedirect::ProfileRedirect(const std::string& root) {
  const ShellFolders key;
  const std::pair<const wchar_t*, const char*> folders[] = {
      {L"Local AppData", "/data"},
      {L"AppData", "/config"},
      {L"{A520A1A4-1780-4FF6-BD18-167343C5AF16}", "/state"}};  // LocalLow
  for (const auto& [value, sub] : folders) {
    Saved saved;
    saved.value = value;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExW(key.get(), value, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      saved.data.resize(size);
      RegQueryValueExW(key.get(), value, nullptr, &type, saved.data.data(), &size);
      saved.type = type;
      saved.existed = true;
    }
    saved_.push_back(std::move(saved));
    std::wstring folder = Widen(root + sub);
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    RegSetValueExW(key.get(), value, 0, REG_EXPAND_SZ,
                   reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
}

ProfileRedirect::~ProfileRedirect() {
  try {
    const ShellFolders key;
    for (const Saved& saved : saved_) {
      if (saved.existed) {
        RegSetValueExW(key.get(), saved.value.c_str(), 0, saved.type, saved.data.data(),
                       static_cast<DWORD>(saved.data.size()));
      } else {
        RegDeleteValueW(key.get(), saved.value.c_str());
      }
    }
  } catch (const std::runtime_error&) {
    // Nothing to put back without the key.
  }
}

}  // namespace vark::testing::profile
