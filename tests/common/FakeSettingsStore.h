// A settings store in memory for tests: keys of named values, each an
// integer or a string, with counts of what the code under test asked.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <variant>

#include "platform/os/SettingsStore.h"

namespace vark::testing {

struct FakeSettings {
  std::map<std::string, std::map<std::string, std::variant<int32_t, std::string>>> keys;
  int opens = 0;
  int closes = 0;
  int reads = 0;
};

class FakeSettingsStore : public vark::os::SettingsStore {
 public:
  explicit FakeSettingsStore(std::shared_ptr<FakeSettings> settings)
      : settings_(std::move(settings)) {}
  ~FakeSettingsStore() override = default;

  bool OpenKeyReadOnly(const std::string& key) override {
    ++settings_->opens;
    auto it = settings_->keys.find(key);
    open_ = it == settings_->keys.end() ? nullptr : &it->second;
    return open_ != nullptr;
  }
  bool ValueExists(const std::string& name) override {
    return open_ != nullptr && open_->count(name) > 0;
  }
  int32_t ReadInteger(const std::string& name) override {
    ++settings_->reads;
    if (!ValueExists(name) || !std::holds_alternative<int32_t>(open_->at(name))) {
      throw ERegistryException("Invalid data type for '" + name + "'");
    }
    return std::get<int32_t>(open_->at(name));
  }
  void CloseKey() override {
    ++settings_->closes;
    open_ = nullptr;
  }

 private:
  std::shared_ptr<FakeSettings> settings_;
  std::map<std::string, std::variant<int32_t, std::string>>* open_ = nullptr;
};

}  // namespace vark::testing
