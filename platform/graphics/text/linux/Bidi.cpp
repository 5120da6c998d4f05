#include "platform/graphics/text/Bidi.h"

#include <fribidi.h>

#include <limits>
#include <vector>

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

  return RunsFromLevels(std::vector<uint8_t>(levels.begin(), levels.end()));
}

}  // namespace vark::text
