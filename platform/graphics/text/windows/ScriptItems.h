// The script items of a run of one direction, as Uniscribe's ScriptItemize
// splits it, and which of them need shaping: a complex script (Arabic,
// Hebrew, the Indic scripts, Thai, ...) whose letters take other forms,
// ligatures or moved marks by their neighbours. Text of other scripts keeps
// one glyph a character. No system header here: the engine's files also see
// our framework's names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vark::text {

struct ScriptItem {
  size_t start = 0;  // code points of the run, [start, end)
  size_t end = 0;
  bool complex = false;   // shaped by Uniscribe
  uint32_t analysis = 0;  // Uniscribe's analysis of a complex item, kept as it is
};

// The items of run in logical order, read right to left when rightToLeft (the
// whole run has one direction). Neighbouring items that need no shaping are
// one item; a run with no character of a complex script's range is one item
// without asking Uniscribe.
std::vector<ScriptItem> ScriptItems(std::span<const char32_t> run, bool rightToLeft);

// The code points as UTF-16, for the system's calls.
std::wstring Utf16(std::span<const char32_t> text);

}  // namespace vark::text
