#include "platform/graphics/text/Bidi.h"

#include <algorithm>
#include <limits>

namespace vark::text {

std::vector<BidiRun> RunsFromLevels(std::span<const uint8_t> levels) {
  const size_t n = levels.size();
  struct LevelRun {
    size_t start, end;
    uint8_t level;
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
  uint8_t highest = 0, lowestOdd = std::numeric_limits<uint8_t>::max();
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
