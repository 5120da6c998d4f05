#include "platform/graphics/text/linux/TextEngine.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/text/Bidi.h"
#include "platform/graphics/text/GlyphPainter.h"
#include "platform/graphics/text/IconCodepoints.h"
#include "platform/graphics/text/Utf8.h"

namespace vark::text {

namespace {

// The fonts that draw what a face lacks, in order, resolved once per style.
constexpr const char* kFallbackFamilies[] = {"DejaVu Sans", "Symbola"};

// Far beyond any size the window uses; keeps a runaway font size from asking
// for glyph masks of gigabytes.
constexpr int kMaxPpem = 2048;
// Glyphs whose pen position lies past this are dropped: no bitmap reaches
// that far, and the sum of the advances stays far from overflowing.
constexpr int64_t kMaxPen = int64_t{1} << 28;
constexpr size_t kMaxSizedFonts = 256;
// Rendered glyphs of all faces are forgotten together past this many bytes,
// so text drawn at many sizes keeps a bounded cache.
constexpr size_t kMaxMaskBytes = size_t{16} << 20;

int Round26(hb_position_t v) {
  return (v + 32) >> 6;
}

bool IsControl(char32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
}

// Code points that belong to the glyph before them (combining marks, joiners,
// variation selectors) and so stay in that glyph's face.
bool JoinsPrevious(char32_t cp) {
  if (cp == 0x200D || (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xE0100 && cp <= 0xE01EF)) {
    return true;
  }
  switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), cp)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
      return true;
    default:
      return false;
  }
}

}  // namespace

TextEngine::TextEngine() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  matcher_ = std::make_unique<FontMatcher>();
  buffer_ = hb_buffer_create();
}

TextEngine::~TextEngine() {
  // Everything that holds FreeType objects goes before the library.
  runs_.Clear();
  sized_.clear();
  styles_.clear();
  files_.clear();
  if (buffer_ != nullptr) hb_buffer_destroy(buffer_);
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

FontFile* TextEngine::File(const std::string& path, int index) {
  auto key = std::make_pair(path, index);
  auto it = files_.find(key);
  if (it != files_.end()) return it->second.get();
  std::unique_ptr<FontFile> file;
  if (library_ != nullptr) file = FontFile::Open(library_, path, index);
  FontFile* raw = file.get();
  files_.emplace(std::move(key), std::move(file));  // a failed open is remembered too
  return raw;
}

const TextEngine::Style& TextEngine::StyleFor(const std::string& name, bool bold, bool italic) {
  std::string key = name;
  key.push_back('\0');
  key.push_back(static_cast<char>('0' + (bold ? 1 : 0) + (italic ? 2 : 0)));
  auto it = styles_.find(key);
  if (it != styles_.end()) return it->second;

  Style style;
  auto add = [&](const MatchedFont& m) {
    FontFile* file = File(m.file, m.index);
    if (file == nullptr) return;  // missing or unreadable: the chain goes on without it
    for (const ChainMember& member : style.chain) {
      if (member.file == file) return;
    }
    style.chain.push_back({file, m.syntheticBold, m.syntheticItalic});
  };
  add(matcher_->Match(name, bold, italic));
  for (const char* family : kFallbackFamilies)
    add(FallbackMatch(family, bold, italic));
  if (!style.chain.empty()) {
    const char* family = style.chain.front().file->Face()->family_name;
    style.family = family != nullptr ? family : "";
  }
  return styles_.emplace(std::move(key), std::move(style)).first->second;
}

const MatchedFont& TextEngine::FallbackMatch(const char* family, bool bold, bool italic) {
  // The fallback fonts are the same for every style of the same weight and
  // slant: matched once each.
  std::string key = family;
  key.push_back(static_cast<char>('0' + (bold ? 1 : 0) + (italic ? 2 : 0)));
  auto it = fallbacks_.find(key);
  if (it == fallbacks_.end()) {
    it = fallbacks_.emplace(std::move(key), matcher_->Match(family, bold, italic)).first;
  }
  return it->second;
}

SizedFace* TextEngine::SizedFont::Face(size_t member) {
  if (member >= style->chain.size()) return nullptr;
  if (faces.size() < style->chain.size()) faces.resize(style->chain.size());
  auto& face = faces[member];
  if (!face) {
    const ChainMember& m = style->chain[member];
    face = std::make_unique<SizedFace>(*m.file, ppem, m.syntheticBold, m.syntheticItalic);
  }
  return face.get();
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
  sized->style = &StyleFor(font.Name(), bold, italic);
  const int height = font.Height();
  int ppem = height < 0 ? (height < -kMaxPpem ? kMaxPpem : -height) : -TFont::kDefaultHeight;
  if (height > 0) {
    ppem = height;
    if (!sized->style->chain.empty()) {
      // A positive height is the cell height: scale the em so that ascent +
      // descent fill it.
      const FontFile& f = *sized->style->chain.front().file;
      const int64_t cell = f.Ascent() + f.Descent();
      ppem = static_cast<int>((int64_t{height} * f.UnitsPerEm() + cell / 2) / cell);
    }
  }
  sized->ppem = std::clamp(ppem, 1, kMaxPpem);
  if (SizedFace* primary = sized->Face(0)) {
    sized->ascent = primary->Ascent();
    sized->descent = primary->Descent();
  } else {
    // No font at all: keep lines one em high so layouts stay sane.
    sized->ascent = sized->ppem * 4 / 5;
    sized->descent = sized->ppem - sized->ascent;
  }
  return *sized_.emplace(key_, std::move(sized)).first->second;
}

size_t TextEngine::FaceForCodepoint(const Style& style, char32_t cp) const {
  for (size_t i = 0; i < style.chain.size(); ++i) {
    if (style.chain[i].file->HasGlyph(cp)) return i;
  }
  return 0;  // nobody has it: the face's own missing-glyph box
}

const TextEngine::ShapedRun& TextEngine::Run(SizedFont& sized, std::string_view text,
                                             bool rightToLeft) {
  return runs_.Get(&sized, text, rightToLeft,
                   [&](ShapedRun& run) { Shape(sized, text, rightToLeft, run); });
}

void TextEngine::Shape(SizedFont& sized, std::string_view text, bool rightToLeft, ShapedRun& run) {
  DecodeUtf8(text, codepoints_);
  const Style& style = *sized.style;
  if (style.chain.empty() || buffer_ == nullptr) return;
  for (char32_t& cp : codepoints_)
    cp = MapIconCodepoint(cp);
  const size_t n = codepoints_.size();
  std::vector<hb_codepoint_t> all(codepoints_.begin(), codepoints_.end());

  // One segment: consecutive code points of one direction drawn by one face.
  struct Segment {
    size_t start, end, face;
  };
  std::vector<Segment> segments;
  int64_t pen = 0;
  for (const BidiRun& direction : VisualRuns(codepoints_, rightToLeft)) {
    segments.clear();
    size_t i = direction.start;
    size_t previousFace = 0;
    bool havePrevious = false;
    while (i < direction.end) {
      if (IsControl(codepoints_[i])) {
        ++i;
        havePrevious = false;
        continue;
      }
      const size_t face = (havePrevious && JoinsPrevious(codepoints_[i]))
                              ? previousFace
                              : FaceForCodepoint(style, codepoints_[i]);
      size_t end = i + 1;
      while (end < direction.end && !IsControl(codepoints_[end])) {
        const char32_t cp = codepoints_[end];
        if (!JoinsPrevious(cp) && FaceForCodepoint(style, cp) != face) break;
        ++end;
      }
      segments.push_back({i, end, face});
      previousFace = face;
      havePrevious = true;
      i = end;
    }
    // A run read right to left starts at the right: its last segment leftmost.
    if (direction.rightToLeft) std::reverse(segments.begin(), segments.end());
    for (const Segment& segment : segments) {
      if (pen >= kMaxPen) break;
      SizedFace* sizedFace = sized.Face(segment.face);
      hb_buffer_clear_contents(buffer_);
      hb_buffer_add_codepoints(buffer_, all.data(), static_cast<int>(n),
                               static_cast<unsigned>(segment.start),
                               static_cast<int>(segment.end - segment.start));
      hb_buffer_guess_segment_properties(buffer_);
      // HarfBuzz hands the glyphs of a right-to-left segment over from left
      // to right, mirrored where they pair (brackets).
      hb_buffer_set_direction(buffer_, direction.rightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
      hb_shape(sizedFace->HbFont(), buffer_, nullptr, 0);
      unsigned count = 0;
      const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer_, &count);
      const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer_, &count);
      for (unsigned g = 0; g < count; ++g) {
        PlacedGlyph placed;
        placed.x = static_cast<int>(pen) + Round26(pos[g].x_offset);
        placed.y = -Round26(pos[g].y_offset);
        placed.glyph = infos[g].codepoint;
        placed.face = static_cast<uint16_t>(segment.face);
        run.glyphs.push_back(placed);
        // Whole-pixel advances, as the classic desktop lays text out: a text
        // is as wide as the sum of its glyphs' widths, wherever it is drawn.
        const int advance = Round26(pos[g].x_advance);
        pen += advance + (advance > 0 ? sizedFace->BoldExtra() : 0);
      }
    }
  }
  run.width = static_cast<int>(std::clamp<int64_t>(pen, 0, kMaxPen));
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
    SizedFace* face = sized.Face(placed.face);
    if (face == nullptr) continue;
    const GlyphMask& mask = face->Mask(placed.glyph, maskBytes_);
    if (mask.width == 0) continue;
    painter.Coverage(x + placed.x + mask.left, baseline + placed.y - mask.top, mask.width,
                     mask.height, mask.coverage.data(), static_cast<size_t>(mask.width));
  }

  if (maskBytes_ > kMaxMaskBytes) {
    // After the loop: the masks just drawn are no longer referenced.
    for (auto& entry : sized_) {
      for (auto& face : entry.second->faces) {
        if (face) face->DropMasks();
      }
    }
    maskBytes_ = 0;
  }

  if (const SizedFace* primary = sized.Face(0)) {
    painter.Lines(font.Style(), x, baseline, run.width, *primary);
  }
}

FaceInfo TextEngine::Describe(const TFont& font, char32_t codepoint) {
  const TFontStyles fs = font.Style();
  const Style& style = StyleFor(font.Name(), fs.Contains(fsBold), fs.Contains(fsItalic));
  const char32_t cp = MapIconCodepoint(codepoint);
  FaceInfo info;
  for (const ChainMember& member : style.chain) {
    if (!member.file->HasGlyph(cp)) continue;
    info.file = member.file->Path();
    const char* family = member.file->Face()->family_name;
    info.family = family != nullptr ? family : "";
    info.syntheticBold = member.syntheticBold;
    info.syntheticItalic = member.syntheticItalic;
    break;
  }
  return info;
}

}  // namespace vark::text
