// The visual order of a line: its runs of one direction, left to right.
#include "platform/graphics/text/Bidi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The runs as text: each run's code points as it shows them ("<...>" for a
// run read right to left, its code points from its end).
std::u32string Shown(const std::u32string& line, bool rightToLeft) {
  std::u32string out;
  for (const vark::text::BidiRun& r : vark::text::VisualRuns(line, rightToLeft)) {
    if (!r.rightToLeft) {
      out.append(line, r.start, r.end - r.start);
      continue;
    }
    out.push_back(U'<');
    for (size_t i = r.end; i > r.start; --i)
      out.push_back(line[i - 1]);
    out.push_back(U'>');
  }
  return out;
}

}  // namespace

TEST(Bidi, RunsComeInVisualOrder) {
  struct Case {
    std::u32string line;
    bool rightToLeft;
    std::u32string shown;
  };
  const Case cases[] = {
      {U"Launch", false, U"Launch"},
      {U"\u00A9 Varkel", true, U"Varkel< \u00A9>"},
      {U"ab \u05D0\u05D1\u05D2 cd", false, U"ab <\u05D2\u05D1\u05D0> cd"},
      {U"\u05D0 12 \u05D1", true, U"<\u05D1 >12< \u05D0>"},
      {U"abc (def)", true, U"abc (def)"},  // a bracket pair takes its contents' side
      {U"(abc", true, U"abc<(>"},
      {U"\u05D0\u05D1 ", false, U"<\u05D1\u05D0> "},  // a trailing blank stays at the end
      {U"", true, U""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line.begin(), c.line.end()));
    EXPECT_TRUE(Shown(c.line, c.rightToLeft) == c.shown);
  }
}
