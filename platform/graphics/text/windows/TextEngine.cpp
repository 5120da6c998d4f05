#include "platform/graphics/text/windows/TextEngine.h"

#include <algorithm>
#include <span>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/text/Bidi.h"
#include "platform/graphics/text/GlyphPainter.h"
#include "platform/graphics/text/IconCodepoints.h"
#include "platform/graphics/text/Utf8.h"
#include "platform/graphics/text/windows/FontLink.h"
#include "platform/graphics/text/windows/GdiDevice.h"
#include "platform/graphics/text/windows/ScriptItems.h"
#include "platform/os/windows/WideString.h"

namespace vark::text {

namespace {

using os::win32::Narrow;
using os::win32::Widen;

// The icon fonts, in the order they are looked for.
constexpr const wchar_t* kIconFamilies[] = {L"Segoe Fluent Icons", L"Segoe MDL2 Assets"};
// The faces that draw what the named face lacks, in order: the system's
// symbol and emoji faces, then the fonts the Linux build falls back to
// (installed under Wine, and on many Windows systems too).
constexpr const wchar_t* kFallbackFamilies[] = {L"Segoe UI",       L"Segoe UI Symbol",
                                                L"Segoe UI Emoji", L"Segoe UI Historic",
                                                L"DejaVu Sans",    L"Symbola"};

// Far beyond any size the window uses; keeps a runaway font size from asking
// for glyph masks of gigabytes.
constexpr int kMaxHeight = 2048;
// Glyphs whose pen position lies past this are dropped: no bitmap reaches
// that far, and the sum of the advances stays far from overflowing.
constexpr int64_t kMaxPen = int64_t{1} << 28;
constexpr size_t kMaxSizedFonts = 256;
// Rendered glyphs of all faces are forgotten together past this many bytes,
// so text drawn at many sizes keeps a bounded cache.
constexpr size_t kMaxMaskBytes = size_t{16} << 20;

bool IsControl(char32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
}

// The glyph a paired character shows in text read right to left.
char32_t Mirrored(char32_t cp) {
  static constexpr std::pair<char32_t, char32_t> kPairs[] = {
      {U'(', U')'},     {U'[', U']'},     {U'{', U'}'},     {U'<', U'>'},     {0xAB, 0xBB},
      {0x2039, 0x203A}, {0x2045, 0x2046}, {0x207D, 0x207E}, {0x208D, 0x208E}, {0x2264, 0x2265},
      {0x3008, 0x3009}, {0x300A, 0x300B}, {0x300C, 0x300D}, {0x300E, 0x300F}, {0x3010, 0x3011}};
  for (const auto& [open, close] : kPairs) {
    if (cp == open) return close;
    if (cp == close) return open;
  }
  return cp;
}

}  // namespace

TextEngine::TextEngine() = default;

TextEngine::~TextEngine() {
  // The faces delete their fonts while the device context still exists.
  runs_.Clear();
  sized_.clear();
}

TextEngine::SizedFont& TextEngine::Sized(const TFont& font) {
  const TFontStyles fs = font.Style();
  const bool bold = fs.Contains(fsBold);
  const bool italic = fs.Contains(fsItalic);
  key_.assign(font.Name());
  key_.push_back('\0');
  key_.push_back(static_cast<char>('0' + (bold ? 1 : 0) + (italic ? 2 : 0)));
  key_.append(std::to_string(font.Height()));
  auto it = sized_.find(key_);
  if (it != sized_.end()) return *it->second;
  if (sized_.size() >= kMaxSizedFonts) {
    // Runs point at their sized font: both go together, with the glyphs.
    runs_.Clear();
    sized_.clear();
    maskBytes_ = 0;
  }

  auto sized = std::make_unique<SizedFont>();
  sized->family = Widen(font.Name());
  sized->bold = bold;
  sized->italic = italic;
  const int height = font.Height() == 0 ? TFont::kDefaultHeight : font.Height();
  // GDI reads the height as this framework does: negative the em, positive
  // the cell.
  sized->height = std::clamp(height, -kMaxHeight, kMaxHeight);
  auto named = std::make_unique<GdiFace>(device_, sized->family, sized->height, bold, italic);
  if (_wcsicmp(named->FaceName().c_str(), sized->family.c_str()) != 0) {
    // GDI's mapper drew a name that matches nothing in whatever face scores
    // best; the framework's default face draws it instead, as on Linux.
    sized->family = Widen(TFont::kDefaultName);
    named = std::make_unique<GdiFace>(device_, sized->family, sized->height, bold, italic);
  }
  sized->links = LinkedFaces(sized->family);
  sized->families.push_back(sized->family);
  sized->faces.push_back(std::move(named));
  const GdiFace& primary = *sized->faces.front();
  if (primary.Valid() && primary.Em() > 0) {
    sized->em = primary.Em();
    sized->ascent = primary.Ascent();
    sized->descent = primary.Descent();
  } else {
    // No font at all: keep lines one em high so layouts stay sane.
    sized->em = std::max(1, std::abs(sized->height));
    sized->ascent = sized->em * 4 / 5;
    sized->descent = sized->em - sized->ascent;
  }
  return *sized_.emplace(key_, std::move(sized)).first->second;
}

GdiFace* TextEngine::Face(SizedFont& sized, size_t index) {
  return index < sized.faces.size() ? sized.faces[index].get() : nullptr;
}

size_t TextEngine::Member(SizedFont& sized, const std::wstring& family) {
  for (size_t i = 0; i < sized.families.size(); ++i) {
    if (_wcsicmp(sized.families[i].c_str(), family.c_str()) == 0) return i;
  }
  // At the named face's em, so that a fallback glyph sits in the line as a
  // letter of the same size would.
  sized.families.push_back(family);
  sized.faces.push_back(
      std::make_unique<GdiFace>(device_, family, -sized.em, sized.bold, sized.italic));
  return sized.faces.size() - 1;
}

const std::wstring* TextEngine::InstalledFamilyWith(char32_t cp) {
  auto it = searched_.find(cp);
  if (it == searched_.end()) {
    if (!installedListed_) {
      installedListed_ = true;
      installed_ = device_.Families();
    }
    std::wstring found;
    for (const std::wstring& family : installed_) {
      GdiFace probe(device_, family, -16, false, false);
      if (probe.Glyph(cp) != GdiFace::kMissing) {
        found = family;
        break;
      }
    }
    it = searched_.emplace(cp, std::move(found)).first;
  }
  return it->second.empty() ? nullptr : &it->second;
}

TextEngine::Choice TextEngine::Choose(SizedFont& sized, char32_t cp, size_t preferred) {
  const auto has = [&](size_t index) { return Face(sized, index)->Glyph(cp) != GdiFace::kMissing; };
  if (preferred < sized.faces.size() && has(preferred)) {
    return {preferred, Face(sized, preferred)->Glyph(cp)};
  }
  if (has(0)) return {0, Face(sized, 0)->Glyph(cp)};
  if (IsIconCodepoint(cp)) {
    for (const wchar_t* family : kIconFamilies) {
      const size_t index = Member(sized, family);
      if (has(index)) return {index, Face(sized, index)->Glyph(cp)};
    }
  }
  // The linked faces the system has, in the system's order, as GDI's own
  // text takes them; a name GDI draws in another face is passed over.
  for (const std::wstring& family : sized.links) {
    const size_t index = Member(sized, family);
    if (Face(sized, index)->Named(family) && has(index))
      return {index, Face(sized, index)->Glyph(cp)};
  }
  for (const wchar_t* family : kFallbackFamilies) {
    const size_t index = Member(sized, family);
    if (has(index)) return {index, Face(sized, index)->Glyph(cp)};
  }
  if (const std::wstring* family = InstalledFamilyWith(cp)) {
    const size_t index = Member(sized, *family);
    if (has(index)) return {index, Face(sized, index)->Glyph(cp)};
  }
  return {0, GdiFace::kMissing};
}

char32_t TextEngine::IconOrSymbol(SizedFont& sized, char32_t cp) {
  if (Face(sized, 0)->Glyph(cp) != GdiFace::kMissing) return cp;
  for (const wchar_t* family : kIconFamilies) {
    if (Face(sized, Member(sized, family))->Glyph(cp) != GdiFace::kMissing) return cp;
  }
  return MapIconCodepoint(cp);
}

const TextEngine::ShapedRun& TextEngine::Run(SizedFont& sized, std::string_view text,
                                             bool rightToLeft) {
  return runs_.Get(&sized, text, rightToLeft,
                   [&](ShapedRun& run) { Shape(sized, text, rightToLeft, run); });
}

void TextEngine::Shape(SizedFont& sized, std::string_view text, bool rightToLeft, ShapedRun& run) {
  DecodeUtf8(text, codepoints_);
  for (char32_t& cp : codepoints_) {
    if (IsIconCodepoint(cp)) cp = IconOrSymbol(sized, cp);
  }
  // In visual order: the runs of each direction, and a run read right to
  // left from its last item, which is leftmost.
  int64_t pen = 0;
  for (const BidiRun& direction : VisualRuns(codepoints_, rightToLeft)) {
    const std::vector<ScriptItem> items =
        ScriptItems(std::span<const char32_t>(codepoints_)
                        .subspan(direction.start, direction.end - direction.start),
                    direction.rightToLeft);
    for (size_t n = 0; n < items.size(); ++n) {
      const ScriptItem& item = items[direction.rightToLeft ? items.size() - 1 - n : n];
      const size_t start = direction.start + item.start;
      const size_t end = direction.start + item.end;
      if (!item.complex || !PlaceShaped(sized, start, end, item.analysis, pen, run))
        PlaceEach(sized, start, end, direction.rightToLeft, pen, run);
    }
  }
  run.width = static_cast<int>(std::clamp<int64_t>(pen, 0, kMaxPen));
}

void TextEngine::PlaceEach(SizedFont& sized, size_t start, size_t end, bool rightToLeft,
                           int64_t& pen, ShapedRun& run) {
  // Whole-pixel advances as GDI gives them, with the font's kerning pairs.
  constexpr size_t kNone = SIZE_MAX;
  size_t previousFace = kNone;
  uint16_t previous = 0;
  for (size_t k = start; k < end && pen < kMaxPen; ++k) {
    // Read right to left: the last code point leftmost, paired characters
    // mirrored.
    const size_t i = rightToLeft ? end - 1 - (k - start) : k;
    char32_t cp = codepoints_[i];
    if (IsControl(cp)) {
      previousFace = kNone;
      continue;
    }
    if (rightToLeft) cp = Mirrored(cp);
    const Choice choice = Choose(sized, cp, JoinsPrevious(cp) ? previousFace : kNone);
    GdiFace* face = Face(sized, choice.face);
    // Nobody has it: the named face's missing-glyph box.
    const uint16_t glyph = choice.glyph == GdiFace::kMissing ? 0 : choice.glyph;
    if (previousFace == choice.face) pen += face->Kerning(previous, glyph);
    run.glyphs.push_back({static_cast<int>(pen), 0, glyph, static_cast<uint16_t>(choice.face)});
    pen += face->Advance(glyph);
    previousFace = choice.face;
    previous = glyph;
  }
}

bool TextEngine::PlaceShaped(SizedFont& sized, size_t start, size_t end, uint32_t analysis,
                             int64_t& pen, ShapedRun& run) {
  // Uniscribe shapes in one face: the named one when it has every
  // character, else the face of the chain for the first one it lacks. (A
  // character of the item that face lacks shows its missing-glyph box.)
  size_t chosen = 0;
  for (size_t i = start; i < end; ++i) {
    const char32_t cp = codepoints_[i];
    if (IsControl(cp) || (cp >= 0x200B && cp <= 0x200F) ||
        Face(sized, 0)->Glyph(cp) != GdiFace::kMissing)
      continue;
    const Choice choice = Choose(sized, cp, SIZE_MAX);
    if (choice.glyph != GdiFace::kMissing) chosen = choice.face;
    break;
  }
  const std::wstring units =
      Utf16(std::span<const char32_t>(codepoints_).subspan(start, end - start));
  if (!Face(sized, chosen)->Shape(units, analysis, shaped_)) return false;
  for (const ShapedGlyph& glyph : shaped_) {
    if (pen >= kMaxPen) break;
    run.glyphs.push_back(
        {static_cast<int>(pen) + glyph.dx, -glyph.dy, glyph.glyph, static_cast<uint16_t>(chosen)});
    pen += glyph.advance;
  }
  return true;
}

TextMetrics TextEngine::Measure(const TFont& font, std::string_view text, bool rightToLeft) {
  SizedFont& sized = Sized(font);
  TextMetrics m;
  m.ascent = sized.ascent;
  m.descent = sized.descent;
  m.height = sized.ascent + sized.descent;
  if (!text.empty()) m.width = Run(sized, text, rightToLeft).width;
  return m;
}

void TextEngine::Draw(TBitmap& target, const TRect& clip, int x, int y, const TFont& font,
                      std::string_view text, bool rightToLeft) {
  if (text.empty() || target.Empty()) return;
  const TRect area = IntersectRect(clip, Rect(0, 0, target.Width(), target.Height()));
  if (area.IsEmpty()) return;
  SizedFont& sized = Sized(font);
  const ShapedRun& run = Run(sized, text, rightToLeft);
  if (run.glyphs.empty()) return;

  GlyphPainter painter(target, area, font.Color());
  const int baseline = y + sized.ascent;
  for (const PlacedGlyph& placed : run.glyphs) {
    GdiFace* face = Face(sized, placed.face);
    if (face == nullptr) continue;
    const GdiGlyphMask& mask = face->Mask(placed.glyph, maskBytes_);
    if (mask.width == 0) continue;
    painter.Coverage(x + placed.x + mask.left, baseline + placed.y - mask.top, mask.width,
                     mask.height, mask.coverage.data(), static_cast<size_t>(mask.width));
  }
  if (maskBytes_ > kMaxMaskBytes) {
    // After the loop: the masks just drawn are no longer referenced.
    for (auto& entry : sized_) {
      for (auto& face : entry.second->faces)
        face->DropMasks();
    }
    maskBytes_ = 0;
  }

  painter.Lines(font.Style(), x, baseline, run.width, *sized.faces.front());
}

FaceInfo TextEngine::Describe(const TFont& font, char32_t codepoint) {
  SizedFont& sized = Sized(font);
  const char32_t cp = IsIconCodepoint(codepoint) ? IconOrSymbol(sized, codepoint) : codepoint;
  const Choice choice = Choose(sized, cp, SIZE_MAX);
  FaceInfo info;
  if (choice.glyph == GdiFace::kMissing) return info;
  GdiFace& face = *Face(sized, choice.face);
  const GdiFace::Realization realized = face.Realize();
  info.file = Narrow(realized.file.empty() ? face.FaceName() : realized.file);
  info.family = Narrow(face.FaceName());
  info.syntheticBold = realized.syntheticBold;
  info.syntheticItalic = realized.syntheticItalic;
  return info;
}

}  // namespace vark::text
