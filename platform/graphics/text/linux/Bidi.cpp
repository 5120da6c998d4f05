#include "platform/graphics/text/Bidi.h"

#include <fribidi.h>

#include <algorithm>
#include <limits>

namespace vark::text {

std::vector<BidiRun> VisualRuns(std::span<const char32_t> line, bool rightToLeftParagraph) {
  const size_t n = line.size();
  if (n == 0) return {};
  if (n > static_cast<size_t>(std::numeric_limits<FriBidiStrIndex>::max())) {
    return {{0, n, rightToLeftParagraph}};
  }
  const auto len = static_cast<FriBidiStrIndex>(n);
  const std::vector<FriBidiChar> chars(line.begin(), line.end());
  std::vector<FriBidiCharType> types(n);
  std::vector<FriBidiBracketType> brackets(n);
  std::vector<FriBidiLevel> levels(n);
  fribidi_get_bidi_types(chars.data(), len, types.data());
  fribidi_get_bracket_types(chars.data(), len, types.data(), brackets.data());
  FriBidiParType direction = rightToLeftParagraph ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
  if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), len, &direction,
                                          levels.data()) == 0) {
    return {{0, n, rightToLeftParagraph}};  // out of memory: the line as one run
  }
  // Blanks and formatting marks at the end of the line take the paragraph's
  // level (rule L1), so they stay at the end it reads from.
  const FriBidiLevel paragraph = rightToLeftParagraph ? 1 : 0;
  for (size_t i = n;
       i > 0 && (FRIBIDI_IS_EXPLICIT_OR_BN_OR_WS(types[i - 1]) || FRIBIDI_IS_ISOLATE(types[i - 1]));
       --i) {
    levels[i - 1] = paragraph;
  }

  struct LevelRun {
    size_t start, end;
    FriBidiLevel level;
  };
  std::vector<LevelRun> runs;
  for (size_t i = 0; i < n; ++i) {
    if (runs.empty() || runs.back().level != levels[i]) {
      runs.push_back({i, i + 1, levels[i]});
    } else {
      runs.back().end = i + 1;
    }
  }
  // From the highest level down to the lowest odd one, every stretch of runs
  // at that level or above turns round (rule L2).
  FriBidiLevel highest = 0, lowestOdd = std::numeric_limits<FriBidiLevel>::max();
  for (const LevelRun& r : runs) {
    highest = std::max(highest, r.level);
    if (r.level % 2 == 1) lowestOdd = std::min(lowestOdd, r.level);
  }
  for (int level = highest; level >= lowestOdd; --level) {
    for (size_t i = 0; i < runs.size();) {
      if (runs[i].level < level) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < runs.size() && runs[j].level >= level)
        ++j;
      std::reverse(runs.begin() + static_cast<std::ptrdiff_t>(i),
                   runs.begin() + static_cast<std::ptrdiff_t>(j));
      i = j;
    }
  }
  std::vector<BidiRun> visual;
  visual.reserve(runs.size());
  for (const LevelRun& r : runs)
    visual.push_back({r.start, r.end, r.level % 2 == 1});
  return visual;
}

}  // namespace vark::text
