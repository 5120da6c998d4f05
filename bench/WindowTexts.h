// Every font of the window with the texts shown in it, the button glyphs in
// the default face and the icon-font characters: what the cold start of the
// font engine resolves (bench/graphics_text.cpp and its Windows side).
#pragma once

#include "platform/graphics/Font.h"
#include "platform/graphics/Text.h"

namespace vark::bench {

struct WindowText {
  const char* font;
  int height;
  bool bold;
  const char* text;
};
inline constexpr WindowText kWindowTexts[] = {
    {"Segoe UI", -11, false, "To acess this menu you need to be in 16 bit color mode"},
    {"Segoe UI", -11, false, "Enable cheats menu"},
    {"Segoe Print", -40, false, "Valdor III Launcher"},
    {"Segoe Fluent Icons", -19, false, "\xEE\x9C\x91"},  // U+E711
    {"Segoe Fluent Icons", -17, true, "\xEE\x9C\x93"},   // U+E713
    {"Segoe UI Light", -23, false, "Aditional"},
    {"Segoe UI Semibold", -16, false, "Launch"},
    {"Segoe UI Semibold", -15, false, "Open valdor folder"},
    {"Segoe UI Semibold", -13, false, "Folders"},
    {"Segoe UI", -13, false, "Hello World!"},
    {"Segoe UI", -21, false, "Tidemark"},
    {"Tahoma", -11, false, "Loading 100%"},
    {"Segoe UI", -9, true, "?"},
    // The glyphs of the window's buttons and of the whole button glyph table.
    {"Segoe UI", -24, false,
     "\xE2\x9C\x94\xE2\x9D\x8C\xE2\x9C\x85\xF0\x9F\x9A\xAB\xE2\x9D\x94\xE2\x9A\xA0\xE2\x9E\xA4"
     "\xE1\x90\x85\xE1\x90\x8A\xE1\x90\x83\xE1\x90\x81\xE2\x9E\x9C\xE2\x9E\xA5\xF0\x9F\x94\x81"
     "\xE2\x96\xBC\xE2\x96\xB2\xF0\x9F\x94\x8E\xF0\x9F\x94\x8D"},
};

inline int ResolveWindowFonts() {
  int total = 0;
  for (const WindowText& t : kWindowTexts) {
    TFont font;
    font.SetName(t.font);
    font.SetHeight(t.height);
    if (t.bold) font.SetStyle({fsBold});
    total += vark::text::Measure(font, t.text).width;
  }
  return total;
}

}  // namespace vark::bench
