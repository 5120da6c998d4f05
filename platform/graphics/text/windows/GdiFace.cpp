#include "platform/graphics/text/windows/GdiFace.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/graphics/text/windows/GdiDevice.h"
#include "platform/os/windows/Win32.h"

namespace vark::text {

namespace {

const MAT2 kIdentity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};

// Font tables by their tags as GetFontData reads tags.
constexpr DWORD Tag(const char (&name)[5]) {
  return static_cast<DWORD>(name[0]) | static_cast<DWORD>(name[1]) << 8 |
         static_cast<DWORD>(name[2]) << 16 | static_cast<DWORD>(name[3]) << 24;
}
constexpr DWORD kCmapTag = Tag("cmap");
constexpr DWORD kKernTag = Tag("kern");

uint16_t ReadU16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}
uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
         static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

// gdi32 exports these without declaring them in MinGW's headers; they tell
// which file a realised font comes from and what GDI simulates.
struct FontRealizationInfo {
  DWORD size;
  DWORD flags;
  DWORD cacheNumber;
  DWORD instanceId;
  DWORD unknown;
  WORD faceIndex;
  WORD simulations;  // bit 0: bold, bit 1: oblique
};
using GetFontRealizationInfoCall = BOOL(WINAPI*)(HDC, FontRealizationInfo*);
using GetFontFileInfoCall = BOOL(WINAPI*)(DWORD, DWORD, void*, SIZE_T, SIZE_T*);

HDC Dc(GdiDevice& device) {
  return static_cast<HDC>(device.Handle());
}

template <class Call>
Call Gdi32Call(const char* name) {
  HMODULE gdi32 = GetModuleHandleW(L"gdi32.dll");
  return gdi32 != nullptr
             ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(gdi32, name)))
             : nullptr;
}

}  // namespace

GdiFace::GdiFace(GdiDevice& device, const std::wstring& family, int height, bool bold, bool italic)
    : device_(device) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = 1;  // DEFAULT_CHARSET: any script the face has
  lf.lfOutPrecision = OUT_OUTLINE_PRECIS;
  lf.lfQuality = ANTIALIASED_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::wcsncpy(lf.lfFaceName, family.c_str(), LF_FACESIZE - 1);
  font_ = CreateFontIndirectW(&lf);
  if (font_ == nullptr) return;
  Select();
  wchar_t face[LF_FACESIZE] = {};
  if (GetTextFaceW(Dc(device_), LF_FACESIZE, face) > 0) faceName_ = face;
  TEXTMETRICW tm{};
  if (GetTextMetricsW(Dc(device_), &tm)) {
    ascent_ = tm.tmAscent;
    descent_ = tm.tmDescent;
    em_ = tm.tmHeight - tm.tmInternalLeading;
  }
  const UINT size = GetOutlineTextMetricsW(Dc(device_), 0, nullptr);
  if (size >= sizeof(OUTLINETEXTMETRICW)) {
    std::vector<uint8_t> buffer(size);
    auto* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    if (GetOutlineTextMetricsW(Dc(device_), size, otm) != 0) {
      // The underline position names the centre of the line; keep at least
      // one pixel of space below the baseline (as on Linux).
      underlineThickness_ = std::max(1, static_cast<int>(otm->otmsUnderscoreSize));
      underlineOffset_ =
          std::max(1, -static_cast<int>(otm->otmsUnderscorePosition) - underlineThickness_ / 2);
      strikeoutThickness_ = std::max(1, static_cast<int>(otm->otmsStrikeoutSize));
      strikeoutOffset_ = -static_cast<int>(otm->otmsStrikeoutPosition);
      unitsPerEm_ = static_cast<int>(otm->otmEMSquare);
    }
  }
}

GdiFace::~GdiFace() {
  if (scriptCache_ != nullptr) ScriptFreeCache(&scriptCache_);
  if (font_ == nullptr) return;
  // A font still selected into the device context must not be deleted.
  if (GetCurrentObject(Dc(device_), OBJ_FONT) == font_)
    SelectObject(Dc(device_), GetStockObject(SYSTEM_FONT));
  DeleteObject(font_);
}

bool GdiFace::Named(const std::wstring& family) const {
  return font_ != nullptr && _wcsicmp(faceName_.c_str(), family.c_str()) == 0;
}

bool GdiFace::Shape(std::wstring_view text, uint32_t analysis, std::vector<ShapedGlyph>& glyphs) {
  glyphs.clear();
  if (font_ == nullptr || text.empty() || text.size() > size_t{1} << 20) return false;
  Select();
  SCRIPT_ANALYSIS item;
  std::memcpy(&item, &analysis, sizeof item);
  const int length = static_cast<int>(text.size());
  // Room for the usual number of glyphs, more when Uniscribe asks for it.
  int capacity = length * 3 / 2 + 16;
  std::vector<WORD> ids;
  std::vector<WORD> clusters(text.size());
  std::vector<SCRIPT_VISATTR> attributes;
  int count = 0;
  HRESULT shaped = E_OUTOFMEMORY;
  for (int tries = 0; tries < 4 && shaped == E_OUTOFMEMORY; ++tries, capacity *= 2) {
    ids.resize(static_cast<size_t>(capacity));
    attributes.resize(static_cast<size_t>(capacity));
    shaped = ScriptShape(Dc(device_), &scriptCache_, text.data(), length, capacity, &item,
                         ids.data(), clusters.data(), attributes.data(), &count);
  }
  // A face without the script, or one Uniscribe reads by characters rather
  // than glyphs: the engine draws the item a character at a time instead.
  if (FAILED(shaped) || count <= 0 || item.fNoGlyphIndex) return false;
  std::vector<int> advances(static_cast<size_t>(count));
  std::vector<GOFFSET> offsets(static_cast<size_t>(count));
  ABC width{};
  if (FAILED(ScriptPlace(Dc(device_), &scriptCache_, ids.data(), count, attributes.data(), &item,
                         advances.data(), offsets.data(), &width))) {
    return false;
  }
  glyphs.reserve(static_cast<size_t>(count));
  for (size_t i = 0; i < static_cast<size_t>(count); ++i)
    glyphs.push_back({ids[i], advances[i], offsets[i].du, offsets[i].dv});
  return true;
}

void GdiFace::Select() {
  if (GetCurrentObject(Dc(device_), OBJ_FONT) != font_) SelectObject(Dc(device_), font_);
}

uint16_t GdiFace::Glyph(char32_t cp) {
  const auto it = glyphs_.find(cp);
  if (it != glyphs_.end()) return it->second;
  uint16_t glyph = kMissing;
  if (font_ != nullptr && cp < 0x10000 && (cp < 0xD800 || cp > 0xDFFF)) {
    Select();
    const auto unit = static_cast<wchar_t>(cp);
    WORD index = 0xFFFF;
    if (GetGlyphIndicesW(Dc(device_), &unit, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
        index != 0xFFFF && index != 0) {
      glyph = index;
    }
  } else if (font_ != nullptr && cp <= 0x10FFFF) {
    glyph = GlyphBeyondBmp(cp);
  }
  glyphs_.emplace(cp, glyph);
  return glyph;
}

// GetGlyphIndicesW takes UTF-16 units one at a time, so code points beyond
// U+FFFF are looked up in the font's own cmap table (its format-12 subtable).
uint16_t GdiFace::GlyphBeyondBmp(char32_t cp) {
  if (!cmapLoaded_) {
    cmapLoaded_ = true;
    Select();
    const DWORD size = GetFontData(Dc(device_), kCmapTag, 0, nullptr, 0);
    if (size == GDI_ERROR || size < 4) return kMissing;
    cmap_.resize(size);
    if (GetFontData(Dc(device_), kCmapTag, 0, cmap_.data(), size) != size) {
      cmap_.clear();
      return kMissing;
    }
    const size_t tables = ReadU16(cmap_, 2);
    for (size_t t = 0; t < tables && 4 + 8 * t + 8 <= cmap_.size(); ++t) {
      const size_t record = 4 + 8 * t;
      const uint16_t platform = ReadU16(cmap_, record);
      const uint16_t encoding = ReadU16(cmap_, record + 2);
      const size_t offset = ReadU32(cmap_, record + 4);
      const bool unicodeFull = (platform == 3 && encoding == 10) || platform == 0;
      if (!unicodeFull || offset + 16 > cmap_.size() || ReadU16(cmap_, offset) != 12) continue;
      const uint32_t groups = ReadU32(cmap_, offset + 12);
      if (offset + 16 + size_t{groups} * 12 > cmap_.size()) continue;
      cmapGroups_ = offset + 16;
      cmapGroupCount_ = groups;
      break;
    }
  }
  if (cmapGroups_ == 0) return kMissing;
  // The groups are sorted by their first code point.
  uint32_t low = 0, high = cmapGroupCount_;
  while (low < high) {
    const uint32_t mid = (low + high) / 2;
    const size_t group = cmapGroups_ + size_t{mid} * 12;
    if (cp < ReadU32(cmap_, group)) {
      high = mid;
    } else if (cp > ReadU32(cmap_, group + 4)) {
      low = mid + 1;
    } else {
      const uint32_t glyph = ReadU32(cmap_, group + 8) + (cp - ReadU32(cmap_, group));
      return glyph == 0 || glyph >= 0xFFFF ? kMissing : static_cast<uint16_t>(glyph);
    }
  }
  return kMissing;
}

int GdiFace::Advance(uint16_t glyph) {
  const auto it = advances_.find(glyph);
  if (it != advances_.end()) return it->second;
  int advance = 0;
  if (font_ != nullptr) {
    Select();
    GLYPHMETRICS gm{};
    if (GetGlyphOutlineW(Dc(device_), glyph, GGO_METRICS | GGO_GLYPH_INDEX, &gm, 0, nullptr,
                         &kIdentity) != GDI_ERROR) {
      advance = gm.gmCellIncX;
    }
  }
  advances_.emplace(glyph, advance);
  return advance;
}

// The pairs are read from the font's own kern table (its first horizontal
// format-0 subtable, the one GDI's kerning pairs come from) rather than
// through GetKerningPairsW, which hands over thousands of pairs per size.
void GdiFace::LoadKerning() {
  kerningLoaded_ = true;
  if (font_ == nullptr || unitsPerEm_ <= 0) return;
  Select();
  const DWORD size = GetFontData(Dc(device_), kKernTag, 0, nullptr, 0);
  if (size == GDI_ERROR || size < 4) return;
  kern_.resize(size);
  if (GetFontData(Dc(device_), kKernTag, 0, kern_.data(), size) != size || ReadU16(kern_, 0) != 0) {
    kern_.clear();
    return;
  }
  const size_t tables = ReadU16(kern_, 2);
  size_t at = 4;
  for (size_t t = 0; t < tables && at + 14 <= kern_.size(); ++t) {
    const size_t length = ReadU16(kern_, at + 2);
    const uint16_t coverage = ReadU16(kern_, at + 4);
    // Format 0, horizontal, kerning values (not minimums), not cross-stream.
    if ((coverage >> 8) == 0 && (coverage & 0x0F) == 0x01) {
      const size_t pairs = ReadU16(kern_, at + 6);
      if (at + 14 + pairs * 6 <= kern_.size()) {
        kernPairs_ = at + 14;
        kernPairCount_ = pairs;
      }
      return;
    }
    if (length < 6) return;
    at += length;
  }
}

int GdiFace::Kerning(uint16_t left, uint16_t right) {
  if (!kerningLoaded_) LoadKerning();
  if (kernPairCount_ == 0) return 0;
  const uint32_t key = static_cast<uint32_t>(left) << 16 | right;
  size_t low = 0, high = kernPairCount_;
  while (low < high) {
    const size_t mid = (low + high) / 2;
    const size_t pair = kernPairs_ + mid * 6;
    const uint32_t at = ReadU32(kern_, pair);
    if (at < key) {
      low = mid + 1;
    } else if (at > key) {
      high = mid;
    } else {
      // Design units scaled to the em, rounded to whole pixels.
      const auto value = static_cast<int16_t>(ReadU16(kern_, pair + 4));
      const int64_t scaled = int64_t{value} * em_;
      const int64_t half = unitsPerEm_ / 2;
      return static_cast<int>(scaled >= 0 ? (scaled + half) / unitsPerEm_
                                          : -((-scaled + half) / unitsPerEm_));
    }
  }
  return 0;
}

const GdiGlyphMask& GdiFace::Mask(uint16_t glyph, size_t& bytesAdded) {
  const auto it = masks_.find(glyph);
  if (it != masks_.end()) return it->second;
  GdiGlyphMask& mask = masks_[glyph];
  if (font_ == nullptr) return mask;
  Select();
  GLYPHMETRICS gm{};
  const DWORD size = GetGlyphOutlineW(Dc(device_), glyph, GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX, &gm,
                                      0, nullptr, &kIdentity);
  if (size == GDI_ERROR || size == 0) return mask;  // no outline (a blank)
  std::vector<uint8_t> levels(size);
  if (GetGlyphOutlineW(Dc(device_), glyph, GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX, &gm, size,
                       levels.data(), &kIdentity) == GDI_ERROR) {
    return mask;
  }
  // Rows of grey levels 0..64, each padded to a multiple of four bytes.
  const size_t pitch = (gm.gmBlackBoxX + 3) & ~size_t{3};
  const auto width = static_cast<int>(gm.gmBlackBoxX);
  const auto height = static_cast<int>(gm.gmBlackBoxY);
  if (width <= 0 || height <= 0 || pitch * static_cast<size_t>(height) > levels.size()) return mask;
  mask.left = gm.gmptGlyphOrigin.x;
  mask.top = gm.gmptGlyphOrigin.y;
  mask.width = width;
  mask.height = height;
  mask.coverage.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = levels.data() + pitch * static_cast<size_t>(y);
    uint8_t* out = mask.coverage.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x)
      out[x] = static_cast<uint8_t>((std::min<unsigned>(in[x], 64) * 255 + 32) / 64);
  }
  bytesAdded += mask.coverage.size() + sizeof(GdiGlyphMask);
  return mask;
}

GdiFace::Realization GdiFace::Realize() {
  Realization result;
  if (font_ == nullptr) return result;
  static const auto realizationInfo =
      Gdi32Call<GetFontRealizationInfoCall>("GetFontRealizationInfo");
  static const auto fileInfo = Gdi32Call<GetFontFileInfoCall>("GetFontFileInfo");
  if (realizationInfo == nullptr) return result;
  Select();
  FontRealizationInfo info{};
  info.size = sizeof info;
  if (!realizationInfo(Dc(device_), &info)) return result;
  result.syntheticBold = (info.simulations & 1) != 0;
  result.syntheticItalic = (info.simulations & 2) != 0;
  if (fileInfo == nullptr) return result;
  // FILETIME, LARGE_INTEGER, then the path.
  std::vector<uint8_t> buffer(16 + sizeof(wchar_t) * 1024);
  SIZE_T needed = 0;
  if (!fileInfo(info.instanceId, 0, buffer.data(), buffer.size(), &needed)) {
    if (needed <= buffer.size()) return result;
    buffer.resize(needed);
    if (!fileInfo(info.instanceId, 0, buffer.data(), buffer.size(), &needed)) return result;
  }
  const auto* path = reinterpret_cast<const wchar_t*>(buffer.data() + 16);
  result.file.assign(path, wcsnlen(path, (buffer.size() - 16) / sizeof(wchar_t)));
  return result;
}

}  // namespace vark::text
