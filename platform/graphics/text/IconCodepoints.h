// The icon fonts' private-use code points that the program uses, and the
// Unicode symbols that stand in for them where no icon font is installed.
#pragma once

namespace vark::text {

// The Unicode symbol for an icon code point; any other code point as is.
char32_t MapIconCodepoint(char32_t cp);

// True for the code points MapIconCodepoint maps.
inline bool IsIconCodepoint(char32_t cp) {
  return MapIconCodepoint(cp) != cp;
}

}  // namespace vark::text
