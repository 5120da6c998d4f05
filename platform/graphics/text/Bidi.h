// The order in which a line's text is laid out from left to right, by the
// Unicode bidirectional algorithm (FriBidi on Linux, Uniscribe on Windows): a
// line is cut into runs of one direction, and the runs are put in visual
// order. A paragraph that reads right to left starts at the right:
// "© Varkel" shows as "Varkel ©".
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vark::text {

// Code points [start, end) of a line, all read in one direction.
struct BidiRun {
  size_t start = 0;
  size_t end = 0;
  bool rightToLeft = false;
};

// The runs of a line (one paragraph) in visual order, left to right. A run
// that reads right to left is drawn from its end: its last code point leftmost.
std::vector<BidiRun> VisualRuns(std::span<const char32_t> line, bool rightToLeftParagraph);

// The runs of a line in visual order from each code point's embedding level
// (rule L2), its trailing blanks already at the paragraph's level (rule L1).
// The platforms differ only in how they find the levels.
std::vector<BidiRun> RunsFromLevels(std::span<const uint8_t> levels);

}  // namespace vark::text
