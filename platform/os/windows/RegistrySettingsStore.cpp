// The settings store on Windows: the current user's registry, read-only.
#include <string_view>

#include "platform/os/SettingsStore.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::os {
namespace {

// Key paths may begin or end with "\", as the stored names are written; the
// registry takes them without.
std::wstring KeyPath(std::string_view key) {
  while (!key.empty() && key.front() == '\\')
    key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\')
    key.remove_suffix(1);
  return win32::Widen(key);
}

class RegistrySettingsStore : public SettingsStore {
 public:
  ~RegistrySettingsStore() override { CloseKey(); }

  bool OpenKeyReadOnly(const std::string& key) override {
    CloseKey();
    return RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, KEY_READ, &key_) ==
           ERROR_SUCCESS;
  }

  bool ValueExists(const std::string& name) override {
    return key_ != nullptr && RegQueryValueExW(key_, win32::Widen(name).c_str(), nullptr, nullptr,
                                               nullptr, nullptr) == ERROR_SUCCESS;
  }

  int32_t ReadInteger(const std::string& name) override {
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    // A value of another kind (a string, a 64-bit number) or none at all
    // cannot be read as a 32-bit integer.
    const LSTATUS status = key_ == nullptr
                               ? ERROR_INVALID_HANDLE
                               : RegQueryValueExW(key_, win32::Widen(name).c_str(), nullptr, &type,
                                                  reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) {
      throw ERegistryException("Invalid data type for '" + name + "'");
    }
    return static_cast<int32_t>(value);
  }

  void CloseKey() override {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::unique_ptr<SettingsStore> OpenUserSettingsStore() {
  return std::make_unique<RegistrySettingsStore>();
}

}  // namespace vark::os
