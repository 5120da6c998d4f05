#include "platform/graphics/text/IconCodepoints.h"

namespace vark::text {

char32_t MapIconCodepoint(char32_t cp) {
  switch (cp) {
    case 0xE711:
      return 0x2715;  // cancel: multiplication x
    case 0xE713:
      return 0x2699;  // settings: gear
    case 0xE734:
      return 0x2606;  // favourite: white star
    default:
      return cp;
  }
}

}  // namespace vark::text
