// VisualRuns on Windows: Uniscribe's ScriptItemize gives each item of the
// line its embedding level by the Unicode bidirectional algorithm; trailing
// blanks go to the paragraph's level and the runs are put in visual order by
// the same code as on Linux (Bidi.h), so both platforms order a line alike.
// (GetCharacterPlacementW with GCP_REORDER would do the ordering too, but only
// for one font at a time and without telling the levels, which the text
// engine needs to pick a face per run.)
#include "platform/graphics/text/Bidi.h"

#include <string>
#include <vector>

#include "platform/os/windows/Win32.h"

namespace vark::text {

std::vector<BidiRun> VisualRuns(std::span<const char32_t> line, bool rightToLeftParagraph) {
  const size_t n = line.size();
  if (n == 0) return {};
  // UTF-16 for Uniscribe, remembering which code point each unit belongs to.
  std::wstring utf16;
  std::vector<size_t> owner;
  utf16.reserve(n);
  owner.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const char32_t cp = line[i];
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      utf16.push_back(static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)));
      utf16.push_back(static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
      owner.insert(owner.end(), 2, i);
    } else {
      utf16.push_back(static_cast<wchar_t>(cp <= 0xFFFF ? cp : 0xFFFD));
      owner.push_back(i);
    }
  }
  const int units = static_cast<int>(utf16.size());
  const uint8_t paragraph = rightToLeftParagraph ? 1 : 0;
  SCRIPT_CONTROL control{};
  SCRIPT_STATE state{};
  state.uBidiLevel = paragraph;
  std::vector<SCRIPT_ITEM> items(static_cast<size_t>(units) + 2);
  int count = 0;
  if (FAILED(ScriptItemize(utf16.data(), units, static_cast<int>(items.size()) - 1, &control,
                           &state, items.data(), &count))) {
    return {{0, n, rightToLeftParagraph}};
  }
  std::vector<uint8_t> levels(n, paragraph);
  for (int item = 0; item < count; ++item) {
    const auto level = static_cast<uint8_t>(items[static_cast<size_t>(item)].a.s.uBidiLevel);
    for (int u = items[static_cast<size_t>(item)].iCharPos;
         u < items[static_cast<size_t>(item) + 1].iCharPos; ++u)
      levels[owner[static_cast<size_t>(u)]] = level;
  }
  // Blanks at the end of the line take the paragraph's
  // level (rule L1), so they stay at the end it reads from.
  std::vector<WORD> types(utf16.size());
  if (GetStringTypeW(CT_CTYPE2, utf16.data(), units, types.data())) {
    for (size_t u = utf16.size(); u > 0; --u) {
      const WORD type = types[u - 1];
      if (type != C2_WHITESPACE && type != C2_SEGMENTSEPARATOR) break;
      levels[owner[u - 1]] = paragraph;
    }
  }
  return RunsFromLevels(levels);
}

}  // namespace vark::text
