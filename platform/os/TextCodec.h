// Text-file bytes to lines and back.
//
// Reading: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark selects that
// encoding and is dropped; without one, lines that are valid UTF-8 are UTF-8
// (what editors on Linux save) and anything else is in the system's ANSI code
// page (see AnsiCodePage.h: Windows-1252 on Linux). Lines end at
// CR LF, a lone CR or a lone LF; a break at the very end makes no extra line.
// Malformed UTF-8 after a UTF-8 mark and unpaired UTF-16 surrogates become
// U+FFFD, so the lines are always valid UTF-8.
//
// Writing: CR LF after every line, in the ANSI code page when every character fits
// and the bytes cannot be mistaken for another encoding on reading; otherwise
// UTF-8 with a byte-order mark, so no character is lost.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vark::os {

inline constexpr size_t kAllLines = std::numeric_limits<size_t>::max();

// The first maxLines lines of the text (all of them by default). Without a
// mark the encoding is decided on those lines alone: what follows them does
// not change them.
std::vector<std::string> DecodeTextLines(std::string_view bytes, size_t maxLines = kAllLines);

std::string EncodeTextLines(std::span<const std::string> lines);

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 (Linux's ANSI code page) with the five unassigned bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) mapped to the C1 controls of the same value, so every byte has a character.
std::string Windows1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of UTF-8 text, or nothing when a character does not
// fit (or the text is not valid UTF-8).
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

}  // namespace vark::os
