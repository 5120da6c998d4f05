// The platform's side of accessibility: what makes the accessible objects
// reachable for this desktop's assistive technology. The application starts
// it once its main window shows and ends it before its windows go.
#pragma once

#include <memory>

namespace vark {
class Backend;
}

namespace vark::a11y {

class PlatformBridge {
 public:
  virtual ~PlatformBridge() = default;
};

// On Linux: follows whether the desktop session's accessibility bus is on and,
// once it is, loads the AT-SPI bridge (platform/ui/a11y/linux). Null where
// there is nothing to serve (no session, a backend without descriptors).
std::unique_ptr<PlatformBridge> StartPlatformBridge(Backend& backend);

}  // namespace vark::a11y
