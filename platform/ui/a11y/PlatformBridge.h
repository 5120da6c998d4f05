// The platform's side of accessibility: what makes the accessible objects
// reachable for this desktop's assistive technology. The application starts
// it once its main window shows and ends it before its windows go.
#pragma once

#include <memory>

namespace vark {
class Backend;
struct NativeKey;
}  // namespace vark

namespace vark::a11y {

class PlatformBridge {
 public:
  virtual ~PlatformBridge() = default;
  // Offers a key press or release to assistive technology before the program
  // sees it, as the desktop's toolkits do: a screen reader takes its own
  // commands (Insert+T) this way. True when it took the key, which then does
  // nothing in the program. May wait for the screen reader's answer, never
  // without a bound; with no screen reader listening it answers at once.
  virtual bool KeyTaken(bool pressed, const NativeKey& key) {
    (void)pressed;
    (void)key;
    return false;
  }
};

// On Linux: follows whether the desktop session's accessibility bus is on and,
// once it is, loads the AT-SPI bridge (platform/ui/a11y/linux). Null where
// there is nothing to serve (no session, a backend without descriptors).
std::unique_ptr<PlatformBridge> StartPlatformBridge(Backend& backend);

}  // namespace vark::a11y
