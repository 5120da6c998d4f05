// The settings store on Linux: the one key the program reads, answered from
// the desktop's accent colour. Key and value names compare without case, as
// the stored names do.
#include <strings.h>

#include <optional>

#include "platform/os/SettingsStore.h"
#include "platform/os/linux/DesktopAccent.h"

namespace vark::os {

namespace {

constexpr const char* kAccentKey = "Software\\Microsoft\\Windows\\DWM";
constexpr const char* kAccentValue = "AccentColor";

bool SameName(std::string a, const char* b) {
  while (!a.empty() && a.back() == '\\')
    a.pop_back();
  return strcasecmp(a.c_str(), b) == 0;
}

class DesktopSettingsStore : public SettingsStore {
 public:
  bool OpenKeyReadOnly(const std::string& key) override {
    CloseKey();
    if (!SameName(key, kAccentKey)) return false;
    open_ = true;
    accent_ = DesktopAccentColor();
    return true;
  }

  bool ValueExists(const std::string& name) override {
    return open_ && accent_ && SameName(name, kAccentValue);
  }

  int32_t ReadInteger(const std::string& name) override {
    if (!ValueExists(name)) throw ERegistryException("Invalid data type for '" + name + "'");
    return static_cast<int32_t>(*accent_);
  }

  void CloseKey() override {
    open_ = false;
    accent_.reset();
  }

 private:
  bool open_ = false;
  std::optional<uint32_t> accent_;
};

}  // namespace

std::unique_ptr<SettingsStore> OpenUserSettingsStore() {
  return std::make_unique<DesktopSettingsStore>();
}

}  // namespace vark::os
