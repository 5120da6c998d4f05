// Windows: UI Automation translates the accessible objects (UiaBridge). It
// costs nothing until a client asks a window for its object, and raises no
// event while no client listens.
#include "platform/ui/a11y/PlatformBridge.h"

#include "platform/ui/a11y/windows/UiaBridge.h"

namespace vark::a11y {

std::unique_ptr<PlatformBridge> StartPlatformBridge(Backend& backend) {
  const uia::Core* core = uia::LoadCore();
  if (core == nullptr) return nullptr;
  return std::make_unique<uia::UiaBridge>(*core, &backend);
}

}  // namespace vark::a11y
