// The system's 8-bit ("ANSI") code page, in which lists without a byte-order
// mark are read and, when every character fits, written: on Windows the one
// the system is set to (1252 in Western Europe and the Americas, 1250 in
// Central Europe, 1251 for Cyrillic, 932 for Japanese, ...), which Notepad's
// "ANSI" also means; on Linux, which has no such setting, Windows-1252.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vark::os {

// The text of bytes in the code page, as UTF-8. Bytes the code page gives no
// character become the system's stand-in for one.
std::string AnsiToUtf8(std::string_view bytes);

// The code page's bytes of UTF-8 text, or nothing when a character does not
// fit exactly (or the text is not valid UTF-8).
std::optional<std::string> Utf8ToAnsi(std::string_view text);

}  // namespace vark::os
