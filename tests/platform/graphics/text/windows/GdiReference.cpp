#include "tests/platform/graphics/text/windows/GdiReference.h"

#include <algorithm>
#include <cstdint>
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

Drawn Draw(const std::string& family, int height, const std::string& text, int x, int width,
           int heightPx) {
  FontIn font(family, height, false);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -heightPx;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(font.Dc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  Drawn drawn;
  if (bitmap == nullptr) return drawn;
  HGDIOBJ old = SelectObject(font.Dc(), bitmap);
  auto* pixels = static_cast<uint32_t*>(bits);
  std::fill(pixels, pixels + static_cast<size_t>(width) * heightPx, 0x00FFFFFFu);
  SetTextColor(font.Dc(), 0);
  SetBkMode(font.Dc(), TRANSPARENT);
  SetTextAlign(font.Dc(), TA_UPDATECP);
  MoveToEx(font.Dc(), x, 0, nullptr);
  const std::wstring wide = os::win32::Widen(text);
  ExtTextOutW(font.Dc(), 0, 0, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
  POINT at{};
  GetCurrentPositionEx(font.Dc(), &at);
  GdiFlush();
  drawn.advance = at.x - x;
  drawn.columnInk.assign(static_cast<size_t>(width), 0);
  for (int row = 0; row < heightPx; ++row) {
    for (int column = 0; column < width; ++column) {
      drawn.columnInk[static_cast<size_t>(column)] +=
          255 - static_cast<int>((pixels[static_cast<size_t>(row) * width + column] >> 16) & 0xFF);
    }
  }
  SelectObject(font.Dc(), old);
  DeleteObject(bitmap);
  return drawn;
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
