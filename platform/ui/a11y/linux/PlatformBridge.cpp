// Linux: AT-SPI, the desktop's accessibility bus, through ATK and its bridge.
//
// When to load it: once the session says accessibility is on (SessionStatus),
// and then for the rest of the run. Until then the program has one quiet
// connection to the session bus and nothing else: no ATK, no GObject types,
// no connection to the accessibility bus, no bridge module in memory. Once
// loaded the bridge stays (the types it registered cannot be unloaded); should
// the session turn accessibility off again, its bus simply falls silent.
// NO_AT_BRIDGE=1 keeps it off, as it does for the desktop's other toolkits.
#include "platform/ui/a11y/PlatformBridge.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/backend/Backend.h"
#include "platform/os/SystemPaths.h"
#include "platform/ui/Application.h"
#include "platform/ui/a11y/linux/BridgeHost.h"
#include "platform/ui/a11y/linux/SessionStatus.h"

namespace vark::a11y {

namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

// Beside the program (the build tree), in an installed tree that was moved
// after it was built (bin/ and the library folder side by side), else where
// the install put it.
std::string ModulePath() {
  const std::string program = os::ExecutablePath();
  if (const size_t slash = program.rfind('/'); slash != std::string::npos) {
    const std::string folder = program.substr(0, slash + 1);
    for (const std::string& path :
         {folder + kBridgeModule, folder + "../" VARK_LIB_FOLDER "/" + kBridgeModule}) {
      if (Exists(path)) return path;
    }
  }
  return std::string(VARK_INSTALLED_PREFIX "/" VARK_LIB_FOLDER "/") + kBridgeModule;
}

class LinuxBridge final : public PlatformBridge, private BridgeHost {
 public:
  explicit LinuxBridge(Backend& backend) : backend_(backend) {}

  ~LinuxBridge() override {
    *alive_ = false;
    bridge_.reset();
    StopFollowing();
  }

  bool KeyTaken(bool pressed, const NativeKey& key) override {
    return bridge_ && bridge_->KeyTaken(pressed, key);
  }

  bool Follow(const std::string& address) {
    std::shared_ptr<bool> alive = alive_;
    // Loaded from the loop's turn, not from inside the bus's dispatch.
    status_ = SessionStatus::Connect(address, [this, alive] {
      Application->Queue([this, alive] {
        if (*alive) Load();
      });
    });
    if (!status_) return false;
    if (!backend_.AddWaitSource(*status_)) {
      status_.reset();
      return false;
    }
    return true;
  }

 private:
  void StopFollowing() {
    if (!status_) return;
    backend_.RemoveWaitSource(*status_);
    status_.reset();
  }

  void Load() {
    if (bridge_) return;
    StopFollowing();
    const std::string path = ModulePath();
    const std::string program = Application->Title();
    // The module stays loaded for the rest of the run, whatever happens.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      std::fprintf(stderr, "%s: accessibility is on, but its bridge cannot be loaded: %s\n",
                   program.c_str(), dlerror());
      return;
    }
    auto start = reinterpret_cast<BridgeEntry>(dlsym(module, kBridgeEntry));
    char error[512] = "no entry point";
    if (start != nullptr) bridge_.reset(start(this, error, sizeof error));
    if (!bridge_) {
      std::fprintf(stderr, "%s: accessibility is on, but its bridge did not start: %s\n",
                   program.c_str(), error);
    }
  }

  Accessible& Root() override { return vark::a11y::Root(); }
  void SetObserver(Observer* observer) override { vark::a11y::SetObserver(observer); }
  bool AddWaitSource(WaitSource& source) override { return backend_.AddWaitSource(source); }
  void RemoveWaitSource(WaitSource& source) override { backend_.RemoveWaitSource(source); }

  Backend& backend_;
  std::unique_ptr<SessionStatus> status_;
  std::unique_ptr<Bridge> bridge_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace

std::unique_ptr<PlatformBridge> StartPlatformBridge(Backend& backend) {
  if (const char* off = std::getenv("NO_AT_BRIDGE"); off != nullptr && std::strcmp(off, "1") == 0) {
    return nullptr;
  }
  const std::string address = SessionStatus::SessionBusAddress();
  if (address.empty()) return nullptr;
  auto bridge = std::make_unique<LinuxBridge>(backend);
  if (!bridge->Follow(address)) return nullptr;
  return bridge;
}

}  // namespace vark::a11y
