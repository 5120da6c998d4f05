#include "tests/common/windows/ProfileSystem.h"

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>

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
