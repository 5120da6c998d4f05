// What GDI itself says about a font and a text, to hold the text engine to.
// No system header here: the tests also see our framework's names, some of
// which the system's headers define as well.
#pragma once

#include <string>
#include <vector>

namespace vark::testing::gdi {

struct Extent {
  int width = 0;       // with the kerning GDI applies (GetCharacterPlacementW)
  int plainWidth = 0;  // without kerning (GetTextExtentPoint32W)
  int ascent = 0;
  int descent = 0;
};

// The text (UTF-8) in the font family at height (negative: the em), as GDI
// lays it out.
Extent Measure(const std::string& family, int height, bool bold, const std::string& text);

// The text as GDI's own ExtTextOutW draws it (black on white, anti-aliased,
// the top-left of its line at (x, 0) in a bitmap width × height): how far it
// moves the current position, and the ink of each column of the bitmap (the
// sum over its pixels of 255 less the red level). ExtTextOutW shapes complex
// scripts through Uniscribe, on Windows and under Wine alike.
struct Drawn {
  int advance = 0;
  std::vector<int> columnInk;
};
Drawn Draw(const std::string& family, int height, const std::string& text, int x, int width,
           int heightPx);

// Writes a font link list (HKLM\...\FontLink\SystemLink) for a face, the
// entries given one a string, and removes it again at the end.
class SystemLink {
 public:
  SystemLink(const std::string& face, const std::vector<std::string>& entries);
  ~SystemLink();
  SystemLink(const SystemLink&) = delete;
  SystemLink& operator=(const SystemLink&) = delete;

 private:
  std::string face_;
};

// True when the face GDI gives for family has a glyph for the code point
// (GetGlyphIndicesW).
bool HasGlyph(const std::string& family, char32_t cp);

}  // namespace vark::testing::gdi
