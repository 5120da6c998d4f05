// Random bytes as a dconf database and as kdeglobals text: the accent
// readers must answer or decline, never read outside the data.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/os/linux/DesktopAccent.h"
#include "platform/os/linux/Gvdb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  (void)vark::os::GvdbLookupString(bytes, "/org/gnome/desktop/interface/accent-color");
  (void)vark::os::GnomeAccentColor(bytes);
  (void)vark::os::KdeAccentColor(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
