// The order in which a line's text is laid out from left to right, by the
// Unicode bidirectional algorithm (FriBidi on Linux, Uniscribe on Windows): a
// line is cut into runs of one direction, and the runs are put in visual
// order. A paragraph that reads right to left starts at the right:
// "© Varkel" shows as "Varkel ©".
#pragma once

#include <cstddef>
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

}  // namespace vark::text
