// Between the program and its AT-SPI bridge. The bridge lives in a module of
// its own (libvark-atspi.so, platform/ui/a11y/linux/atspi), loaded only once
// assistive technology runs, so that ATK, GObject and the bridge's libraries
// cost a program without a screen reader nothing at all.
//
// The module sees no symbol of the program: everything crosses as calls
// through the abstract classes below and those of Accessible.h. Values that
// cross (the strings and lists of Facts) are built by one side and freed by
// the other; both sides are built by the same compiler from the same headers
// and allocate from the C library's heap, and no exception crosses.
#pragma once

#include <cstddef>

#include "platform/backend/Backend.h"
#include "platform/ui/a11y/Accessible.h"

namespace vark::a11y {

// What the program hands the bridge: its objects, and its event loop to wait
// on the bus with.
class BridgeHost {
 public:
  virtual Accessible& Root() = 0;
  virtual void SetObserver(Observer* observer) = 0;
  virtual bool AddWaitSource(WaitSource& source) = 0;
  virtual void RemoveWaitSource(WaitSource& source) = 0;

 protected:
  ~BridgeHost() = default;
};

// A running bridge; deleting it takes the program off the bus.
class Bridge {
 public:
  virtual ~Bridge() = default;
  // PlatformBridge::KeyTaken.
  virtual bool KeyTaken(bool pressed, const NativeKey& key) = 0;
};

// The module's file, and its one entry point: it starts the bridge, or
// returns null and says why in error (a C string of at most size bytes).
inline constexpr char kBridgeModule[] = "libvark-atspi.so";
inline constexpr char kBridgeEntry[] = "vark_atspi_start";
extern "C" {
using BridgeEntry = Bridge* (*)(BridgeHost* host, char* error, size_t size);
}

}  // namespace vark::a11y
