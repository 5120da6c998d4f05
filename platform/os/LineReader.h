// The first lines of a text, taken from a source of bytes only as far as they
// go: a list of eight entries is read up to its eighth line break, however
// large the file behind it. The source is the one thing a platform provides
// (a file read on Linux or on Windows); the rules are the same everywhere.
//
// No entry of the launcher's files (a path or a program name) is longer than
// the longest path Windows accepts, 32,767 UTF-16 code units. A line longer
// than that is no entry: reading stops before it, so the file reads as if it
// ended there (a list then has too few lines). The bound is counted on the
// decoded text, so a line that was read and is saved again, in whichever
// encoding the save picks, is read back the same.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vark::os {

// Fills the buffer with the next bytes and returns how many it gave (0 at the
// end of the text, never more than the buffer holds). It raises its own
// errors.
using ByteSource = std::function<size_t(std::span<char> buffer)>;

// The longest line the reader takes, in UTF-16 code units.
inline constexpr size_t kMaxLineUnits = 32767;
// The most bytes such a line takes in any encoding the reader knows: three
// per code unit in UTF-8 (two in UTF-16, at most two in an ANSI code page).
inline constexpr size_t kMaxLineBytes = 3 * kMaxLineUnits;

// The first maxLines lines, decoded as DecodeTextLines does (the encoding is
// decided on them alone), up to the first line longer than kMaxLineUnits. The
// source is asked for bytes only until the lines are complete or a line has
// grown past kMaxLineBytes.
std::vector<std::string> ReadFirstLines(const ByteSource& source, size_t maxLines);

}  // namespace vark::os
