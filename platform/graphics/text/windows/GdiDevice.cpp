#include "platform/graphics/text/windows/GdiDevice.h"

#include <algorithm>

#include "platform/os/windows/CallbackErrors.h"
#include "platform/os/windows/Win32.h"

namespace vark::text {

namespace {

struct FamilyList {
  std::vector<std::wstring> families;
  os::win32::CallbackErrors errors;
};

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto& list = *reinterpret_cast<FamilyList*>(data);
  return list.errors.Run([&] {
    // Vertical faces ("@name") draw the same glyphs turned.
    if (font->lfFaceName[0] != L'@') list.families.push_back(font->lfFaceName);
  });
}

}  // namespace

GdiDevice::GdiDevice() {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc != nullptr) SetMapMode(dc, MM_TEXT);
  dc_ = dc;
}

GdiDevice::~GdiDevice() {
  if (dc_ != nullptr) DeleteDC(static_cast<HDC>(dc_));
}

std::vector<std::wstring> GdiDevice::Families() {
  if (dc_ == nullptr) return {};
  LOGFONTW all{};
  all.lfCharSet = 1;  // DEFAULT_CHARSET: every family, whatever its scripts
  FamilyList list;
  EnumFontFamiliesExW(static_cast<HDC>(dc_), &all, AddFamily, reinterpret_cast<LPARAM>(&list), 0);
  list.errors.RaiseKept();
  std::vector<std::wstring>& families = list.families;
  std::sort(families.begin(), families.end());
  families.erase(std::unique(families.begin(), families.end()), families.end());
  return std::move(families);
}

bool JoinsPrevious(char32_t cp) {
  if (cp == 0x200D || (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xE0100 && cp <= 0xE01EF)) {
    return true;
  }
  if (cp > 0xFFFF) return false;
  const auto unit = static_cast<wchar_t>(cp);
  WORD type = 0;
  return GetStringTypeW(CT_CTYPE3, &unit, 1, &type) && (type & C3_NONSPACING) != 0;
}

}  // namespace vark::text
