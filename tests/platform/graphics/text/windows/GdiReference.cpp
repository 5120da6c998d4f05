#include "tests/platform/graphics/text/windows/GdiReference.h"

#include <cwchar>

#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::testing::gdi {

namespace {

constexpr const wchar_t* kSystemLinkKey =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";

// A memory device context with the font selected, released at the end.
class FontIn {
 public:
  FontIn(const std::string& family, int height, bool bold) : dc_(CreateCompatibleDC(nullptr)) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = 1;  // DEFAULT_CHARSET
    lf.lfQuality = ANTIALIASED_QUALITY;
    std::wcsncpy(lf.lfFaceName, os::win32::Widen(family).c_str(), LF_FACESIZE - 1);
    font_ = CreateFontIndirectW(&lf);
    old_ = SelectObject(dc_, font_);
  }
  ~FontIn() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
    DeleteDC(dc_);
  }
  FontIn(const FontIn&) = delete;
  FontIn& operator=(const FontIn&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

}  // namespace

Extent Measure(const std::string& family, int height, bool bold, const std::string& text) {
  FontIn font(family, height, bold);
  const std::wstring wide = os::win32::Widen(text);
  Extent extent;
  GCP_RESULTSW results{};
  results.lStructSize = sizeof results;
  results.nGlyphs = static_cast<UINT>(wide.size());
  const DWORD size = GetCharacterPlacementW(font.Dc(), wide.c_str(), static_cast<int>(wide.size()),
                                            0, &results, GCP_USEKERNING);
  extent.width = LOWORD(size);
  SIZE plain{};
  GetTextExtentPoint32W(font.Dc(), wide.c_str(), static_cast<int>(wide.size()), &plain);
  extent.plainWidth = plain.cx;
  TEXTMETRICW tm{};
  GetTextMetricsW(font.Dc(), &tm);
  extent.ascent = tm.tmAscent;
  extent.descent = tm.tmDescent;
  return extent;
}

SystemLink::SystemLink(const std::string& face, const std::vector<std::string>& entries)
    : face_(face) {
  std::wstring list;
  for (const std::string& entry : entries) {
    list += os::win32::Widen(entry);
    list.push_back(L'\0');
  }
  list.push_back(L'\0');
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSystemLinkKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExW(key, os::win32::Widen(face).c_str(), 0, REG_MULTI_SZ,
                 reinterpret_cast<const BYTE*>(list.data()),
                 static_cast<DWORD>(list.size() * sizeof(wchar_t)));
  RegCloseKey(key);
}

SystemLink::~SystemLink() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemLinkKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  RegDeleteValueW(key, os::win32::Widen(face_).c_str());
  RegCloseKey(key);
}

bool HasGlyph(const std::string& family, char32_t cp) {
  if (cp > 0xFFFF) return false;
  FontIn font(family, -16, false);
  const auto unit = static_cast<wchar_t>(cp);
  WORD glyph = 0xFFFF;
  return GetGlyphIndicesW(font.Dc(), &unit, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
         glyph != 0xFFFF && glyph != 0;
}

}  // namespace vark::testing::gdi
