// Windows has no bridge yet: UI Automation will translate the same objects.
#include "platform/ui/a11y/PlatformBridge.h"

namespace vark::a11y {

std::unique_ptr<PlatformBridge> StartPlatformBridge(Backend&) {
  return nullptr;
}

}  // namespace vark::a11y
