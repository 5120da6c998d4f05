// Fitting a message into the dialog: the word-wrapped text grows the window
// rather than being cut off, and where even the screen is too small for it the
// text is shortened visibly (a last line ending in "…"), never silently.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/graphics/Font.h"

namespace vark::dialogs {

struct FittedMessage {
  // What the label shows: the message itself when it fits, else its lines as
  // they wrap (a word wider than the widest window broken where it must be),
  // as many as fit, the last one ending in "…".
  std::string text;
  // The window width it needs: at least the one given; wider when a word is
  // wider than the label, or when the wrapped text would be taller than
  // maxTextHeight; never wider than maxWindowWidth (nor narrower than given).
  int windowWidth = 0;
  // The height of the wrapped text and of one line, in pixels.
  int textHeight = 0;
  int lineHeight = 0;
  bool shortened = false;
};

// Lays out text in font for a label labelMargin narrower than the window,
// widening the window as described above (in steps of 100 pixels for height).
FittedMessage FitMessage(const TFont& font, std::string_view text, int windowWidth, int labelMargin,
                         int maxWindowWidth, int maxTextHeight);

// The length of UTF-8 text in UTF-16 code units (characters above U+FFFF
// count twice; a malformed sequence counts as one replacement character).
size_t Utf16Length(std::string_view text);

}  // namespace vark::dialogs
