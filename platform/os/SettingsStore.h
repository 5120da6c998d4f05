// A read-only view of the per-user settings store: keys holding named values.
// Only what the accent colour needs is offered: open a key, ask for a value,
// read it as a 32-bit integer, close.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Exceptions.h"

// A value that exists but cannot be read as asked ("Invalid data type for
// 'AccentColor'").
class ERegistryException : public Exception {
  using Exception::Exception;
};

namespace vark::os {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Opens a key under the current user's root for reading; false when it does
  // not exist. Key paths use "\" between their parts, as the stored names do.
  virtual bool OpenKeyReadOnly(const std::string& key) = 0;
  // Whether the open key holds a value of this name.
  virtual bool ValueExists(const std::string& name) = 0;
  // The value as a 32-bit integer; ERegistryException when it is of another
  // kind or missing.
  virtual int32_t ReadInteger(const std::string& name) = 0;
  // Releases the open key; harmless when none is open.
  virtual void CloseKey() = 0;
};

// The store of this desktop session: on Linux, the key
// "Software\Microsoft\Windows\DWM\" holds "AccentColor" (0xAABBGGRR, alpha
// 0xFF) when the desktop names an accent colour (DesktopAccent.h); every other
// key is absent.
std::unique_ptr<SettingsStore> OpenUserSettingsStore();

}  // namespace vark::os
