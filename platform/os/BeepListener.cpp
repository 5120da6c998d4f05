// The listener of Sound.h, the same on every platform.
#include <utility>

#include "platform/os/Sound.h"

namespace vark::os {
namespace {

std::function<void(uint32_t)>& Listener() {
  static std::function<void(uint32_t)> listener;
  return listener;
}

}  // namespace

void SetBeepListener(std::function<void(uint32_t)> listener) {
  Listener() = std::move(listener);
}

void TellBeepListener(uint32_t type) {
  if (const auto& listener = Listener()) listener(type);
}

}  // namespace vark::os
