#include "platform/graphics/text/windows/ScriptItems.h"

#include <cstring>

#include "platform/os/windows/Win32.h"

namespace vark::text {

namespace {

static_assert(sizeof(SCRIPT_ANALYSIS) == sizeof(uint32_t));

// The complex scripts begin with Hebrew; Latin, Greek and Cyrillic with their
// combining marks lie below and never ask Uniscribe.
constexpr char32_t kFirstComplex = 0x0590;

}  // namespace

std::wstring Utf16(std::span<const char32_t> text) {
  std::wstring units;
  units.reserve(text.size());
  for (const char32_t cp : text) {
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      units.push_back(static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)));
      units.push_back(static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<wchar_t>(cp <= 0xFFFF ? cp : 0xFFFD));
    }
  }
  return units;
}

std::vector<ScriptItem> ScriptItems(std::span<const char32_t> run, bool rightToLeft) {
  const ScriptItem whole{0, run.size(), false, 0};
  bool mayBeComplex = false;
  for (const char32_t cp : run)
    mayBeComplex = mayBeComplex || cp >= kFirstComplex;
  if (!mayBeComplex || run.empty()) return {whole};

  const std::wstring units = Utf16(run);
  // The code point each unit belongs to.
  std::vector<size_t> owner;
  owner.reserve(units.size() + 1);
  for (size_t i = 0; i < run.size(); ++i)
    owner.insert(owner.end(), run[i] >= 0x10000 && run[i] <= 0x10FFFF ? 2 : 1, i);
  owner.push_back(run.size());

  SCRIPT_CONTROL control{};
  SCRIPT_STATE state{};
  state.uBidiLevel = rightToLeft ? 1 : 0;
  std::vector<SCRIPT_ITEM> found(units.size() + 2);
  int count = 0;
  if (FAILED(ScriptItemize(units.data(), static_cast<int>(units.size()),
                           static_cast<int>(found.size()) - 1, &control, &state, found.data(),
                           &count))) {
    return {whole};
  }
  const SCRIPT_PROPERTIES** properties = nullptr;
  int scripts = 0;
  if (FAILED(ScriptGetProperties(&properties, &scripts))) return {whole};

  std::vector<ScriptItem> items;
  for (int i = 0; i < count; ++i) {
    SCRIPT_ANALYSIS analysis = found[static_cast<size_t>(i)].a;
    const size_t start = owner[static_cast<size_t>(found[static_cast<size_t>(i)].iCharPos)];
    const size_t end = owner[static_cast<size_t>(found[static_cast<size_t>(i) + 1].iCharPos)];
    if (start >= end) continue;
    const bool complex = analysis.eScript < scripts && properties[analysis.eScript]->fComplex != 0;
    if (!complex && !items.empty() && !items.back().complex) {
      items.back().end = end;
      continue;
    }
    ScriptItem item{start, end, complex, 0};
    if (complex) {
      // The run's direction is settled already (VisualRuns); glyphs come
      // back in visual order, left to right.
      analysis.fRTL = rightToLeft ? 1 : 0;
      analysis.fLogicalOrder = 0;
      std::memcpy(&item.analysis, &analysis, sizeof analysis);
    }
    items.push_back(item);
  }
  if (items.empty()) return {whole};
  return items;
}

}  // namespace vark::text
